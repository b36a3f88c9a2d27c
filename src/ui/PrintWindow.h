#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

#include "Side.h"

class QPrinter;
class QPushButton;
class QTextBrowser;

namespace velmora {

class Dialogs;

// "Εκτύπωση": the statement's page as it will print, a button that prints it
// through the print dialog and one that saves it as a PDF file. Made once,
// hidden, and shown again for every print.
class PrintWindow : public QDialog {
  Q_OBJECT

 public:
  // Makes the printer ready as the user wants it; false when the user cancelled.
  using PrinterChoice = std::function<bool(QPrinter& printer, QWidget* parent)>;

  explicit PrintWindow(Dialogs& dialogs, QWidget* parent = nullptr);

  // Takes the side's page written at path (Windows-1253); on failure the
  // system's reason, and the window keeps the page it had.
  std::optional<QString> LoadPage(const QString& path, Side side);
  // Centred on the screen, modal over the whole program; returns at once.
  void ShowModal();
  // The system's print dialog unless replaced (tests print to a file).
  void SetPrinterChoice(PrinterChoice choice) { choosePrinter_ = std::move(choice); }

  // Shown when printing failed.
  static QString PrintFailedMessage();

 private:
  void onPrint();
  void onSaveAsPdf();

  Dialogs& dialogs_;
  PrinterChoice choosePrinter_;
  QTextBrowser* pageView_;
  QPushButton* printButton_;
  QPushButton* pdfButton_;
  QString pageHtml_;
  QString pageFolder_;
  Side side_ = Side::Customers;
};

}  // namespace velmora
