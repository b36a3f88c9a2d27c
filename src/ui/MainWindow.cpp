#include "MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include "AmountBox.h"
#include "AppTexts.h"
#include "BusyIndicator.h"
#include "Environment.h"
#include "FocusReasons.h"
#include "GreekText.h"
#include "HeaderLine.h"
#include "InputGuard.h"
#include "KeyFilters.h"
#include "LineTotals.h"
#include "MouseWheelFilter.h"
#include "PreSaveChecks.h"
#include "SubmissionFileName.h"
#include "TextRules.h"
#include "WaitBox.h"

namespace velmora {

namespace {

constexpr int kClientWidth = 908;
constexpr int kClientHeight = 647;
// The authority's public site, shown in the menu and opened by it.
const char* const kAuthorityHost = "www.quorvane.gr";

QIcon TabPicture(bool current) {
  return QIcon(current ? QStringLiteral(":/pictures/tab-current.png")
                       : QStringLiteral(":/pictures/tab-other.png"));
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, Environment& environment, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      statement_(environment.WorkingBaseFolder().toStdString()),
      dialogs_(dialogs),
      environment_(environment) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(WindowCaption());
  waitBox_ = new WaitBox(this);
  waitBox_->hide();

  auto* central = new QWidget(this);
  central->setFixedSize(kClientWidth, kClientHeight);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  Filer = new FilerPanel(dialogs_, environment_, central);
  layout->addWidget(Filer);

  customerModel_ = new RecordTableModel(FixedFormatDataSet1,
                                        LinesPage::Columns(LinesPage::Side::Customers), this);
  supplierModel_ = new RecordTableModel(FixedFormatDataSet2,
                                        LinesPage::Columns(LinesPage::Side::Suppliers), this);
  PageControl1 = new QTabWidget(central);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  TabSheet1 = new LinesPage(LinesPage::Side::Customers, customerModel_, PageControl1);
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  TabSheet2 = new LinesPage(LinesPage::Side::Suppliers, supplierModel_, PageControl1);
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  PageControl1->addTab(TabSheet1, TabPicture(true), QStringLiteral("ΠΕΛΑΤΕΣ"));
  PageControl1->addTab(TabSheet2, TabPicture(false), QStringLiteral("ΠΡΟΜΗΘΕΥΤΕΣ"));
  layout->addWidget(PageControl1, 1);
  setCentralWidget(central);

  for (LinesPage* page : {TabSheet1, TabSheet2}) {
    RecordTableModel* model = page->grid->Model();
    model->ReportError = [this](const std::exception& error) { ShowError(error); };
    page->grid->OnTyped = [this] { StatementModified = true; };
    page->grid->KeyPress = [grid = page->grid](int column, QChar typed, const QString& text) {
      return GridKeyPress(grid, column, typed, text);
    };
    page->grid->Beep = [this] { dialogs_.Beep(); };
    page->grid->ConfirmDelete = [this] {
      return AskUser(QStringLiteral("Διαγραφή εγγραφής;"), Dialogs::Yes | Dialogs::No,
                     {QStringLiteral("Ναι"), QStringLiteral("Όχι")}) == Dialogs::Answer::Yes;
    };
    page->navigator->BeforeAction = [this](DBGrid::Action action) {
      if (action != DBGrid::Action::Delete) return true;
      return AskUser(QStringLiteral("Είστε σίγουρος;"), Dialogs::Yes | Dialogs::No,
                     {QStringLiteral("Ναι"), QStringLiteral("Όχι")}) != Dialogs::Answer::No;
    };
    auto markTyped = [this] { StatementModified = true; };
    auto beep = [this] { dialogs_.Beep(); };
    for (QLineEdit* amount : {page->retailSales, page->withoutItemisation}) {
      if (!amount) continue;
      new InputGuard(
          amount,
          [](QChar typed, const QString& text) -> std::optional<QChar> {
            return DecimalKeyFilter(typed.unicode(), text.toStdString()) ? std::optional(typed)
                                                                         : std::nullopt;
          },
          IsDecimalText, markTyped, beep);
      amount->installEventFilter(this);
    }
    // The totals are the program's to write, never the user's.
    for (QLineEdit* total : {page->invoiceTotal, page->valueTotal}) {
      new InputGuard(
          total, [](QChar, const QString&) -> std::optional<QChar> { return std::nullopt; },
          [](const QString&) { return false; }, nullptr, beep);
    }
  }
  Filer->OnModified = [this] { StatementModified = true; };

  BuildMenu();
  BuildStartPanel();
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [this] { N13Click(); });
  connect(PageControl1, &QTabWidget::currentChanged, this,
          [this](int index) { PageControl1Change(index); });

