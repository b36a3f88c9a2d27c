#include "Statement.h"

#include <filesystem>

#include "AtomicFile.h"
#include "FormFile.h"
#include "OpenedStatementFiles.h"
#include "RecordLayout.h"
#include "RecoveredLines.h"
#include "SaveFailedMessage.h"
#include "TextFile.h"
#include "VelmoraError.h"

namespace velmora {

namespace {

void Configure(RecordTable& table, Side side, std::string path) {
  table.SetSchema(LineSchema(side));
  table.SetFileName(std::move(path));
  table.SetFileMustExist(true);
  table.SetTrimSpace(true);
}

}  // namespace

Statement::Statement(std::string workingBase)
    : files_(std::move(workingBase)),
      lines_{
          StatementLines(Side::Customers, tables_[0], files_.Path(WorkingFiles::kCustomerSnapshot)),
          StatementLines(Side::Suppliers, tables_[1],
                         files_.Path(WorkingFiles::kSupplierSnapshot))} {
  files_.CreateFolder();
  Configure(Table(Side::Customers), Side::Customers, files_.Path(WorkingFiles::kCustomerLines));
  Configure(Table(Side::Suppliers), Side::Suppliers, files_.Path(WorkingFiles::kSupplierLines));
  Bind(Side::Customers);
  Bind(Side::Suppliers);
}

Statement::~Statement() { Shutdown(); }

void Statement::Bind(Side side) {
  RecordTable& table = Table(side);
  StatementLines& lines = Lines(side);
  bool& newLine = newLine_[SideIndex(side)];
  table.OnNewRecord = [&newLine](RecordTable&) { newLine = true; };
  table.AfterEdit = [&newLine](RecordTable&) { newLine = false; };
  table.BeforePost = [this, side, &lines, &newLine](RecordTable&) {
    const LineVerdict verdict = lines.CheckPendingLine(filerTaxNumber_.bytes(), newLine);
    if (!verdict.accepted) listener_->LineRefused(side, verdict);
    return verdict.accepted;
  };
  table.BeforeCommit = [&lines](RecordTable&) { lines.WriteLines(); };
  auto changed = [this, side, &lines](RecordTable&) { ShowTotals(side, lines.Sum()); };
  table.AfterPost = changed;
  table.AfterDelete = [this, changed](RecordTable& deletedFrom) {
    // Nothing is typed for a deletion: it is an unsaved change all the same.
    modified_ = true;
    changed(deletedFrom);
  };
}

void Statement::ShowTotals(Side side, const TotalsResult& result) {
  if (result.totals) {
    Totals(side) = {FormatInvoiceTotal(result.totals->invoices),
                    FormatValueTotal(result.totals->value)};
  }
  listener_->LinesChanged(side);
  // The line is stored all the same; the totals keep what they showed.
  if (!result.totals) listener_->TotalsProblem(result.message);
}

AppendedLines Statement::AppendLines(Side side, std::vector<Cp1253Text> lines,
                                     const LineProgress& progress) {
  StatementLines& sideLines = Lines(side);
  AppendedLines result = sideLines.AppendLines(std::move(lines), filerTaxNumber_.bytes(), progress);
  if (result.stored > 0) ShowTotals(side, result.totals);
  if (result.refusal) sideLines.BeginNewLine(result.refusedRecord);
  if (result.stored > 0 || result.refusal) listener_->TableReplaced(side);
  return result;
}

void Statement::Reset() {
  filePath_.clear();
  for (RecordTable& table : tables_) table.Close();
  files_.ResetStatementFiles();
  for (RecordTable& table : tables_) table.Open();
  totals_ = {};
}

std::variant<OpenedStatement, ReadFailure> Statement::Read(const std::string& path) {
  return ReadSubmissionFileAt(path);
}

void Statement::Load(OpenedStatement& opened) {
  for (RecordTable& table : tables_) table.Close();
  WriteOpenedStatement(files_, opened);
  // The working files were written from these very lines a moment ago.
  Table(Side::Customers).OpenWithLines(std::move(opened.customerLines));
  Table(Side::Suppliers).OpenWithLines(std::move(opened.supplierLines));
  for (Side side : {Side::Customers, Side::Suppliers}) Lines(side).TakeSnapshot();
  // The reader added the lines up as it converted them: the same sums a recount gives.
  ShowTotals(Side::Customers, {opened.customerTotals, {}});
  ShowTotals(Side::Suppliers, {opened.supplierTotals, {}});
}

HeaderFields Statement::ReadHeader() const { return ParseHeaderLine(files_.ReadHeaderLine()); }

void Statement::KeepForm(const StatementForm& form) const {
  WriteFileAtomically(files_.Path(WorkingFiles::kForm), ComposeFormFile(form), false);
}

std::optional<StatementForm> Statement::Recover(const std::string& otherBase) {
  const WorkingFiles other(otherBase);
  constexpr const char* kNames[] = {WorkingFiles::kGeneralData,     WorkingFiles::kCustomerLines,
                                    WorkingFiles::kCustomerAmounts, WorkingFiles::kSupplierLines,
                                    WorkingFiles::kSupplierAmounts, WorkingFiles::kForm};
  // Everything is read and checked before the statement on screen is touched: a
  // damaged file is refused, never shown.
  std::vector<std::string> contents;
  for (const char* name : kNames) {
    std::error_code missing;
    const std::string from = other.Path(name);
    const bool lines = name == WorkingFiles::kCustomerLines || name == WorkingFiles::kSupplierLines;
    contents.push_back(
        std::filesystem::exists(from, missing)
            ? ReadFileBytes(from, lines ? kMaxWorkingLinesBytes + 1 : kMaxWorkingSmallFileBytes)
            : std::string());
    if (lines) {
      const Side side = name == WorkingFiles::kCustomerLines ? Side::Customers : Side::Suppliers;
      if (auto refusal = CheckWorkingLines(contents.back(), side)) throw VelmoraError(*refusal);
    }
  }
  for (RecordTable& table : tables_) table.Close();
  std::optional<StatementForm> form;
  for (std::size_t i = 0; i < contents.size(); ++i) {
    WriteFileAtomically(files_.Path(kNames[i]), contents[i], false);
    if (kNames[i] == WorkingFiles::kForm) form = ParseFormFile(contents[i]);
  }
  for (RecordTable& table : tables_) table.Open();
  for (Side side : {Side::Customers, Side::Suppliers}) {
    Lines(side).TakeSnapshot();
    ShowTotals(side, Lines(side).Sum());
  }
  modified_ = true;
  filePath_.clear();
  return form;
}

std::optional<Failure> Statement::CheckLines(std::string_view filerTaxNumber) {
  std::vector<std::string> taxNumbers;
  std::vector<std::string> obligations;
  for (Side side : {Side::Customers, Side::Suppliers}) {
    Lines(side).Keys(taxNumbers, obligations);
    if (auto failure = CheckSideBeforeSave(side, taxNumbers, obligations, filerTaxNumber))
      return failure;
  }
  return std::nullopt;
}

std::optional<std::string> Statement::CheckTotalsAgainstLines() {
  for (Side side : {Side::Customers, Side::Suppliers}) {
    const TotalsResult counted = Lines(side).Sum();
    const bool agree = counted.totals &&
                       FormatInvoiceTotal(counted.totals->invoices) == Totals(side).invoices &&
                       FormatValueTotal(counted.totals->value) == Totals(side).value;
    // Lines that were never counted (an empty list before its first store) show no totals.
    const bool neverCounted = Table(side).RecordCount() == 0 && Totals(side).invoices.empty();
    if (!agree && !neverCounted) {
      return SaveFailedMessage(
          std::string("Τα σύνολα ") + SideGenitive(side) +
          " δεν συμφωνούν με τις γραμμές τους. Ελέγξτε τις αξίες των γραμμών και επαναλάβετε "
          "την αποθήκευση.");
    }
  }
  return std::nullopt;
}

SubmissionStatement Statement::ToSubmission(const StatementForm& form,
                                            const std::string& date) const {
  SubmissionStatement submission;
  submission.creditBalances = form.creditBalances;
  submission.date = date;
  submission.header = form.header;
  submission.customerLines = Table(Side::Customers).Lines();
  submission.supplierLines = Table(Side::Suppliers).Lines();
  submission.retailSales = form.retailSales.bytes();
  submission.customersWithoutItemisation = form.customersWithoutItemisation.bytes();
  submission.suppliersWithoutItemisation = form.suppliersWithoutItemisation.bytes();
  submission.customerInvoiceTotal = Totals(Side::Customers).invoices;
  submission.customerValueTotal = Totals(Side::Customers).value;
  submission.supplierInvoiceTotal = Totals(Side::Suppliers).invoices;
  submission.supplierValueTotal = Totals(Side::Suppliers).value;
  return submission;
}

std::optional<Failure> Statement::Write(const std::string& path,
                                        const SubmissionStatement& statement) {
  auto composed = ComposeSubmissionFile(statement);
  if (auto* refusal = std::get_if<Failure>(&composed)) return std::move(*refusal);
  try {
    WriteFileAtomically(path, std::get<std::string>(composed), true);
  } catch (const std::exception& error) {
    return SystemFailure(SaveFailedMessage(error.what()));
  }
  return std::nullopt;
}

void Statement::CloseTables() noexcept {
  shutDown_ = true;
  for (RecordTable& table : tables_) {
    try {
      table.Close();
    } catch (const std::exception&) {
      // What was written before stays; a last write that failed loses nothing.
    }
  }
  for (Side side : {Side::Customers, Side::Suppliers}) Lines(side).WaitForOldSnapshot();
}

void Statement::LeaveForRecovery() noexcept {
  if (shutDown_) return;
  CloseTables();
}

void Statement::Shutdown() noexcept {
  if (shutDown_) return;
  CloseTables();
  files_.RemoveAll();
}

}  // namespace velmora
