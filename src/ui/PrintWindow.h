#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "Side.h"
#include "StatementPage.h"

class QLabel;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace velmora {

class Dialogs;
class PageView;
class ProgressBox;
class Questions;
class StatementLayout;
class StatementPages;

// "Εκτύπωση": the statement's pages as they will print, with page navigation and
// zoom, a button that prints them through the print dialog and one that saves
// them as a PDF file. Made once, hidden, and shown again for every print; what a
// showing holds is let go when the window closes.
class PrintWindow : public QDialog {
  Q_OBJECT

 public:
  // Makes the printer ready as the user wants it; false when the user cancelled.
  using PrinterChoice = std::function<bool(QPrinter& printer, QWidget* parent)>;

  // PDF files are named through questions, which starts the dialog where PDFs
  // were last saved.
  PrintWindow(Dialogs& dialogs, Questions& questions, QWidget* parent = nullptr);
  ~PrintWindow() override;

  // Takes the statement that the side's page was made from; its lines must stay
  // as they are while the window is shown.
  void LoadStatement(const StatementPageInput& input);
  // Centred on the screen, modal over the whole program; returns at once.
  void ShowModal();
  // The system's print dialog unless replaced (tests print to a file).
  void SetPrinterChoice(PrinterChoice choice) { choosePrinter_ = std::move(choice); }

  // Shown when printing failed.
  static QString PrintFailedMessage();

 protected:
  void hideEvent(QHideEvent* event) override;
  // Not closed while a job paints its pages.
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void onPrint();
  void onSaveAsPdf();
  void ShowPageNumber(int index);
  void Release();

  Dialogs& dialogs_;
  Questions& questions_;
  PrinterChoice choosePrinter_;
  PageView* pageView_;
  QSpinBox* pageNumber_;
  QLabel* pageCount_;
  QPushButton* printButton_;
  QPushButton* pdfButton_;
  ProgressBox* progress_;
  StatementPageInput input_;
  std::unique_ptr<StatementLayout> layout_;
  std::unique_ptr<StatementPages> pages_;
  bool working_ = false;
};

}  // namespace velmora