  // Start-up.
  environment_.SetCapsLock(true);
  qApp->installEventFilter(new MouseWheelFilter(this));
  SetStatementCommandsEnabled(false);
  statement_.FilerAfm = [this] { return ToCp1253Lossless(Filer->AFM->text()); };
  statement_.OnLineRefused = [this](Side, const LineVerdict& verdict) {
    dialogs_.Beep();
    dialogs_.ShowMessage(QString::fromStdString(verdict.message));
    LinePostOk = false;
  };
  statement_.OnLinesChanged = [this](Side side, int lineCount, const TotalsResult& totals) {
    LinePostOk = true;
    Page(side)->SetCount(lineCount);
    ShowTotals(Page(side), totals);
  };
}

MainWindow::~MainWindow() {
  if (!shutDown_) Shutdown();
  // The grids and their models go while the statement they show still exists:
  // Qt would delete them only after the window's own members.
  delete takeCentralWidget();
  delete customerModel_;
  delete supplierModel_;
}

void MainWindow::BuildMenu() {
  auto* file = menuBar()->addMenu(QStringLiteral("Αρχείο"));
  N1 = file->addAction(QStringLiteral("Νέο"), this, [this] { N1Click(); });
  N2 = file->addAction(QStringLiteral("Άνοιγμα"), this, [this] { N2Click(); });
  N7 = file->addAction(QStringLiteral("Αποθήκευση ως..."), this, [this] { N7Click(); });
  file->addSeparator();
  N3 = file->addAction(QStringLiteral("Έξοδος"), this, [this] { close(); });

  PrintMenu = menuBar()->addMenu(QStringLiteral("Εκτύπωση"));
  N15 = PrintMenu->addAction(QStringLiteral("Συγκεντρωτική κατάσταση Πελατών"));
  N16 = PrintMenu->addAction(QStringLiteral("Συγκεντρωτική κατάσταση Προμηθευτών"));

  auto* tools = menuBar()->addMenu(QStringLiteral("Εργαλεία"));
  N17 = tools->addAction(QStringLiteral("Εύρεση..."));
  N17->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  tools->addSeparator();
  Excel1 = tools->addAction(QStringLiteral("Εισαγωγή στοιχείων από Excel"));
  tools->addSeparator();
  N9 = tools->addAction(QStringLiteral("Δημιουργία συντόμευσης στην Επιφ. Εργασίας"));
  zip1 = tools->addAction(QStringLiteral("Δημιουργία συμπιεσμένου αρχείου (zip)"));
  tools->addSeparator();
  e1 = tools->addAction(QStringLiteral("Σύνδεση με εξυπηρετητή Quorvane (%1)")
                            .arg(QString::fromLatin1(kAuthorityHost)));
  // Reached only by its shortcut: the item itself is not shown in the menu.
  N20 = new QAction(QStringLiteral("Ηλεκτρονική υποβολή αρχείου Συγκεντρωτικής Κατάστασης"), this);
  N20->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  addAction(N20);

  auto* help = menuBar()->addMenu(QStringLiteral("Βοήθεια"));
  N13 = help->addAction(QStringLiteral("Οδηγίες εφαρμογής"), this, [this] { N13Click(); });
  help->addSeparator();
  N12 = help->addAction(QStringLiteral("Σχετικά..."));
}

void MainWindow::BuildStartPanel() {
  Panel2 = new QWidget(centralWidget());
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setAutoFillBackground(true);
  Panel2->setGeometry(0, 0, kClientWidth, kClientHeight);
  auto* picture = new QLabel(Panel2);
  picture->setPixmap(QPixmap(QStringLiteral(":/pictures/start.png")));
  picture->adjustSize();
  picture->move(kClientWidth / 2 - picture->width() / 2, 50);
  auto* text = new QLabel(
      QStringLiteral("Παρακαλώ επιλέξτε 'Αρχείο' - 'Νέο' ή 'Αρχείο' - Άνοιγμα' για να ξεκινήσετε"),
      Panel2);
  QFont bold = text->font();
  bold.setBold(true);
  text->setFont(bold);
  text->adjustSize();
  text->move(kClientWidth / 2 - text->width() / 2, picture->y() + picture->height() + 100);
  Panel2->raise();
}

void MainWindow::SetStatementCommandsEnabled(bool enabled) {
  N7->setEnabled(enabled);
  PrintMenu->setEnabled(enabled);
  N17->setEnabled(enabled);
  Excel1->setEnabled(enabled);
  // While the start panel covers them, the fields cannot be reached by Tab either.
  Filer->setEnabled(enabled);
  PageControl1->setEnabled(enabled);
}

void MainWindow::ShowTotals(LinesPage* page, const TotalsResult& result) {
  if (!result.totals) {
    // The line is stored all the same; the totals keep what they showed.
    dialogs_.Beep();
    dialogs_.ShowMessage(QString::fromStdString(result.message));
    return;
  }
  page->invoiceTotal->setText(QString::fromStdString(FormatInvoiceTotal(result.totals->invoices)));
  page->valueTotal->setText(FromCp1253(FormatValueTotal(result.totals->value)));
}

std::optional<QChar> MainWindow::GridKeyPress(DBGrid* grid, int column, QChar typed,
                                              const QString& text) {
  // The filters follow the column's place in the grid, not its field: a column
  // the user dragged elsewhere takes the filter of its new place.
  const char32_t key = typed.unicode();
  bool accepted = true;
  switch (grid->horizontalHeader()->visualIndex(column)) {
    case 3:
      accepted = ZeroOneKeyFilter(key);
      break;
    case 7:
    case 8:
      accepted = DigitsOnly(key);
      break;
    case 9:
      accepted = DecimalKeyFilter(key, text.toStdString());
      break;
    default:
      break;
  }
  return accepted ? std::optional<QChar>(typed) : std::nullopt;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && IsUserLeavingField(static_cast<QFocusEvent*>(event))) {
    for (LinesPage* page : {TabSheet1, TabSheet2}) {
      for (QLineEdit* amount : {page->retailSales, page->withoutItemisation}) {
        if (amount && watched == amount) {
          const std::string normalised = NormaliseAmountBox(ToCp1253Lossless(amount->text()));
          amount->setText(FromCp1253(normalised));
        }
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

Dialogs::Answer MainWindow::AskUser(const QString& message, Dialogs::Buttons buttons,
                                    const QStringList& captions) {
  return dialogs_.AskUser(message, buttons, captions);
}

void MainWindow::FillHeaderFields() {
  try {
    Filer->FillHeaderFields(ParseHeaderLine(Files().ReadHeaderLine()));
  } catch (const std::exception&) {
    dialogs_.Beep();
    dialogs_.ShowMessage(
        QStringLiteral("Παρουσιάστηκε πρόβλημα κατά την ανάγνωση των γενικών στοιχείων"));
  }
}

void MainWindow::ResetStatement() {
  statement_.Reset();
  FillHeaderFields();
  Filer->ClearOffice();
  customerModel_->Reload();
  supplierModel_->Reload();
  for (LinesPage* page : {TabSheet1, TabSheet2}) {
    if (page->retailSales) page->retailSales->clear();
    page->withoutItemisation->clear();
    page->invoiceTotal->clear();
    page->valueTotal->clear();
  }
  Filer->SetDebitInvoices(true);
  SetStatementCommandsEnabled(true);
  Panel2->hide();
  TabSheet1->SetCount(0);
  TabSheet2->SetCount(0);
  switchingPage_ = true;
  PageControl1->setCurrentIndex(0);
  switchingPage_ = false;
  SetTabPictures(0);
  // Work starts in the lines; the filer fields are checked only once visited.
  TabSheet1->grid->setFocus();
}

void MainWindow::N1Click() {
  if (AskUser(QStringLiteral("Δημιουργία νέου αρχείου;"), Dialogs::Yes | Dialogs::No,
              {QStringLiteral("Ναι"), QStringLiteral("Όχι")}) == Dialogs::Answer::No)
    return;
  try {
    ResetStatement();
  } catch (const std::exception& error) {
    ShowError(error);
  }
}

void MainWindow::ReportSaveFailure(const SaveCheckFailure& failure) {
  QWidget* field = nullptr;
  switch (failure.focus) {
    case FilerFocus::YearOfData:
      field = Filer->YearOfData;
      break;
    case FilerFocus::AFM:
      field = Filer->AFM;
      break;
    case FilerFocus::Egatastash:
      field = Filer->Egatastash;
      break;
    case FilerFocus::ComboBox1:
      field = Filer->ComboBox1;
      break;
    case FilerFocus::None:
      break;
  }
  if (failure.beep) dialogs_.Beep();
  dialogs_.ShowMessage(QString::fromStdString(failure.message));
  if (field) field->setFocus();
}

bool MainWindow::CheckBeforeSave() {
  const HeaderFields header = Filer->CurrentHeader();
  if (auto failure = CheckFilerBeforeSave(header.year, environment_.Today().year(), header.afm,
                                          header.installationType, Filer->OfficeIndex() >= 0)) {
    ReportSaveFailure(*failure);
    return false;
  }
  if (!CommitPendingLine(TabSheet1->grid) || !CommitPendingLine(TabSheet2->grid)) return false;
  if (auto failure = statement_.CheckLines(header.afm)) {
    ReportSaveFailure(*failure);
    return false;
  }
  return true;
}

SubmissionStatement MainWindow::CurrentStatement() const {
  SubmissionStatement statement;
  statement.creditBalances = !Filer->DebitInvoices();
  statement.date = environment_.Today().toString(QStringLiteral("yyyyMMdd")).toStdString();
  statement.header = Filer->CurrentHeader();
  statement.customerLines = FixedFormatDataSet1.Lines();
  statement.supplierLines = FixedFormatDataSet2.Lines();
  statement.retailSales = ToCp1253Lossless(TabSheet1->retailSales->text());
  statement.customersWithoutItemisation = ToCp1253Lossless(TabSheet1->withoutItemisation->text());
  statement.suppliersWithoutItemisation = ToCp1253Lossless(TabSheet2->withoutItemisation->text());
  statement.customerInvoiceTotal = ToCp1253Lossless(TabSheet1->invoiceTotal->text());
  statement.customerValueTotal = ToCp1253Lossless(TabSheet1->valueTotal->text());
  statement.supplierInvoiceTotal = ToCp1253Lossless(TabSheet2->invoiceTotal->text());
  statement.supplierValueTotal = ToCp1253Lossless(TabSheet2->valueTotal->text());
  return statement;
}

bool MainWindow::N7Click() {
  SaveChecksPassed = CheckBeforeSave();
  if (!SaveChecksPassed) return false;
  const HeaderFields header = Filer->CurrentHeader();
  const QString proposal = FromCp1253(ProposeSubmissionFileName(
      header.year, header.afm, header.installationType, !Filer->DebitInvoices()));
  const QString path = dialogs_.ChooseSaveFile(environment_.DataFolder(), proposal, QString());
  if (path.isEmpty()) return false;
  if (QFileInfo::exists(path) &&
      AskUser(QString::fromStdString(OverwriteQuestion(QFileInfo(path).fileName().toStdString())),
              Dialogs::Yes | Dialogs::No,
              {QStringLiteral("Ναι"), QStringLiteral("Όχι")}) == Dialogs::Answer::No)
    return false;

  for (QLineEdit* amount : {TabSheet1->retailSales, TabSheet2->withoutItemisation})
    amount->setText(FromCp1253(NormaliseAmountBox(ToCp1253Lossless(amount->text()))));
  std::optional<WriteProblem> problem;
  {
    BusyIndicator busy(waitBox_);
    try {
      problem = Statement::Write(QFile::encodeName(path).toStdString(), CurrentStatement());
    } catch (const std::exception& error) {
      busy.Stop();
      dialogs_.ShowWarning(QStringLiteral("Η αποθήκευση σε αρχείο απέτυχε: %1")
                               .arg(QString::fromUtf8(error.what())));
      return false;
    }
  }
  if (problem) {
    dialogs_.Beep();
    dialogs_.ShowMessage(QString::fromStdString(problem->message));
    return false;
  }
  TabSheet1->grid->DoAction(DBGrid::Action::First);
  TabSheet2->grid->DoAction(DBGrid::Action::First);
  StatementModified = false;
  dialogs_.ShowMessage(QString::fromStdString(SuccessMessage()));
  return true;
}

void MainWindow::N2Click() {
  if (StatementModified) {
    const Dialogs::Answer answer =
        AskUser(QStringLiteral("Έχετε κάνει αλλαγές. Θέλετε να αποθηκευτούν σε αρχείο;"),
                Dialogs::Yes | Dialogs::No | Dialogs::Cancel,
                {QStringLiteral("Ναι"), QStringLiteral("Όχι"), QStringLiteral("Άκυρο")});
    if (answer == Dialogs::Answer::Cancel) return;
    if (answer == Dialogs::Answer::Yes && !N7Click()) return;
  }
  const QString path =
      dialogs_.ChooseOpenFile(environment_.DataFolder(), QStringLiteral("Όλα τα αρχεία (*)"));
  if (path.isEmpty()) return;
  auto result = Statement::Read(QFile::encodeName(path).toStdString());
  if (const auto* failure = std::get_if<ReadFailure>(&result)) {
    // The whole file was checked before anything changed: the statement stays.
    if (failure->beep) dialogs_.Beep();
    QString message = QString::fromStdString(failure->message);
    if (failure->lineNumber > 0)
      message += QStringLiteral("\n(γραμμή %1 του αρχείου)").arg(failure->lineNumber);
    dialogs_.ShowMessage(message);
    return;
  }
  try {
    LoadStatement(std::get<OpenedStatement>(result));
  } catch (const std::exception& error) {
    ShowError(error);
    try {
      ResetStatement();
    } catch (const std::exception& resetError) {
      ShowError(resetError);
    }
  }
}

void MainWindow::LoadStatement(OpenedStatement& opened) {
  // The files first: should they fail, nothing on screen has changed yet.
  statement_.Load(opened);
  TabSheet1->retailSales->setText(FromCp1253(opened.retailSales));
  TabSheet1->withoutItemisation->setText(FromCp1253(opened.customersWithoutItemisation));
  TabSheet2->withoutItemisation->setText(FromCp1253(opened.suppliersWithoutItemisation));
  // The kind is chosen as a click would choose it: a change counts as an edit.
  if (opened.creditBalances == Filer->DebitInvoices()) {
    Filer->SetDebitInvoices(!opened.creditBalances);
    StatementModified = true;
  }
  FillHeaderFields();
  customerModel_->Reload();
  supplierModel_->Reload();
  SetStatementCommandsEnabled(true);
  Panel2->hide();
  for (DBGrid* grid : {TabSheet1->grid, TabSheet2->grid}) grid->SyncCurrent();
  static_cast<LinesPage*>(PageControl1->currentWidget())->grid->setFocus();
}

void MainWindow::N13Click() {}

bool MainWindow::CommitPendingLine(DBGrid* grid) {
  LinePostOk = true;
  grid->CommitEditor();
  // A new row nobody typed into is no line: it goes, unchecked.
  if (grid->Model()->HasUntouchedNewRow()) grid->DoAction(DBGrid::Action::Cancel);
  grid->Model()->Post();
  grid->SyncCurrent();
  // A line that could not be stored for any reason stops the command, not only
  // one that its checks refused.
  if (grid->Model()->IsEditing()) LinePostOk = false;
  return LinePostOk;
}

void MainWindow::PageControl1Change(int index) {
  if (switchingPage_) return;
  LinesPage* leaving = index == 0 ? TabSheet2 : TabSheet1;
  if (!CommitPendingLine(leaving->grid)) {
    switchingPage_ = true;
    PageControl1->setCurrentIndex(index == 0 ? 1 : 0);
    switchingPage_ = false;
    return;
  }
  SetTabPictures(index);
}

void MainWindow::SetTabPictures(int current) {
  PageControl1->setTabIcon(current, TabPicture(true));
  PageControl1->setTabIcon(current == 0 ? 1 : 0, TabPicture(false));
}

void MainWindow::ShowError(const std::exception& error) {
  dialogs_.ShowWarning(QString::fromUtf8(error.what()));
}

bool MainWindow::CloseQuery() {
  if (!StatementModified) return true;
  const Dialogs::Answer answer =
      AskUser(QStringLiteral("Έχετε κάνει αλλαγές. Θέλετε να αποθηκευτούν σε αρχείο;"),
              Dialogs::Yes | Dialogs::No | Dialogs::Cancel,
              {QStringLiteral("Ναι"), QStringLiteral("Όχι"), QStringLiteral("Άκυρο")});
  if (answer == Dialogs::Answer::Cancel) return false;
  // The window closes after "Ναι" only when the file was really written.
  if (answer == Dialogs::Answer::Yes) return N7Click();
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!shutDown_ && !CloseQuery()) {
    event->ignore();
    return;
  }
  if (!shutDown_) Shutdown();
  event->accept();
}

void MainWindow::Shutdown() {
  shutDown_ = true;
  statement_.Shutdown();
  customerModel_->Reload();
  supplierModel_->Reload();
  environment_.SetCapsLock(false);
}

}  // namespace velmora
