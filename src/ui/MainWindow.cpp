#include "MainWindow.h"

#include <QAction>
#include <algorithm>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "AboutBox.h"
#include "AmountBox.h"
#include "AppTexts.h"
#include "AuthorityLinks.h"
#include "DesktopLauncher.h"
#include "Environment.h"
#include "CheckCommand.h"
#include "ExportCommand.h"
#include "FileDrops.h"
#include "FilerPanel.h"
#include "FindCommand.h"
#include "FindDialog.h"
#include "FocusReasons.h"
#include "GreekText.h"
#include "ImportCommand.h"
#include "InputGuard.h"
#include "KeyFilters.h"
#include "LinesPage.h"
#include "ManualWindow.h"
#include "MouseWheelFilter.h"
#include "PrintCommand.h"
#include "PrintWindow.h"
#include "ProgramFolders.h"
#include "ProblemsPanel.h"
#include "ProgressBox.h"
#include "Settings.h"
#include "RecordLayout.h"
#include "SortCommand.h"
#include "Statement.h"
#include "TextRules.h"
#include "WaitBox.h"
#include "ZipCommand.h"

#include <thread>

namespace velmora {

namespace {

// The pages' tabs: the customers' first, the suppliers' second.
Side SideOf(int tab) { return tab == 0 ? Side::Customers : Side::Suppliers; }
int TabOf(Side side) { return SideIndex(side); }

constexpr int kClientWidth = 908;
constexpr int kClientHeight = 647;
constexpr int kStatusMessageMilliseconds = 8000;

QIcon TabPicture(bool current) {
  return QIcon(current ? QStringLiteral(":/pictures/tab-current.png")
                       : QStringLiteral(":/pictures/tab-other.png"));
}

Questions::Answer FromDialogAnswer(Dialogs::Answer answer) {
  switch (answer) {
    case Dialogs::Answer::Yes:
      return Questions::Answer::Yes;
    case Dialogs::Answer::No:
      return Questions::Answer::No;
    case Dialogs::Answer::Ok:
    case Dialogs::Answer::Cancel:
      break;
  }
  return Questions::Answer::Cancel;
}

// A character typed into a grid cell, judged by what may be typed into the
// field that stands at the column's place.
bool AcceptsTyped(Typing typing, char32_t key, const QString& text) {
  switch (typing) {
    case Typing::Digits:
      return DigitsOnly(key);
    case Typing::ZeroOrOne:
      return ZeroOneKeyFilter(key);
    case Typing::Decimal:
      return DecimalKeyFilter(key, text.toStdString());
    case Typing::AnyText:
      break;
  }
  return true;
}

const QStringList kYesNo = {QStringLiteral("Ναι"), QStringLiteral("Όχι")};
const QStringList kYesNoCancel = {QStringLiteral("Ναι"), QStringLiteral("Όχι"),
                                  QStringLiteral("Άκυρο")};

}  // namespace

MainWindow::MainWindow(Statement& statement, Dialogs& dialogs, Environment& environment,
                       Settings& settings, QWidget* parent)
    : QMainWindow(parent),
      statement_(statement),
      dialogs_(dialogs),
      environment_(environment),
      settings_(settings) {
  setObjectName(QStringLiteral("mainWindow"));
  waitBox_ = new WaitBox(this);
  waitBox_->hide();
  printWindow_ = new PrintWindow(dialogs_, *this, this);
  printWindow_->hide();
  findDialog_ = new FindDialog(this);
  findDialog_->hide();
  connect(findDialog_, &QDialog::accepted, this, &MainWindow::onFindAccepted);
  connect(findDialog_, &FindDialog::keyRefused, this, [this] { dialogs_.Beep(); });
  progressBox_ = new ProgressBox(this);
  problemsPanel_ = new ProblemsPanel(this);
  addDockWidget(Qt::BottomDockWidgetArea, problemsPanel_);
  problemsPanel_->hide();
  connect(problemsPanel_, &ProblemsPanel::problemChosen, this, &MainWindow::onProblemChosen);

  auto* central = new QWidget(this);
  // The window may grow, the grids with it, but never below the size its
  // fields were laid out for.
  central->setMinimumSize(kClientWidth, kClientHeight);
  central->installEventFilter(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  filerPanel_ = new FilerPanel(dialogs_, environment_, central);
  layout->addWidget(filerPanel_);

  pages_ = new QTabWidget(central);
  pages_->setObjectName(QStringLiteral("pages"));
  for (Side side : {Side::Customers, Side::Suppliers}) {
    RecordTableModel*& model = models_[SideIndex(side)];
    model = new RecordTableModel(statement_.Table(side), LinesPage::Columns(side), this);
    LinesPage*& page = sidePages_[SideIndex(side)];
    page = new LinesPage(side, model, pages_);
    pages_->addTab(page, TabPicture(side == Side::Customers), PageTitle(side));
    ConnectPage(page);
  }
  layout->addWidget(pages_, 1);
  setCentralWidget(central);

  for (LinesPage* page : sidePages_) {
    page->RestoreColumnWidths(settings_.ColumnWidths(page->side()));
    connect(page, &LinesPage::columnWidthsChanged, this, [this, page](const QList<int>& widths) {
      settings_.SetColumnWidths(page->side(), widths);
    });
  }
  connect(filerPanel_, &FilerPanel::modified, this, &MainWindow::MarkModified);
  connect(filerPanel_, &FilerPanel::changed, this, &MainWindow::KeepForm);
  for (QLineEdit* amount : AmountBoxes())
    connect(amount, &QLineEdit::textChanged, this, &MainWindow::KeepForm);

  BuildMenu();
  BuildStartPanel();
  connect(pages_, &QTabWidget::currentChanged, this, &MainWindow::onPageChanged);

  // Start-up.
  qApp->installEventFilter(new MouseWheelFilter(this));
  SetStatementCommandsEnabled(false);
  // Made now, so that the window keeps its size when the first note comes.
  statusBar()->setObjectName(QStringLiteral("statusBar"));
  ShowTitle();
  FillRecentMenu();
  auto* drops = new FileDrops(this);
  drops->SetAcceptance([this](const QString& path) {
    return !IsSpreadsheetFileName(QFile::encodeName(path).toStdString()) ||
           importAction_->isEnabled();
  });
  connect(drops, &FileDrops::fileDropped, this, &MainWindow::onFileDropped);
  // The lines' checks compare each line with the filer's number as it stands.
  connect(filerPanel_, &FilerPanel::changed, this,
          [this] { statement_.SetFilerTaxNumber(filerPanel_->TaxNumber()); });
  statement_.SetListener(this);
}

MainWindow::~MainWindow() {
  if (!shutDown_) Shutdown();
  // The children outlive this destructor by a moment, and an editor that loses
  // the focus as it goes may still signal: nothing may reach this window then.
  for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
  statement_.SetListener(nullptr);
}

void MainWindow::LineRefused(Side, const LineVerdict& verdict) { Tell(verdict.message, true); }

void MainWindow::LinesChanged(Side side) { ShowLineCount(side); }

void MainWindow::TableReplaced(Side side) {
  // Lines added in one go: their page comes on view before any message about them.
  Model(side)->Reload();
  ShowPageOf(side);
}

void MainWindow::TotalsProblem(const std::string& message) { Tell(message, true); }

void MainWindow::ConnectPage(LinesPage* page) {
  RecordGrid* grid = page->grid();
  connect(grid->Model(), &RecordTableModel::operationFailed, this,
          [this](const QString& message) { dialogs_.ShowWarning(message); });
  connect(grid, &RecordGrid::typed, this, &MainWindow::MarkModified);
  connect(grid, &RecordGrid::keyRefused, this, [this] { dialogs_.Beep(); });
  // The filters follow the column's place in the grid, not its field: a column
  // the user dragged elsewhere takes the filter of its new place.
  const auto typingAt = [grid](int column) {
    const auto place = static_cast<std::size_t>(grid->horizontalHeader()->visualIndex(column));
    return place < kTypedLineFields.size() ? LineLayoutOf(kTypedLineFields[place]).typing
                                           : Typing::AnyText;
  };
  grid->SetKeyRule(
      [typingAt](int column, QChar typed, const QString& text) -> std::optional<QChar> {
        return AcceptsTyped(typingAt(column), typed.unicode(), text) ? std::optional<QChar>(typed)
                                                                     : std::nullopt;
      });
  grid->SetCapitalsRule([typingAt](int column) { return typingAt(column) == Typing::AnyText; });
  connect(page, &LinesPage::sortRequested, this,
          [this, page](SortKey key) { onSort(page->side(), key); });
  grid->SetDeleteConfirmation([this] { return IsYes(QStringLiteral("Διαγραφή εγγραφής;")); });
  page->navigator()->SetActionGuard([this](RecordGrid::Action action) {
    if (action != RecordGrid::Action::Delete) return true;
    return dialogs_.AskUser(QStringLiteral("Είστε σίγουρος;"), Dialogs::Yes | Dialogs::No,
                            kYesNo) != Dialogs::Answer::No;
  });

  for (QLineEdit* amount : {page->retailSalesBox(), page->withoutItemisationBox()}) {
    if (!amount) continue;
    auto* guard = new InputGuard(
        amount,
        [](QChar typed, const QString& text) -> std::optional<QChar> {
          return DecimalKeyFilter(typed.unicode(), text.toStdString()) ? std::optional(typed)
                                                                       : std::nullopt;
        },
        [](const QString& text) {
          return IsDecimalText(text) && FitsAmountRecord(text.toStdString());
        });
    connect(guard, &InputGuard::typed, this, &MainWindow::MarkModified);
    connect(guard, &InputGuard::refused, this, [this] { dialogs_.Beep(); });
    amount->installEventFilter(this);
  }
}

void MainWindow::BuildMenu() {
  // Each menu and item has its letter for Alt (Greek letters, for the Greek
  // keyboard the program is typed on) and the desktop's usual keys.
  auto* file = menuBar()->addMenu(QStringLiteral("&Αρχείο"));
  file->setObjectName(QStringLiteral("fileMenu"));
  newAction_ = file->addAction(QStringLiteral("&Νέο"), this, &MainWindow::onNew);
  newAction_->setObjectName(QStringLiteral("newAction"));
  newAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  openAction_ = file->addAction(QStringLiteral("Άν&οιγμα"), this, &MainWindow::onOpen);
  openAction_->setObjectName(QStringLiteral("openAction"));
  openAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  recentMenu_ = file->addMenu(QStringLiteral("&Πρόσφατα αρχεία"));
  recentMenu_->setObjectName(QStringLiteral("recentMenu"));
  saveAction_ = file->addAction(QStringLiteral("Αποθήκευ&ση"), this, [this] { onSave(); });
  saveAction_->setObjectName(QStringLiteral("saveAction"));
  saveAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  saveAsAction_ =
      file->addAction(QStringLiteral("Αποθήκευση &ως..."), this, [this] { onSaveAs(); });
  saveAsAction_->setObjectName(QStringLiteral("saveAsAction"));
  saveAsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  file->addSeparator();
  exitAction_ = file->addAction(QStringLiteral("Έ&ξοδος"), this, &QWidget::close);
  exitAction_->setObjectName(QStringLiteral("exitAction"));
  exitAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  printMenu_ = menuBar()->addMenu(QStringLiteral("&Εκτύπωση"));
  printMenu_->setObjectName(QStringLiteral("printMenu"));
  printCustomersAction_ =
      printMenu_->addAction(QStringLiteral("Συγκεντρωτική κατάσταση &Πελατών"), this,
                            [this] { onPrintStatement(Side::Customers); });
  printCustomersAction_->setObjectName(QStringLiteral("printCustomersAction"));
  printSuppliersAction_ =
      printMenu_->addAction(QStringLiteral("Συγκεντρωτική κατάσταση Προ&μηθευτών"), this,
                            [this] { onPrintStatement(Side::Suppliers); });
  printSuppliersAction_->setObjectName(QStringLiteral("printSuppliersAction"));
  toolsMenu_ = menuBar()->addMenu(QStringLiteral("Ε&ργαλεία"));
  toolsMenu_->setObjectName(QStringLiteral("toolsMenu"));
  findAction_ = toolsMenu_->addAction(QStringLiteral("Εύ&ρεση..."), this, &MainWindow::onFind);
  findAction_->setObjectName(QStringLiteral("findAction"));
  findAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  toolsMenu_->addSeparator();
  importAction_ = toolsMenu_->addAction(QStringLiteral("&Εισαγωγή στοιχείων από Excel"), this,
                                        [this] { onImport(); });
  importAction_->setObjectName(QStringLiteral("importAction"));
  checkAction_ = toolsMenu_->addAction(QStringLiteral("Έ&λεγχος δήλωσης"), this,
                                       &MainWindow::onCheckStatement);
  checkAction_->setObjectName(QStringLiteral("checkAction"));
  checkAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  exportAction_ = toolsMenu_->addAction(QStringLiteral("Ε&ξαγωγή σε υπολογιστικό φύλλο"), this,
                                        &MainWindow::onExport);
  exportAction_->setObjectName(QStringLiteral("exportAction"));
  helpMenu_ = menuBar()->addMenu(QStringLiteral("&Βοήθεια"));
  helpMenu_->setObjectName(QStringLiteral("helpMenu"));

  toolsMenu_->addSeparator();
  auto* shortcut =
      toolsMenu_->addAction(QStringLiteral("Δημιουργία &συντόμευσης στην Επιφ. Εργασίας"), this,
                            &MainWindow::onCreateShortcut);
  shortcut->setObjectName(QStringLiteral("desktopShortcutAction"));
  auto* zip = toolsMenu_->addAction(QStringLiteral("Δημιουργία συμ&πιεσμένου αρχείου (zip)"), this,
                                    &MainWindow::onZipCopy);
  zip->setObjectName(QStringLiteral("zipCopyAction"));
  toolsMenu_->addSeparator();
  auto* site =
      toolsMenu_->addAction(AuthoritySiteCaption(), this, [this] { OpenLink(AuthoritySiteUrl()); });
  site->setObjectName(QStringLiteral("authoritySiteAction"));
  // Reached by its key alone: an action hidden in the menu would not hear it.
  auto* submission =
      new QAction(QStringLiteral("Ηλεκτρονική υποβολή αρχείου Συγκεντρωτικής Κατάστασης"), this);
  submission->setObjectName(QStringLiteral("onlineSubmissionAction"));
  submission->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  connect(submission, &QAction::triggered, this, [this] { OpenLink(OnlineSubmissionUrl()); });
  addAction(submission);

  auto* manual =
      helpMenu_->addAction(QStringLiteral("&Οδηγίες εφαρμογής"), this, &MainWindow::onManual);
  manual->setObjectName(QStringLiteral("manualAction"));
  auto* manualKey = new QAction(manual->text(), this);
  manualKey->setObjectName(QStringLiteral("manualKeyAction"));
  manualKey->setShortcut(QKeySequence(Qt::Key_F1));
  connect(manualKey, &QAction::triggered, this, &MainWindow::onManual);
  addAction(manualKey);
  helpMenu_->addSeparator();
  auto* about = helpMenu_->addAction(QStringLiteral("Σ&χετικά..."), this, &MainWindow::onAbout);
  about->setObjectName(QStringLiteral("aboutAction"));

  // A menu shows only once it holds a command.
  for (QMenu* menu : {printMenu_, toolsMenu_, helpMenu_})
    menu->menuAction()->setVisible(!menu->actions().isEmpty());
}

void MainWindow::BuildStartPanel() {
  startPanel_ = new QWidget(centralWidget());
  startPanel_->setObjectName(QStringLiteral("startPanel"));
  startPanel_->setAutoFillBackground(true);
  auto* picture = new QLabel(startPanel_);
  picture->setPixmap(QPixmap(QStringLiteral(":/pictures/start.png")));
  picture->setObjectName(QStringLiteral("startPicture"));
  picture->setAccessibleName(QStringLiteral("Velmora"));
  picture->setAccessibleDescription(QStringLiteral("Το σήμα του προγράμματος"));
  auto* text = new QLabel(
      QStringLiteral("Παρακαλώ επιλέξτε 'Αρχείο' - 'Νέο' ή 'Αρχείο' - Άνοιγμα' για να ξεκινήσετε"),
      startPanel_);
  QFont bold = text->font();
  bold.setBold(true);
  text->setFont(bold);
  // The picture 50 pixels from the top, the text 100 below it, both centred.
  auto* layout = new QVBoxLayout(startPanel_);
  layout->setContentsMargins(0, 50, 0, 0);
  layout->setSpacing(100);
  layout->addWidget(picture, 0, Qt::AlignHCenter);
  layout->addWidget(text, 0, Qt::AlignHCenter);
  layout->addStretch(1);
  PlaceStartPanel();
  startPanel_->raise();
}

void MainWindow::PlaceStartPanel() { startPanel_->setGeometry(centralWidget()->rect()); }

void MainWindow::SetStatementCommandsEnabled(bool enabled) {
  saveAction_->setEnabled(enabled);
  saveAsAction_->setEnabled(enabled);
  printMenu_->setEnabled(enabled);
  // The items too, for those who reach them without opening the menu.
  for (QAction* print : printMenu_->actions()) print->setEnabled(enabled);
  findAction_->setEnabled(enabled);
  importAction_->setEnabled(enabled);
  exportAction_->setEnabled(enabled);
  checkAction_->setEnabled(enabled);
  // While the start panel covers them, the fields cannot be reached by Tab either.
  filerPanel_->setEnabled(enabled);
  pages_->setEnabled(enabled);
}

void MainWindow::ShowLineCount(Side side) {
  LinesPage* page = Page(side);
  page->SetCount(statement_.Table(side).RecordCount());
  page->invoiceTotalBox()->setText(FromCp1253(statement_.InvoiceTotalText(side)));
  page->valueTotalBox()->setText(FromCp1253(statement_.ValueTotalText(side)));
}

std::array<QLineEdit*, 3> MainWindow::AmountBoxes() const {
  return {Page(Side::Customers)->retailSalesBox(), Page(Side::Customers)->withoutItemisationBox(),
          Page(Side::Suppliers)->withoutItemisationBox()};
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) PlaceStartPanel();
  if (event->type() == QEvent::FocusOut && IsUserLeavingField(static_cast<QFocusEvent*>(event))) {
    for (QLineEdit* amount : AmountBoxes()) {
      if (watched != amount) continue;
      // The box admits only digits and a comma, which every code page holds.
      if (const auto text = ToCp1253(amount->text()))
        amount->setText(FromCp1253(Cp1253Text(NormaliseAmountBox(text->view()))));
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

std::optional<StatementForm> MainWindow::FormOnScreen() const {
  const auto header = filerPanel_->CurrentHeader();
  const auto [retailSalesBox, customersWithoutBox, suppliersWithoutBox] = AmountBoxes();
  const auto retailSales = ToCp1253(retailSalesBox->text());
  const auto customersWithout = ToCp1253(customersWithoutBox->text());
  const auto suppliersWithout = ToCp1253(suppliersWithoutBox->text());
  if (!header || !retailSales || !customersWithout || !suppliersWithout) return std::nullopt;
  StatementForm form;
  form.header = *header;
  form.creditBalances = !filerPanel_->DebitInvoices();
  form.retailSales = *retailSales;
  form.customersWithoutItemisation = *customersWithout;
  form.suppliersWithoutItemisation = *suppliersWithout;
  return form;
}

std::optional<StatementForm> MainWindow::GatherForm() {
  auto form = FormOnScreen();
  if (!form) {
    Tell(
        "Το κείμενο περιέχει χαρακτήρες που δεν γράφονται στην ελληνική κωδικοσελίδα "
        "(Windows-1253).",
        true);
  }
  return form;
}

void MainWindow::KeepForm() {
  const auto form = FormOnScreen();
  if (!form) return;
  if (const auto failure = formKeeping_.Keep(statement_, *form)) Warn(*failure);
}

void MainWindow::OfferRecovery(std::vector<CopyFolder> abandoned) {
  const auto shown = velmora::OfferRecovery(statement_, *this, std::move(abandoned));
  ShowTitle();
  if (!shown) return;
  ShowStatement(*shown);
  Page(Side::Customers)->grid()->setFocus();
}

void MainWindow::ShowAmounts(const StatementForm& form) {
  const auto [retailSales, customersWithout, suppliersWithout] = AmountBoxes();
  retailSales->setText(FromCp1253(form.retailSales));
  customersWithout->setText(FromCp1253(form.customersWithoutItemisation));
  suppliersWithout->setText(FromCp1253(form.suppliersWithoutItemisation));
}

void MainWindow::ShowStatement(const ShownStatement& shown) {
  if (shown.headerRead) filerPanel_->FillHeaderFields(shown.form.header);
  filerPanel_->SetDebitInvoices(!shown.form.creditBalances);
  ShowAmounts(shown.form);
  for (RecordTableModel* model : models_) model->Reload();
  for (Side side : {Side::Customers, Side::Suppliers}) ShowLineCount(side);
  SetStatementCommandsEnabled(true);
  startPanel_->hide();
  for (LinesPage* page : sidePages_) page->grid()->SyncCurrent();
  ShowTitle();
}

Today MainWindow::CurrentDay() const {
  const QDate today = environment_.Today();
  return {today.year(), today.toString(QStringLiteral("yyyyMMdd")).toStdString()};
}

void MainWindow::onNew() {
  const auto form = GatherForm();
  if (!form) return;
  const ReplacementOutcome outcome = NewStatement(statement_, *this, *form, CurrentDay());
  if (outcome.savedForm) ShowAmounts(*outcome.savedForm);
  ShowTitle();
  if (!outcome.shown) return;
  ShowStatement(*outcome.shown);
  SwitchPageQuietly(TabOf(Side::Customers));
  // Work starts in the lines; the filer fields are checked only once visited.
  Page(Side::Customers)->grid()->setFocus();
}

bool MainWindow::onSave() {
  const auto form = GatherForm();
  if (!form) return false;
  const SaveOutcome outcome = SaveStatement(statement_, *this, *form, CurrentDay());
  if (outcome.normalisedForm) ShowAmounts(*outcome.normalisedForm);
  if (outcome.saved) {
    RememberRecentFile();
    statusBar()->showMessage(QStringLiteral("Η δήλωση αποθηκεύτηκε στο αρχείο %1.")
                                 .arg(QDir::toNativeSeparators(
                                     QFile::decodeName(QByteArray::fromStdString(outcome.path)))),
                             kStatusMessageMilliseconds);
  }
  ShowTitle();
  return outcome.saved;
}

bool MainWindow::onSaveAs() {
  const auto form = GatherForm();
  if (!form) return false;
  const SaveOutcome outcome = SaveStatementAs(statement_, *this, *form, CurrentDay());
  if (outcome.normalisedForm) ShowAmounts(*outcome.normalisedForm);
  if (outcome.saved) {
    for (LinesPage* page : sidePages_) page->grid()->DoAction(RecordGrid::Action::First);
    RememberRecentFile();
  }
  ShowTitle();
  return outcome.saved;
}

void MainWindow::onPrintStatement(Side side) {
  const auto form = GatherForm();
  if (!form) return;
  const PrintOutcome outcome = PrintStatementPage(
      statement_, *this, side, *form, QFile::encodeName(environment_.DataFolder()).toStdString());
  if (!outcome.page) return;
  printWindow_->LoadStatement(*outcome.page);
  printWindow_->ShowModal();
}

void MainWindow::onOpen() {
  const auto form = GatherForm();
  if (!form) return;
  const ReplacementOutcome outcome = OpenStatement(statement_, *this, *form, CurrentDay());
  ShowOpened(outcome);
}

void MainWindow::OpenFile(const QString& path) {
  const auto form = GatherForm();
  if (!form) return;
  const ReplacementOutcome outcome = OpenStatementFile(statement_, *this, *form, CurrentDay(),
                                                       QFile::encodeName(path).toStdString());
  ShowOpened(outcome);
}

void MainWindow::ShowOpened(const ReplacementOutcome& outcome) {
  if (outcome.savedForm) ShowAmounts(*outcome.savedForm);
  ShowTitle();
  if (!outcome.shown) return;
  ShowStatement(*outcome.shown);
  RememberRecentFile();
  qobject_cast<LinesPage*>(pages_->currentWidget())->grid()->setFocus();
}

void MainWindow::onZipCopy() { MakeZipCopy(*this, DosTimestampNow); }

void MainWindow::onCreateShortcut() {
  const std::string programFolder = QFile::encodeName(environment_.ProgramFolder()).toStdString();
  const auto failure =
      WriteDesktopLauncher(QFile::encodeName(environment_.DesktopFolder()).toStdString(),
                           QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
                           IconPathFor(programFolder));
  if (failure) {
    Report(*failure);
    return;
  }
  // No box to close: the status line says where to find it.
  statusBar()->showMessage(QStringLiteral("Η συντόμευση δημιουργήθηκε: %1")
                               .arg(QDir::toNativeSeparators(environment_.DesktopFolder() +
                                                             QStringLiteral("/Velmora.desktop"))),
                           kStatusMessageMilliseconds);
}

void MainWindow::OpenLink(const QUrl& url) {
  // Without a browser the address is at least there to copy.
  if (!environment_.OpenUrl(url))
    dialogs_.ShowMessage(QStringLiteral("Δεν βρέθηκε πρόγραμμα περιήγησης. Η διεύθυνση είναι: ") +
                         url.toString());
}

void MainWindow::onManual() {
  if (!manualWindow_) {
    const std::string programFolder = QFile::encodeName(environment_.ProgramFolder()).toStdString();
    manualWindow_ = std::make_unique<ManualWindow>(
        QFile::decodeName(QByteArray::fromStdString(HelpFolderFor(programFolder))));
    connect(manualWindow_.get(), &ManualWindow::printFailed, this,
            [this] { dialogs_.ShowWarning(PrintWindow::PrintFailedMessage()); });
  }
  manualWindow_->ShowFirstTopic();
}

void MainWindow::onAbout() {
  AboutBox box(this);
  box.exec();
}

void MainWindow::onPageChanged(int index) {
  if (switchingPage_) return;
  const Side leaving = SideOf(1 - index);
  // A pending line its checks refuse keeps its page on view.
  if (!StorePendingLine(leaving)) {
    SwitchPageQuietly(TabOf(leaving));
    return;
  }
  SetTabPictures(index);
}

void MainWindow::SwitchPageQuietly(int index) {
  switchingPage_ = true;
  pages_->setCurrentIndex(index);
  switchingPage_ = false;
  SetTabPictures(index);
}

void MainWindow::onSort(Side side, SortKey key) {
  const bool sorted = SortLines(statement_, *this, side, key).sorted;
  ShowTitle();
  if (!sorted) return;
  Model(side)->Reload();
  Page(side)->grid()->SyncCurrent();
}

void MainWindow::onFind() {
  if (!StorePendingLinesBeforeFind(*this)) return;
  findDialog_->show();
  findDialog_->raise();
  findDialog_->activateWindow();
}

void MainWindow::onFindAccepted() {
  // Only the lines of the page on view are searched.
  const Side side = SideOf(pages_->currentIndex());
  FindLineOnSide(statement_, *this, side, findDialog_->Request());
  RecordGrid* grid = Page(side)->grid();
  grid->SyncCurrent();
  grid->setFocus();
}

void MainWindow::onImport(const std::optional<QString>& droppedFile) {
  std::optional<std::string> path;
  if (droppedFile) path = QFile::encodeName(*droppedFile).toStdString();
  const ImportOutcome outcome = ImportSpreadsheet(statement_, *this, path);
  if (outcome.changedSide) ShowPageOf(*outcome.changedSide);
  ShowTitle();
}

void MainWindow::onCheckStatement() {
  const auto form = GatherForm();
  if (!form) return;
  const auto problems = CheckStatement(statement_, *this, *form, CurrentDay());
  if (problems) problemsPanel_->ShowProblems(*problems);
}

void MainWindow::onProblemChosen(const StatementProblem& problem) {
  if (!problem.side) {
    filerPanel_->FocusField(problem.filerField);
    return;
  }
  // A line typed since the check is stored first, as a page change would.
  if (!StorePendingLine(SideOf(pages_->currentIndex()))) return;
  ShowPageOf(*problem.side);
  RecordGrid* grid = Page(*problem.side)->grid();
  const auto field = std::find(kTypedLineFields.begin(), kTypedLineFields.end(), problem.field);
  const auto column = static_cast<int>(field - kTypedLineFields.begin());
  if (static_cast<int>(problem.line) < grid->model()->rowCount())
    grid->setCurrentIndex(grid->model()->index(static_cast<int>(problem.line), column));
  grid->setFocus();
}

void MainWindow::onExport() {
  // The lines of the page on view.
  const Side side = SideOf(pages_->currentIndex());
  const ExportOutcome outcome = ExportLines(statement_, *this, side, filerPanel_->TaxNumber());
  if (!outcome.path) return;
  statusBar()->showMessage(QStringLiteral("Οι γραμμές γράφτηκαν στο αρχείο %1.")
                               .arg(QDir::toNativeSeparators(
                                   QFile::decodeName(QByteArray::fromStdString(*outcome.path)))),
                           kStatusMessageMilliseconds);
}

void MainWindow::onFileDropped(const QString& path) {
  // The window comes forward: the questions that follow are about this drop.
  activateWindow();
  if (IsSpreadsheetFileName(QFile::encodeName(path).toStdString())) {
    if (importAction_->isEnabled()) onImport(path);
  } else {
    OpenFile(path);
  }
}

void MainWindow::ShowPageOf(Side side) {
  // The pending lines of both sides are stored already: no page change to check.
  SwitchPageQuietly(TabOf(side));
  RecordGrid* grid = Page(side)->grid();
  grid->SyncCurrent();
  grid->setFocus();
}

void MainWindow::SetTabPictures(int current) {
  pages_->setTabIcon(current, TabPicture(true));
  pages_->setTabIcon(current == 0 ? 1 : 0, TabPicture(false));
}

bool MainWindow::IsYes(const QString& question) {
  return dialogs_.AskUser(question, Dialogs::Yes | Dialogs::No, kYesNo) == Dialogs::Answer::Yes;
}

Questions::Answer MainWindow::AskYesNo(const std::string& question) {
  return FromDialogAnswer(
      dialogs_.AskUser(FromMessage(question), Dialogs::Yes | Dialogs::No, kYesNo));
}

Questions::Answer MainWindow::AskYesNoCancel(const std::string& question) {
  return FromDialogAnswer(dialogs_.AskUser(
      FromMessage(question), Dialogs::Yes | Dialogs::No | Dialogs::Cancel, kYesNoCancel));
}

void MainWindow::Tell(const std::string& message, bool beep) {
  if (beep) dialogs_.Beep();
  dialogs_.ShowMessage(FromMessage(message));
}

void MainWindow::TellWithDetails(const std::string& message, const std::string& details) {
  dialogs_.ShowMessageWithDetails(FromMessage(message), FromMessage(details));
}

void MainWindow::Warn(const std::string& message) { dialogs_.ShowWarning(FromMessage(message)); }

void MainWindow::FocusFilerField(FilerFocus field) { filerPanel_->FocusField(field); }

Questions::RecoveryChoice MainWindow::ChooseRecovery(const std::vector<std::string>& lastChanges) {
  QStringList statements;
  for (const std::string& when : lastChanges)
    statements.append(QStringLiteral("Δήλωση από τις %1").arg(FromMessage(when)));
  const QString message =
      lastChanges.size() == 1
          ? QStringLiteral(
                "Βρέθηκε δήλωση που δεν αποθηκεύτηκε, από τις %1. Θέλετε να την "
                "ανακτήσετε;")
                .arg(FromMessage(lastChanges.front()))
          : QStringLiteral(
                "Βρέθηκαν %1 δηλώσεις που δεν αποθηκεύτηκαν. Επιλέξτε αυτή που "
                "θέλετε να ανακτήσετε ή να διαγράψετε.")
                .arg(lastChanges.size());
  return dialogs_.ChooseRecovery(message, statements);
}

std::optional<std::size_t> MainWindow::AskChoice(const std::string& question,
                                                 const std::vector<std::string>& captions) {
  return dialogs_.AskChoice(FromMessage(question), [&] {
    QStringList shown;
    for (const std::string& caption : captions) shown.append(FromMessage(caption));
    return shown;
  }());
}

std::optional<std::string> MainWindow::ChooseSaveFile(FileKind kind, const Cp1253Text& proposedName,
                                                      const std::string& filter,
                                                      const std::string& startFolder) {
  const QString path = dialogs_.ChooseSaveFile(DialogFolder(kind, startFolder),
                                               FromCp1253(proposedName), FromMessage(filter));
  if (path.isEmpty()) return std::nullopt;
  RememberFolder(kind, path);
  return QFile::encodeName(path).toStdString();
}

std::optional<std::string> MainWindow::ChooseOpenFile(FileKind kind, const std::string& filter) {
  const QString path = dialogs_.ChooseOpenFile(DialogFolder(kind, {}), FromMessage(filter));
  if (path.isEmpty()) return std::nullopt;
  RememberFolder(kind, path);
  return QFile::encodeName(path).toStdString();
}

QString MainWindow::DialogFolder(FileKind kind, const std::string& startFolder) const {
  for (const QString& folder :
       {QFile::decodeName(QByteArray::fromStdString(startFolder)), settings_.LastFolder(kind)}) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
  }
  return environment_.DocumentsFolder();
}

void MainWindow::RememberFolder(FileKind kind, const QString& chosenPath) {
  settings_.SetLastFolder(kind, QFileInfo(chosenPath).absolutePath());
}

void MainWindow::RememberRecentFile() {
  if (statement_.FilePath().empty()) return;
  settings_.AddRecentStatement(
      QFileInfo(QFile::decodeName(QByteArray::fromStdString(statement_.FilePath())))
          .absoluteFilePath());
  FillRecentMenu();
}

void MainWindow::FillRecentMenu() {
  recentMenu_->clear();
  const QStringList recent = settings_.RecentStatements();
  int number = 0;
  for (const QString& path : recent) {
    ++number;
    // The number is the item's Alt key; a path's own "&" is no key.
    QString shown = QDir::toNativeSeparators(path);
    const QString home = QDir::homePath();
    if (shown.startsWith(home + QLatin1Char('/')))
      shown.replace(0, home.size(), QStringLiteral("~"));
    auto* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(number).arg(
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"))));
    action->setObjectName(QStringLiteral("recentFileAction"));
    action->setData(path);
    connect(action, &QAction::triggered, this, [this, path] { onOpenRecent(path); });
  }
  recentMenu_->setEnabled(!recent.isEmpty());
}

void MainWindow::onOpenRecent(const QString& path) {
  if (!QFileInfo(path).isFile()) {
    settings_.RemoveRecentStatement(path);
    FillRecentMenu();
    dialogs_.ShowMessage(
        QStringLiteral("Το αρχείο %1 δεν βρέθηκε. Αφαιρέθηκε από τα πρόσφατα αρχεία.")
            .arg(QDir::toNativeSeparators(path)));
    return;
  }
  OpenFile(path);
}

void MainWindow::MarkModified() {
  statement_.SetModified(true);
  setWindowModified(true);
}

void MainWindow::ShowTitle() {
  const std::string& file = statement_.FilePath();
  // Qt draws the mark of unsaved changes where "[*]" stands.
  setWindowTitle(file.empty()
                     ? WindowCaption() + QStringLiteral("[*]")
                     : QFileInfo(QFile::decodeName(QByteArray::fromStdString(file))).fileName() +
                           QStringLiteral("[*] — ") + WindowCaption());
  setWindowModified(statement_.Modified());
}

bool MainWindow::StorePendingLine(Side side) {
  RecordGrid* grid = Page(side)->grid();
  grid->CommitEditor();
  // A new row nobody typed into is no line: it goes, unchecked.
  if (grid->Model()->HasUntouchedNewRow()) grid->DoAction(RecordGrid::Action::Cancel);
  // False for a line that could not be stored for any reason, not only one
  // that its checks refused: either stops the command.
  const bool stored = grid->Model()->Post();
  grid->SyncCurrent();
  return stored;
}

void MainWindow::ShowBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    activeBeforeBusy_ = isActiveWindow();
    waitBox_->ShowNow();
  } else {
    waitBox_->hide();
    QApplication::restoreOverrideCursor();
    // The box took the activation when it came; the keys go back to the window.
    if (activeBeforeBusy_) activateWindow();
  }
}

bool MainWindow::RunStoppable(std::function<void()> work, std::shared_ptr<std::atomic<bool>> stop) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread worker([work = std::move(work), done] {
    work();
    done->store(true);
  });
  QEventLoop waiting;
  bool stopped = false;
  const auto stopping = connect(waitBox_, &WaitBox::stopRequested, &waiting, [&] {
    stopped = true;
    waiting.quit();
  });
  QTimer poll;
  connect(&poll, &QTimer::timeout, &waiting, [&] {
    if (done->load()) waiting.quit();
  });
  poll.start(15);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  activeBeforeBusy_ = isActiveWindow();
  waitBox_->ShowNow(true);
  // A click already taken while the box was being painted counts too.
  if (!done->load() && !stopped) waiting.exec();
  disconnect(stopping);
  ShowBusy(false);
  if (stopped && !done->load()) {
    // What it reads is its own: it ends by itself, and its result goes unused.
    stop->store(true);
    worker.detach();
    return false;
  }
  worker.join();
  return true;
}

bool MainWindow::ReportProgress(std::size_t done, std::size_t total) {
  return progressBox_->Report(done, total);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!shutDown_) {
    const auto form = GatherForm();
    if (!form) {
      event->ignore();
      return;
    }
    const CloseOutcome outcome = ConfirmClose(statement_, *this, *form, CurrentDay());
    if (outcome.savedForm) ShowAmounts(*outcome.savedForm);
    if (!outcome.mayClose) {
      event->ignore();
      return;
    }
    Shutdown();
  }
  settings_.SetWindowGeometry(saveGeometry());
  event->accept();
}

void MainWindow::CloseWithoutQuestions() {
  if (!shutDown_) {
    if (statement_.Modified()) {
      try {
        if (const auto form = FormOnScreen()) statement_.KeepForm(*form);
      } catch (const std::exception&) {
        // The form as last kept is what recovery brings back.
      }
      shutDown_ = true;
      statement_.LeaveForRecovery();
    } else {
      Shutdown();
    }
  }
  close();
}

void MainWindow::Shutdown() {
  shutDown_ = true;
  statement_.Shutdown();
  for (RecordTableModel* model : models_) model->Reload();
}

}  // namespace velmora
