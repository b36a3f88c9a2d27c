#pragma once

#include <QWidget>
#include <functional>

class QPushButton;
class QTextBrowser;
class QTextDocument;

namespace velmora {

// "Οδηγίες εφαρμογής": the help pages that ship with the program, one topic at a
// time, beside the list of topics. A window of its own, beside the main one.
class ManualWindow : public QWidget {
  Q_OBJECT

 public:
  enum class PrintResult { Printed, Cancelled, Failed };
  // Puts a page on paper, normally through the print dialog.
  using PagePrinter = std::function<PrintResult(const QTextDocument& page, QWidget* parent)>;

  // helpFolder holds setup.htm, usermanual.htm and oroi.htm.
  explicit ManualWindow(const QString& helpFolder, QWidget* parent = nullptr);

  // The first topic, in a window brought back to view if it was minimised.
  void ShowFirstTopic();
  void SetPagePrinter(PagePrinter printer) { printer_ = std::move(printer); }

 signals:
  void printFailed();

 private:
  void ShowTopic(int topic);
  void Print();

  QString helpFolder_;
  QTextBrowser* page_;
  PagePrinter printer_;
  bool placed_ = false;
};

}  // namespace velmora
