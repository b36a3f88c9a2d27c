#pragma once

#include <QWidget>
#include <functional>

#include "HeaderLine.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace velmora {

class Dialogs;
class Environment;

// The filer's details at the top of the main window: the header fields with
// their key filters, the tax office list and the statement kind.
class FilerPanel : public QWidget {
 public:
  FilerPanel(Dialogs& dialogs, Environment& environment, QWidget* parent = nullptr);

  // Every character typed into a field, and every choice of office or kind.
  std::function<void()> OnModified;

  void FillHeaderFields(const HeaderFields& header);
  // The fields as the header record holds them (Windows-1253).
  HeaderFields CurrentHeader() const;
  // Neither the office names nor the hidden codes have a selection.
  void ClearOffice();
  int OfficeIndex() const;
  bool DebitInvoices() const;
  void SetDebitInvoices(bool debit);

  // Leaving the year and the filer's tax number: a wrong value keeps the focus.
  void YearOfDataExit();
  void AFMExit();

  QLineEdit* YearOfData;
  QComboBox* ComboBox1;
  QComboBox* DOYCodes;
  QLineEdit* Edit1;
  QLineEdit* CompanyName;
  QLineEdit* AFM;
  QLineEdit* AntikeimenoErgasion;
  QLineEdit* Town;
  QLineEdit* Street;
  QLineEdit* Number;
  QLineEdit* TK;
  QLineEdit* Tel;
  QLineEdit* Fax;
  QLineEdit* email;
  QLineEdit* Egatastash;
  QLabel* EgatastashNote;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Filter { Any, Digits, InstallationType };

  QLineEdit* AddField(const char* name, const char* label, int maxLength, Filter filter, int row,
                      int column, int span = 1);
  void Refuse(QLineEdit* field, const QString& message, bool beep);
  void Modified();

  Dialogs& dialogs_;
  Environment& environment_;
  bool returningFocus_ = false;
};

}  // namespace velmora
