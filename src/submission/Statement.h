#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "PreSaveChecks.h"
#include "Side.h"
#include "StatementLines.h"
#include "SubmissionReader.h"
#include "SubmissionWriter.h"
#include "TFixedFormatDataSet.h"
#include "WorkingFiles.h"

namespace velmora {

// The statement being edited, apart from any window: its working files, the two
// line tables with their snapshot tables, what happens when a line is stored or
// deleted, and reading and writing it as a submission file. The window shows it
// and asks the user; the benchmark drives it directly.
class Statement {
 public:
  explicit Statement(std::string workingBase);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // The filer's tax number as typed (Windows-1253), which a line may not carry.
  std::function<std::string()> FilerAfm;
  // A line its checks refused; the store stops after this.
  std::function<void(Side, const LineVerdict&)> OnLineRefused;
  // After a line was stored or deleted, and after a file was loaded.
  std::function<void(Side, int lineCount, const TotalsResult&)> OnLinesChanged;

  const WorkingFiles& Files() const { return files_; }
  TFixedFormatDataSet& Table(Side side) { return side == Side::Customers ? customers : suppliers; }
  StatementLines& Lines(Side side) {
    return side == Side::Customers ? customerLines_ : supplierLines_;
  }

  // An empty statement: the working files emptied, the line tables reopened.
  void Reset();
  // Reads a whole submission file; a file that fails any check changes nothing.
  static std::variant<OpenedStatement, ReadFailure> Read(const std::string& path);
  // Replaces the working files and the lines with an opened file's (its lines
  // are moved out of it).
  void Load(OpenedStatement& opened);
  // The lines' part of the checks before a save: the filer's number and pairs.
  std::optional<SaveCheckFailure> CheckLines(std::string_view filerAfm);
  // Writes the file whole, durably, through a temporary file. A refusal comes
  // back as a problem; a failing disk throws VelmoraError with its reason.
  static std::optional<WriteProblem> Write(const std::string& path,
                                           const SubmissionStatement& statement);
  // Closes the tables and removes the working files; the statement is gone.
  void Shutdown() noexcept;

  // Customer lines, supplier lines and the snapshot copies of each.
  TFixedFormatDataSet customers;
  TFixedFormatDataSet suppliers;
  TFixedFormatDataSet customerSnapshot;
  TFixedFormatDataSet supplierSnapshot;
  bool newCustomerLine = false;
  bool newSupplierLine = false;

 private:
  void Bind(Side side);

  WorkingFiles files_;
  StatementLines customerLines_;
  StatementLines supplierLines_;
  bool shutDown_ = false;
};

}  // namespace velmora
