#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>

#include "Dialogs.h"
#include "FormKeeping.h"
#include "LineOrder.h"
#include "Questions.h"
#include "Side.h"
#include "StatementProblems.h"
#include "StatementCommands.h"
#include "StatementListener.h"

class QAction;
class QMenu;
class QLineEdit;
class QUrl;
class QTabWidget;

namespace velmora {

class Environment;
class FilerPanel;
class FindDialog;
class LinesPage;
class ManualWindow;
class PrintWindow;
class ProblemsPanel;
class ProgressBox;
class RecordGrid;
class RecordTableModel;
class Settings;
class Statement;
class WaitBox;

// The program's one window. It shows the statement (which outlives it), gathers
// what the user typed, runs the statement's commands and shows their outcome;
// the commands reach the user back through the Questions it answers, and the
// statement tells it what changed as its StatementListener.
class MainWindow : public QMainWindow, private Questions, private StatementListener {
  Q_OBJECT

 public:
  MainWindow(Statement& statement, Dialogs& dialogs, Environment& environment, Settings& settings,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // At start: offers back what copies that ended without closing left behind.
  void OfferRecovery(std::vector<CopyFolder> abandoned);
  // Opens a submission file as "Άνοιγμα" does once the file is chosen: one
  // given on the command line, one from the recent files.
  void OpenFile(const QString& path);
  // As "Έξοδος" without its questions, when the system asks the program to end:
  // unsaved changes are kept for recovery, a saved statement's folder goes.
  void CloseWithoutQuestions();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Commands.
  void onNew();
  void onOpen();
  bool onSave();
  bool onSaveAs();
  void onPrintStatement(Side side);
  void onPageChanged(int index);
  void onZipCopy();
  void onCreateShortcut();
  void onManual();
  // Shows the page in the browser, or tells the address when no browser starts.
  void OpenLink(const QUrl& url);
  void onAbout();
  void onSort(Side side, SortKey key);
  void onFind();
  void onFindAccepted();
  void onImport(const std::optional<QString>& droppedFile = std::nullopt);
  // A file dropped on the window: a spreadsheet is imported, any other file opened.
  void onFileDropped(const QString& path);
  void onExport();
  void onCheckStatement();
  void onProblemChosen(const StatementProblem& problem);
  void onOpenRecent(const QString& path);

  // Questions, answered with the window's dialogs and grids.
  Answer AskYesNo(const std::string& question) override;
  Answer AskYesNoCancel(const std::string& question) override;
  std::optional<std::size_t> AskChoice(const std::string& question,
                                       const std::vector<std::string>& captions) override;
  void Tell(const std::string& message, bool beep) override;
  void TellWithDetails(const std::string& message, const std::string& details) override;
  void Warn(const std::string& message) override;
  RecoveryChoice ChooseRecovery(const std::vector<std::string>& lastChanges) override;
  void FocusFilerField(FilerFocus field) override;
  std::optional<std::string> ChooseSaveFile(FileKind kind, const Cp1253Text& proposedName,
                                            const std::string& filter,
                                            const std::string& startFolder) override;
  std::optional<std::string> ChooseOpenFile(FileKind kind, const std::string& filter) override;
  bool StorePendingLine(Side side) override;
  void ShowBusy(bool busy) override;
  bool RunStoppable(std::function<void()> work, std::shared_ptr<std::atomic<bool>> stop) override;
  bool ReportProgress(std::size_t done, std::size_t total) override;

  // The statement's news, shown.
  void LineRefused(Side side, const LineVerdict& verdict) override;
  void LinesChanged(Side side) override;
  void TableReplaced(Side side) override;
  void TotalsProblem(const std::string& message) override;

  void BuildMenu();
  void BuildStartPanel();
  void ConnectPage(LinesPage* page);
  void SetStatementCommandsEnabled(bool enabled);
  // The start panel over the whole window, its picture and text centred.
  void PlaceStartPanel();
  // A character typed into the statement: it now has unsaved changes.
  void MarkModified();
  // The title: the statement's file, and the mark of unsaved changes.
  void ShowTitle();
  // The dialog's first folder: the one asked for, else where the kind's last
  // file was chosen, else the documents folder; folders that have gone are passed over.
  QString DialogFolder(FileKind kind, const std::string& startFolder) const;
  void RememberFolder(FileKind kind, const QString& chosenPath);
  // The statement's file goes to the top of the recent files.
  void RememberRecentFile();
  void FillRecentMenu();
  LinesPage* Page(Side side) const { return sidePages_[SideIndex(side)]; }
  RecordTableModel* Model(Side side) const { return models_[SideIndex(side)]; }
  // What the user typed besides the lines; nullopt after telling why it cannot
  // be taken.
  std::optional<StatementForm> GatherForm();
  // The same, without a word: nullopt when a text cannot be taken.
  std::optional<StatementForm> FormOnScreen() const;
  // Puts the form where a recovery after a crash finds it.
  void KeepForm();
  // Shows what an opening left on view, and remembers the file opened.
  void ShowOpened(const ReplacementOutcome& outcome);
  // Shows a statement that replaced the one on view.
  void ShowStatement(const ShownStatement& shown);
  void ShowAmounts(const StatementForm& form);
  void ShowLineCount(Side side);
  bool IsYes(const QString& question);
  void SetTabPictures(int current);
  // The amounts typed beside the grids: retail sales, and each side's
  // transactions without itemisation.
  std::array<QLineEdit*, 3> AmountBoxes() const;
  // Puts that page on view without the check of a page change.
  void SwitchPageQuietly(int index);
  // The page of that side on view, its grid current and focused.
  void ShowPageOf(Side side);
  Today CurrentDay() const;
  void Shutdown();

  Statement& statement_;
  FormKeeping formKeeping_;
  Dialogs& dialogs_;
  Environment& environment_;
  Settings& settings_;
  FilerPanel* filerPanel_;
  QTabWidget* pages_;
  // Each side's, customers first (SideIndex).
  std::array<RecordTableModel*, 2> models_{};
  std::array<LinesPage*, 2> sidePages_{};
  QWidget* startPanel_;
  WaitBox* waitBox_;
  PrintWindow* printWindow_;
  FindDialog* findDialog_;
  ProgressBox* progressBox_;
  ProblemsPanel* problemsPanel_;
  QAction* newAction_;
  QAction* openAction_;
  QAction* saveAction_;
  QAction* saveAsAction_;
  QMenu* recentMenu_;
  QAction* exitAction_;
  QAction* importAction_;
  QAction* exportAction_;
  QAction* checkAction_;
  QMenu* printMenu_;
  QAction* printCustomersAction_;
  QAction* printSuppliersAction_;
  QMenu* toolsMenu_;
  QAction* findAction_;
  QMenu* helpMenu_;
  // Made at its first showing, kept for the program's life.
  std::unique_ptr<ManualWindow> manualWindow_;
  bool switchingPage_ = false;
  bool activeBeforeBusy_ = false;
  bool shutDown_ = false;
};

}  // namespace velmora
