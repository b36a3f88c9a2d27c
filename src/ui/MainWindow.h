#pragma once

#include <QMainWindow>
#include <optional>

#include "Dialogs.h"
#include "FilerPanel.h"
#include "LinesPage.h"
#include "PreSaveChecks.h"
#include "Statement.h"
#include "TFixedFormatDataSet.h"

class QAction;
class QMenu;
class QTabWidget;
class QLabel;

namespace velmora {

class Environment;
class WaitBox;

// The program's one window: it owns the statement being edited (filer fields,
// both line tables, the amounts) and every command.
class MainWindow : public QMainWindow {
  // First of all members: the names below refer into it.
  Statement statement_;

 public:
  MainWindow(Dialogs& dialogs, Environment& environment, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The statement's state.
  bool StatementModified = false;
  bool SaveChecksPassed = true;
  bool LinePostOk = true;
  bool& NewCustomerLine = statement_.newCustomerLine;
  bool& NewSupplierLine = statement_.newSupplierLine;

  // Customer lines, supplier lines, and the snapshot copies of each.
  TFixedFormatDataSet& FixedFormatDataSet1 = statement_.customers;
  TFixedFormatDataSet& FixedFormatDataSet2 = statement_.suppliers;
  TFixedFormatDataSet& FixedFormatDataSet3 = statement_.customerSnapshot;
  TFixedFormatDataSet& FixedFormatDataSet4 = statement_.supplierSnapshot;

  FilerPanel* Filer;
  QTabWidget* PageControl1;
  LinesPage* TabSheet1;
  LinesPage* TabSheet2;
  QWidget* Panel2;
  QAction* N1;  // New
  QAction* N2;  // Open
  QAction* N7;  // Save As
  QAction* N3;  // Exit
  QMenu* PrintMenu;
  QAction* N15;
  QAction* N16;
  QAction* N17;  // Find
  QAction* Excel1;
  QAction* N9;  // desktop shortcut
  QAction* zip1;
  QAction* e1;   // the authority's site
  QAction* N20;  // online submission (hidden)
  QAction* N13;  // user manual
  QAction* N12;  // about

  const WorkingFiles& Files() const { return statement_.Files(); }

  Dialogs::Answer AskUser(const QString& message, Dialogs::Buttons buttons,
                          const QStringList& captions);
  void ResetStatement();
  // Stores the pending line of the grid; false when its checks refused it.
  bool CommitPendingLine(DBGrid* grid);

  void N1Click();
  void N2Click();
  // The checks that come before a save; false after showing why.
  bool CheckBeforeSave();
  // Save As; true only when the submission file was written.
  bool N7Click();
  void N13Click();
  void PageControl1Change(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenu();
  void BuildStartPanel();
  void SetStatementCommandsEnabled(bool enabled);
  LinesPage* Page(Side side) const { return side == Side::Customers ? TabSheet1 : TabSheet2; }
  void ReportSaveFailure(const SaveCheckFailure& failure);
  SubmissionStatement CurrentStatement() const;
  void LoadStatement(OpenedStatement& opened);
  void ShowTotals(LinesPage* page, const TotalsResult& result);
  static std::optional<QChar> GridKeyPress(DBGrid* grid, int column, QChar typed,
                                           const QString& text);
  void FillHeaderFields();
  void ShowError(const std::exception& error);
  void SetTabPictures(int current);
  bool CloseQuery();
  void Shutdown();

  Dialogs& dialogs_;
  Environment& environment_;
  RecordTableModel* customerModel_;
  RecordTableModel* supplierModel_;
  WaitBox* waitBox_;
  int shownPage_ = 0;
  bool switchingPage_ = false;
  bool shutDown_ = false;
};

}  // namespace velmora
