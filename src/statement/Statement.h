#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "HeaderLine.h"
#include "LineChecks.h"
#include "LineTotals.h"
#include "PreSaveChecks.h"
#include "RecordTable.h"
#include "Side.h"
#include "StatementForm.h"
#include "StatementLines.h"
#include "StatementListener.h"
#include "SubmissionReader.h"
#include "SubmissionWriter.h"
#include "WorkingFiles.h"

namespace velmora {

// The statement being edited, apart from any window: its working files, the two
// line tables, what happens when a line is stored or deleted, the totals under
// each list, and whether anything changed since it was last saved. The window
// shows it; the commands (StatementCommands.h) change it; the benchmark drives
// the same commands.
class Statement {
 public:
  explicit Statement(std::string workingBase);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Whoever shows the statement; nullptr for nobody. It must outlive the
  // statement or be taken away first.
  void SetListener(StatementListener* listener) { listener_ = listener ? listener : &nobody_; }
  // The filer's tax number as typed (Windows-1253), which a line may not carry:
  // the window hands it down whenever it changes.
  void SetFilerTaxNumber(Cp1253Text taxNumber) { filerTaxNumber_ = std::move(taxNumber); }
  const Cp1253Text& FilerTaxNumber() const { return filerTaxNumber_; }

  const WorkingFiles& Files() const { return files_; }
  RecordTable& Table(Side side) { return tables_[SideIndex(side)]; }
  const RecordTable& Table(Side side) const { return tables_[SideIndex(side)]; }
  StatementLines& Lines(Side side) { return lines_[SideIndex(side)]; }

  // The texts of the totals under a list: the invoice count and the value with
  // two decimals; empty before the first count.
  Cp1253Text InvoiceTotalText(Side side) const { return Cp1253Text(Totals(side).invoices); }
  Cp1253Text ValueTotalText(Side side) const { return Cp1253Text(Totals(side).value); }

  // Unsaved changes: set by every edit, cleared by a save.
  bool Modified() const { return modified_; }
  // Closes the tables, their last lines written, and leaves the working files in
  // place, to be offered back at the next start.
  void LeaveForRecovery() noexcept;
  void SetModified(bool modified) { modified_ = modified; }
  // The submission file the statement was opened from or last saved to; empty
  // for a new or recovered statement.
  const std::string& FilePath() const { return filePath_; }
  void SetFilePath(std::string path) { filePath_ = std::move(path); }

  // Stores lines (150-character working lines) after that side's stored lines, as
  // if each were typed into a new line of the grid and stored in turn: the same
  // checks, the same first refusal, after which the refused line stays pending.
  // The files and the totals are written and counted once, and LinesChanged
  // follows when a line was stored. The refusal is not announced: the caller
  // tells it. A progress that answers false stops the run with nothing stored.
  // The side must hold no pending line. Throws VelmoraError when the working file
  // cannot be written; nothing is stored then.
  AppendedLines AppendLines(Side side, std::vector<Cp1253Text> lines,
                            const LineProgress& progress = {});

  // An empty statement, of no file: the working files emptied, the line tables
  // reopened.
  void Reset();
  // Reads a whole submission file; a file that fails any check changes nothing.
  static std::variant<OpenedStatement, ReadFailure> Read(const std::string& path);
  // Replaces the working files and the lines with an opened file's (its lines
  // are moved out of it).
  void Load(OpenedStatement& opened);
  // The filer's fields as the working header file holds them. Throws
  // VelmoraError with the system's reason when it cannot be read.
  HeaderFields ReadHeader() const;
  // Keeps the form in the working folder, where a statement recovered after a
  // crash finds it. Throws VelmoraError with the system's reason.
  void KeepForm(const StatementForm& form) const;
  // Takes over the working files that another copy left in its base folder: the
  // lines become this statement's, marked as changed. The form comes back when
  // that copy had kept one. Throws VelmoraError with the system's reason; the
  // other folder is only read.
  std::optional<StatementForm> Recover(const std::string& otherBase);
  // The lines' part of the checks before a save: the filer's number and pairs.
  std::optional<Failure> CheckLines(std::string_view filerTaxNumber);
  // The totals shown under each list, counted again from the lines: a message
  // when they differ, which a file must never carry.
  std::optional<std::string> CheckTotalsAgainstLines();
  // The submission file's content, made from the form, the lines and the totals.
  SubmissionStatement ToSubmission(const StatementForm& form, const std::string& date) const;
  // Writes the file whole, durably, through a temporary file. A refusal, or a
  // failing disk with its reason, comes back as the failure; nothing was
  // written over the file then.
  static std::optional<Failure> Write(const std::string& path,
                                      const SubmissionStatement& statement);
  // Closes the tables and removes the working files; the statement is gone.
  void Shutdown() noexcept;

 private:
  struct TotalsTexts {
    std::string invoices, value;
  };

  void Bind(Side side);
  // Closes both tables, writing what they hold, and marks the statement shut down.
  void CloseTables() noexcept;
  void ShowTotals(Side side, const TotalsResult& result);
  TotalsTexts& Totals(Side side) { return totals_[SideIndex(side)]; }
  const TotalsTexts& Totals(Side side) const { return totals_[SideIndex(side)]; }

  WorkingFiles files_;
  // Each side's, customers first (SideIndex).
  std::array<RecordTable, 2> tables_;
  std::array<StatementLines, 2> lines_;
  std::array<TotalsTexts, 2> totals_;
  // The pending line was begun new (insert or append) rather than put into editing.
  std::array<bool, 2> newLine_{};
  bool modified_ = false;
  std::string filePath_;
  Cp1253Text filerTaxNumber_;
  StatementListener nobody_;
  StatementListener* listener_ = &nobody_;
  bool shutDown_ = false;
};

}  // namespace velmora
