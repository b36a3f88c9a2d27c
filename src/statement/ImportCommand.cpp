#include "ImportCommand.h"

#include <atomic>
#include <exception>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "RecordLayout.h"
#include "SheetImport.h"
#include "SpreadsheetReader.h"

namespace velmora {

namespace {

constexpr const char* kImportFailedPrefix = "Η εισαγωγή των στοιχείων απέτυχε: ";

// One reading of a sheet into working lines, owned by the thread that does it:
// a stopped reading ends by itself, its result unused.
struct SheetReading {
  std::string path;
  Side side;
  Cp1253Text filer;
  // The side's stored lines, which the sheet's rows must not repeat; a copy, since
  // a stopped reading may outlive the command.
  std::vector<std::string> stored;
  std::atomic<bool> stop{false};
  std::optional<std::vector<Cp1253Text>> lines;
  std::string refusal;
  // Every refused row, one a line, when rows were refused.
  std::string details;

  void Run() {
    try {
      SheetReadResult read = ReadFirstSheet(path, &stop);
      if (stop) return;
      if (const auto* failure = std::get_if<SheetReadFailure>(&read)) {
        refusal = SheetReadFailureMessage(*failure);
        return;
      }
      SheetImportResult converted =
          SheetToLines(std::get<Sheet>(read), side, filer.view(), &stored);
      if (auto* convertedLines = std::get_if<std::vector<Cp1253Text>>(&converted)) {
        lines = std::move(*convertedLines);
        return;
      }
      auto& refused = std::get<SheetImportRefusal>(converted);
      refusal = std::move(refused.message);
      details = RefusedRowsText(refused.rows);
    } catch (const std::exception&) {
      // Out of memory on a huge sheet, or a reader's own surprise.
      refusal = SheetReadFailureMessage({SheetReadFailure::Reason::Damaged});
    }
  }
};

// The sheet's rows as working lines, or nullopt after telling the user why not
// (the first refused row, and every refused row in the details), or at once when
// the user stopped the reading.
std::optional<std::vector<Cp1253Text>> ReadSheetLines(Questions& questions, const std::string& path,
                                                      Side side, const Cp1253Text& filer,
                                                      const std::vector<std::string>& stored) {
  auto reading = std::make_shared<SheetReading>();
  reading->path = path;
  reading->side = side;
  reading->filer = filer;
  reading->stored = stored;
  const bool finished =
      questions.RunStoppable([reading] { reading->Run(); }, {reading, &reading->stop});
  if (!finished) return std::nullopt;
  if (reading->lines) return std::move(reading->lines);
  if (reading->details.empty())
    questions.Tell(reading->refusal, false);
  else
    questions.TellWithDetails(reading->refusal, reading->details);
  return std::nullopt;
}

}  // namespace

std::string ImportOverLimitMessage(Side side, std::size_t sheetLines, std::size_t sideLines) {
  return kImportFailedPrefix + std::string("οι ") + std::to_string(sheetLines) +
         " γραμμές του φύλλου μαζί με τις " + std::to_string(sideLines) + " γραμμές " +
         SideGenitive(side) + " κάνουν " + std::to_string(sheetLines + sideLines) +
         ", ενώ η δήλωση χωράει έως 99999. Δεν εισήχθη καμία γραμμή.";
}

bool IsSpreadsheetFileName(std::string_view path) {
  const auto dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return false;
  std::string extension;
  for (char c : path.substr(dot + 1))
    extension += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension == "xls" || extension == "xlsx" || extension == "ods" || extension == "csv";
}

ImportOutcome ImportSpreadsheet(Statement& statement, Questions& questions,
                                const std::optional<std::string>& givenPath) {
  ImportOutcome outcome;
  if (!questions.StorePendingLine(Side::Customers) || !questions.StorePendingLine(Side::Suppliers))
    return outcome;
  const auto choice =
      questions.AskChoice(kImportQuestion, {kImportCustomers, kImportSuppliers, kImportCancel});
  if (!choice || *choice > 1) return outcome;
  const Side side = *choice == 0 ? Side::Customers : Side::Suppliers;
  const auto path =
      givenPath ? givenPath : questions.ChooseOpenFile(FileKind::Spreadsheet, kSpreadsheetFilter);
  if (!path || path->empty()) return outcome;

  const Cp1253Text& filer = statement.FilerTaxNumber();
  auto lines = ReadSheetLines(questions, *path, side, filer, statement.Table(side).Lines());
  if (!lines) return outcome;

  // The grid may have offered a new row again as the dialogs closed and gave
  // it back the focus: the lines go after stored lines only.
  if (!questions.StorePendingLine(side)) return outcome;
  const std::size_t count = lines->size();
  const auto already = static_cast<std::size_t>(statement.Table(side).RecordCount());
  if (already + count > static_cast<std::size_t>(kMaxLinesPerSide)) {
    // Refused whole: a side past the limit could not be saved, and its surplus
    // lines could only be deleted one at a time.
    questions.Tell(ImportOverLimitMessage(side, count, already), false);
    return outcome;
  }
  AppendedLines appended;
  try {
    appended = statement.AppendLines(side, std::move(*lines),
                                     [&questions](std::size_t done, std::size_t total) {
                                       return questions.ReportProgress(done, total);
                                     });
  } catch (const std::exception& error) {
    questions.ReportProgress(count, count);
    questions.Warn(kImportFailedPrefix + std::string(error.what()));
    return outcome;
  }
  if (appended.cancelled) return outcome;

  outcome.changedSide = side;
  outcome.linesStored = appended.stored;
  // Also after a refusal: the lines stored before it are changes to keep.
  statement.SetModified(true);
  if (appended.refusal) {
    questions.Tell(appended.refusal->message, true);
    questions.Tell(kImportInterrupted, false);
  }
  return outcome;
}

}  // namespace velmora
