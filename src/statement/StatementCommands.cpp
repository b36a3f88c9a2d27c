#include "StatementCommands.h"

#include <filesystem>

#include "AmountBox.h"
#include "FormFile.h"
#include "PreSaveChecks.h"
#include "SaveFailedMessage.h"
#include "SubmissionFileName.h"
#include "TextFile.h"
#include "VelmoraError.h"

namespace velmora {

namespace {

constexpr const char* kHeaderUnreadable =
    "Παρουσιάστηκε πρόβλημα κατά την ανάγνωση των γενικών στοιχείων";

// The filer's fields as the working header file holds them, the office code
// aside: the window chooses the office from it.
ShownStatement ShowWorkingHeader(const Statement& statement, Questions& questions,
                                 StatementForm form) {
  ShownStatement shown{std::move(form), true};
  try {
    shown.form.header = statement.ReadHeader();
  } catch (const std::exception&) {
    shown.headerRead = false;
    questions.Tell(kHeaderUnreadable, true);
  }
  return shown;
}

// An empty statement on screen: empty fields, amounts and totals, debit invoices.
ShownStatement ResetToEmpty(Statement& statement, Questions& questions) {
  statement.Reset();
  ShownStatement shown = ShowWorkingHeader(statement, questions, StatementForm());
  shown.form.header.taxOfficeCode.clear();
  return shown;
}

// Lines, or a form with anything in it: a copy that was closed before anything
// was typed leaves nothing worth a question.
bool HoldsStatement(const WorkingFiles& files) {
  std::error_code missing;
  for (const char* name :
       {WorkingFiles::kCustomerLines, WorkingFiles::kSupplierLines, WorkingFiles::kGeneralData}) {
    const auto size = std::filesystem::file_size(files.Path(name), missing);
    if (!missing && size > 0) return true;
  }
  try {
    const auto form = ParseFormFile(ReadFileBytes(files.Path(WorkingFiles::kForm), 1 << 20));
    return form && *form != StatementForm();
  } catch (const std::exception&) {
    return false;
  }
}

bool CheckBeforeSave(Statement& statement, Questions& questions, const StatementForm& form,
                     const Today& today) {
  const HeaderFields& header = form.header;
  if (auto failure =
          CheckFilerBeforeSave(header.year.view(), today.year, header.taxNumber.view(),
                               header.installationType.view(), !header.taxOfficeCode.empty())) {
    questions.Report(*failure);
    return false;
  }
  if (!questions.StorePendingLine(Side::Customers) || !questions.StorePendingLine(Side::Suppliers))
    return false;
  if (auto failure = statement.CheckLines(header.taxNumber.view())) {
    questions.Report(*failure);
    return false;
  }
  if (auto disagreement = statement.CheckTotalsAgainstLines()) {
    questions.Tell(*disagreement, true);
    return false;
  }
  return true;
}

// The file written whole from the checked statement; the statement is then of
// that file and has no unsaved changes.
SaveOutcome WriteStatement(Statement& statement, Questions& questions, const StatementForm& form,
                           const Today& today, const std::string& path) {
  SaveOutcome outcome;
  StatementForm written = form;
  for (Cp1253Text* amount : {&written.retailSales, &written.suppliersWithoutItemisation})
    *amount = Cp1253Text(NormaliseAmountBox(amount->view()));
  outcome.normalisedForm = written;
  std::optional<Failure> failure;
  {
    const BusyScope busy(questions);
    failure = Statement::Write(path, statement.ToSubmission(written, today.date));
  }
  if (failure) {
    questions.Report(*failure);
    return outcome;
  }
  statement.SetModified(false);
  statement.SetFilePath(path);
  outcome.saved = true;
  outcome.path = path;
  return outcome;
}

// "Ναι" to the question runs the save, which must then really write the file.
bool OfferToSave(Statement& statement, Questions& questions, const StatementForm& form,
                 const Today& today, std::optional<StatementForm>& savedForm) {
  if (!statement.Modified()) return true;
  const Questions::Answer answer = questions.AskYesNoCancel(kUnsavedChangesQuestion);
  if (answer == Questions::Answer::Cancel) return false;
  if (answer == Questions::Answer::No) return true;
  const SaveOutcome saved = SaveStatement(statement, questions, form, today);
  savedForm = saved.normalisedForm;
  return saved.saved;
}

// Reads the chosen file whole and, when every check passed, makes it the
// statement on view.
void ReadChosenFile(Statement& statement, Questions& questions, const StatementForm& form,
                    const std::string& path, ReplacementOutcome& outcome) {
  auto result = Statement::Read(path);
  if (const auto* failure = std::get_if<ReadFailure>(&result)) {
    // The whole file was checked before anything changed: the statement stays.
    Failure told = *failure;
    if (failure->lineNumber > 0)
      told.message += "\n(γραμμή " + std::to_string(failure->lineNumber) + " του αρχείου)";
    questions.Report(told);
    return;
  }
  OpenedStatement& opened = std::get<OpenedStatement>(result);
  try {
    // The files first: should they fail, nothing on screen has changed yet.
    statement.Load(opened);
    statement.SetFilePath(path);
    StatementForm shown;
    shown.retailSales = Cp1253Text(opened.retailSales);
    shown.customersWithoutItemisation = Cp1253Text(opened.customersWithoutItemisation);
    shown.suppliersWithoutItemisation = Cp1253Text(opened.suppliersWithoutItemisation);
    shown.creditBalances = opened.creditBalances;
    // The kind is chosen as a click would choose it: a change counts as an edit.
    if (opened.creditBalances != form.creditBalances) statement.SetModified(true);
    outcome.shown = ShowWorkingHeader(statement, questions, std::move(shown));
  } catch (const std::exception& error) {
    questions.Warn(error.what());
    try {
      outcome.shown = ResetToEmpty(statement, questions);
    } catch (const std::exception& resetError) {
      questions.Warn(resetError.what());
    }
  }
}

}  // namespace

ReplacementOutcome NewStatement(Statement& statement, Questions& questions,
                                const StatementForm& form, const Today& today) {
  ReplacementOutcome outcome;
  if (!OfferToSave(statement, questions, form, today, outcome.savedForm)) return outcome;
  if (questions.AskYesNo("Δημιουργία νέου αρχείου;") == Questions::Answer::No) return outcome;
  try {
    outcome.shown = ResetToEmpty(statement, questions);
    statement.SetModified(false);
  } catch (const std::exception& error) {
    questions.Warn(error.what());
  }
  return outcome;
}

SaveOutcome SaveStatementAs(Statement& statement, Questions& questions, const StatementForm& form,
                            const Today& today) {
  if (!CheckBeforeSave(statement, questions, form, today)) return {};
  const HeaderFields& header = form.header;
  const auto path = questions.ChooseSaveFile(
      FileKind::Statement,
      Cp1253Text(ProposeSubmissionFileName(header.year.view(), header.taxNumber.view(),
                                           header.installationType.view(), form.creditBalances)),
      std::string(), std::string());
  if (!path || path->empty()) return {};
  std::error_code ignored;
  if (std::filesystem::exists(*path, ignored) &&
      questions.AskYesNo(OverwriteQuestion(std::filesystem::path(*path).filename().string(),
                                           IsReadOnlyFile(*path))) == Questions::Answer::No)
    return {};
  SaveOutcome outcome = WriteStatement(statement, questions, form, today, *path);
  if (outcome.saved) questions.Tell(SuccessMessage(), false);
  return outcome;
}

SaveOutcome SaveStatement(Statement& statement, Questions& questions, const StatementForm& form,
                          const Today& today) {
  if (statement.FilePath().empty()) return SaveStatementAs(statement, questions, form, today);
  if (!CheckBeforeSave(statement, questions, form, today)) return {};
  return WriteStatement(statement, questions, form, today, statement.FilePath());
}

ReplacementOutcome OpenStatement(Statement& statement, Questions& questions,
                                 const StatementForm& form, const Today& today) {
  ReplacementOutcome outcome;
  if (!OfferToSave(statement, questions, form, today, outcome.savedForm)) return outcome;
  const auto path = questions.ChooseOpenFile(FileKind::Statement, "Όλα τα αρχεία (*)");
  if (!path || path->empty()) return outcome;
  ReadChosenFile(statement, questions, form, *path, outcome);
  return outcome;
}

ReplacementOutcome OpenStatementFile(Statement& statement, Questions& questions,
                                     const StatementForm& form, const Today& today,
                                     const std::string& path) {
  ReplacementOutcome outcome;
  if (OfferToSave(statement, questions, form, today, outcome.savedForm))
    ReadChosenFile(statement, questions, form, path, outcome);
  return outcome;
}

std::string RecoveryStamp(std::time_t when) {
  std::tm local{};
  ::localtime_r(&when, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%d/%m/%Y %H:%M", &local);
  return stamp;
}

std::string RecoveryQuestion(std::time_t when) {
  return "Βρέθηκε δήλωση που δεν αποθηκεύτηκε, από τις " + RecoveryStamp(when) +
         ". Θέλετε να την ανακτήσετε;";
}

std::optional<ShownStatement> OfferRecovery(Statement& statement, Questions& questions,
                                            std::vector<CopyFolder> abandoned) {
  using Action = Questions::RecoveryChoice::Action;
  std::vector<CopyFolder> offered;
  for (CopyFolder& folder : abandoned) {
    if (HoldsStatement(WorkingFiles(folder.Path())))
      offered.push_back(std::move(folder));
    else
      folder.RemoveAll();
  }
  // One list for them all, asked again after each deletion or failed load.
  while (!offered.empty()) {
    std::vector<std::string> stamps;
    for (const CopyFolder& folder : offered) stamps.push_back(RecoveryStamp(folder.LastChange()));
    const Questions::RecoveryChoice choice = questions.ChooseRecovery(stamps);
    if (choice.action == Action::Later || choice.index >= offered.size()) return std::nullopt;
    const auto chosen = offered.begin() + static_cast<std::ptrdiff_t>(choice.index);
    if (choice.action == Action::Delete) {
      if (questions.AskYesNo(kRecoveryDeleteQuestion) == Questions::Answer::Yes) {
        chosen->RemoveAll();
        offered.erase(chosen);
      }
      continue;
    }
    try {
      const std::optional<StatementForm> form = statement.Recover(chosen->Path());
      ShownStatement shown = form ? ShownStatement{*form, true}
                                  : ShowWorkingHeader(statement, questions, StatementForm());
      chosen->RemoveAll();
      return shown;
    } catch (const std::exception& error) {
      // Offered again at the next start, but not for ever: after a second failure
      // the folder is set aside under a name no start offers.
      std::string message = kRecoveryFailedPrefix + std::string(error.what());
      if (chosen->CountFailedLoad() >= 2) {
        if (const auto aside = chosen->SetAside())
          message += " Η δήλωση δεν θα προταθεί ξανά· τα αρχεία της φυλάσσονται στον φάκελο " +
                     *aside + ".";
      }
      questions.Warn(message);
      offered.erase(chosen);
    }
  }
  return std::nullopt;
}

CloseOutcome ConfirmClose(Statement& statement, Questions& questions, const StatementForm& form,
                          const Today& today) {
  CloseOutcome outcome;
  outcome.mayClose = OfferToSave(statement, questions, form, today, outcome.savedForm);
  return outcome;
}

}  // namespace velmora
