#include "Statement.h"

#include "AtomicFile.h"
#include "LineLayout.h"
#include "OpenedStatementFiles.h"
#include "SideBySide.h"
#include "TextFile.h"
#include "VelmoraError.h"

namespace velmora {

namespace {

// Far beyond any statement (200,000 lines are 30 MB): a larger file is not read.
constexpr size_t kLargestSubmissionFile = size_t{1} << 30;

void Configure(TFixedFormatDataSet& table, const std::vector<std::string>& schema,
               std::string path) {
  table.SetSchema(schema);
  table.SetFileName(std::move(path));
  table.SetFileMustExist(true);
  table.SetReadOnly(false);
  table.SetTrimSpace(true);
}

}  // namespace

Statement::Statement(std::string workingBase)
    : files_(std::move(workingBase)),
      customerLines_(Side::Customers, customers, files_.Path(WorkingFiles::kCustomerSnapshot)),
      supplierLines_(Side::Suppliers, suppliers, files_.Path(WorkingFiles::kSupplierSnapshot)) {
  files_.CreateFolder();
  Configure(customers, CustomerLineSchema(), files_.Path(WorkingFiles::kCustomerLines));
  Configure(suppliers, SupplierLineSchema(), files_.Path(WorkingFiles::kSupplierLines));
  Configure(customerSnapshot, CustomerLineSchema(), files_.Path(WorkingFiles::kCustomerSnapshot));
  Configure(supplierSnapshot, SupplierLineSchema(), files_.Path(WorkingFiles::kSupplierSnapshot));
  Bind(Side::Customers);
  Bind(Side::Suppliers);
}

Statement::~Statement() { Shutdown(); }

void Statement::Bind(Side side) {
  TFixedFormatDataSet& table = Table(side);
  StatementLines& lines = Lines(side);
  bool& newLine = side == Side::Customers ? newCustomerLine : newSupplierLine;
  table.OnNewRecord = [&newLine](TFixedFormatDataSet&) { newLine = true; };
  table.AfterEdit = [&newLine](TFixedFormatDataSet&) { newLine = false; };
  table.BeforePost = [this, side, &lines, &newLine](TFixedFormatDataSet&) {
    const LineVerdict verdict = lines.CheckPendingLine(FilerAfm ? FilerAfm() : "", newLine);
    if (verdict.accepted) return;
    if (OnLineRefused) OnLineRefused(side, verdict);
    throw AbortError();
  };
  auto changed = [this, side, &lines](TFixedFormatDataSet& stored) {
    const TotalsResult totals = lines.AfterLinesChanged();
    if (OnLinesChanged) OnLinesChanged(side, stored.RecordCount(), totals);
  };
  table.AfterPost = changed;
  table.AfterDelete = changed;
}

void Statement::Reset() {
  customers.Close();
  suppliers.Close();
  files_.ResetStatementFiles();
  customers.Open();
  suppliers.Open();
}

std::variant<OpenedStatement, ReadFailure> Statement::Read(const std::string& path) {
  std::string bytes;
  try {
    bytes = ReadFileBytes(path, kLargestSubmissionFile);
  } catch (const std::exception& error) {
    return ReadFailure{
        std::string("Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου\n") + error.what(), true, 0,
        true};
  }
  return ReadSubmissionFile(bytes);
}

void Statement::Load(OpenedStatement& opened) {
  customers.Close();
  suppliers.Close();
  WriteOpenedStatement(files_, opened);
  // The working files were written from these very lines a moment ago.
  customers.OpenWithLines(std::move(opened.customerLines));
  suppliers.OpenWithLines(std::move(opened.supplierLines));
  for (Side side : {Side::Customers, Side::Suppliers}) Lines(side).TakeSnapshot();
  // The reader added the lines up as it converted them: the same sums a recount gives.
  for (Side side : {Side::Customers, Side::Suppliers}) {
    const TotalsResult totals{
        side == Side::Customers ? opened.customerTotals : opened.supplierTotals, {}};
    if (OnLinesChanged) OnLinesChanged(side, Table(side).RecordCount(), totals);
  }
}

std::optional<SaveCheckFailure> Statement::CheckLines(std::string_view filerAfm) {
  std::vector<std::string> afms;
  std::vector<std::string> ypovolhs;
  for (Side side : {Side::Customers, Side::Suppliers}) {
    Lines(side).Keys(afms, ypovolhs);
    if (auto failure = CheckSideBeforeSave(side, afms, ypovolhs, filerAfm)) return failure;
  }
  return std::nullopt;
}

std::optional<WriteProblem> Statement::Write(const std::string& path,
                                             const SubmissionStatement& statement) {
  auto composed = ComposeSubmissionFile(statement);
  if (auto* problem = std::get_if<WriteProblem>(&composed)) return std::move(*problem);
  WriteFileAtomically(path, std::get<std::string>(composed), true);
  return std::nullopt;
}

void Statement::Shutdown() noexcept {
  if (shutDown_) return;
  shutDown_ = true;
  for (TFixedFormatDataSet* table : {&customers, &suppliers}) {
    try {
      table->Close();
    } catch (const std::exception&) {
      // The working files go next: a last write that failed loses nothing.
    }
  }
  for (Side side : {Side::Customers, Side::Suppliers}) Lines(side).WaitForOldSnapshot();
  files_.RemoveAll();
}

}  // namespace velmora
