#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "HeaderLine.h"
#include "PreSaveChecks.h"

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
  Q_OBJECT

 public:
  FilerPanel(Dialogs& dialogs, Environment& environment, QWidget* parent = nullptr);

  // Sets every field from the header; an office code that is not in the list
  // leaves no office chosen.
  void FillHeaderFields(const HeaderFields& header);
  // The fields as the header record holds them; the office code is empty while
  // no office is chosen. nullopt when a field holds a character that the
  // header cannot (the fields let none in).
  std::optional<HeaderFields> CurrentHeader() const;
  // The filer's tax number as typed.
  Cp1253Text TaxNumber() const;
  bool DebitInvoices() const;
  void SetDebitInvoices(bool debit);
  // Puts the focus on the field that a failed check names.
  void FocusField(FilerFocus field);

 signals:
  // Every character typed into a field, and every choice of office or kind.
  void modified();
  // Any change of a field, the office or the kind, the program's own included.
  void changed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Filter { Any, Digits, InstallationType };
  struct FilerField;

  QLineEdit* AddField(const FilerField& entry);
  void Refuse(QLineEdit* field, const QString& message, bool beep);
  // Leaving the year and the filer's tax number: a wrong value keeps the focus.
  void CheckYearOnLeaving();
  void CheckTaxNumberOnLeaving();

  Dialogs& dialogs_;
  Environment& environment_;
  // The text fields, by the header field each one holds (no office among them).
  std::array<QLineEdit*, kHeaderFieldCount> fields_{};
  // The offices by name, each with its code as the item's data.
  QComboBox* taxOfficeList_;
  QLabel* installationTypeNote_;
  QRadioButton* debitInvoicesButton_;
  QRadioButton* creditBalancesButton_;
  bool returningFocus_ = false;
};

}  // namespace velmora
