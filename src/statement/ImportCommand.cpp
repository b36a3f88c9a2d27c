#include "ImportCommand.h"

#include <exception>
#include <string>
#include <variant>
#include <vector>

#include "SheetImport.h"
#include "SpreadsheetReader.h"

namespace velmora {

namespace {

constexpr const char* kImportFailedPrefix = "Η εισαγωγή των στοιχείων απέτυχε: ";

// The sheet's rows as working lines, or nullopt after telling the user why not:
// the first refused row, and every refused row in the details.
std::optional<std::vector<Cp1253Text>> ReadSheetLines(Questions& questions, const std::string& path,
                                                      Side side, const Cp1253Text& filer,
                                                      const std::vector<std::string>& stored) {
  std::string refusal;
  std::string details;
  {
    BusyScope busy(questions);
    try {
      SheetReadResult read = ReadFirstSheet(path);
      if (const auto* failure = std::get_if<SheetReadFailure>(&read)) {
        refusal = SheetReadFailureMessage(*failure);
      } else {
        SheetImportResult converted =
            SheetToLines(std::get<Sheet>(read), side, filer.view(), &stored);
        if (auto* lines = std::get_if<std::vector<Cp1253Text>>(&converted))
          return std::move(*lines);
        auto& refused = std::get<SheetImportRefusal>(converted);
        refusal = std::move(refused.message);
        details = RefusedRowsText(refused.rows);
      }
    } catch (const std::exception&) {
      // Out of memory on a huge sheet, or a reader's own surprise.
      refusal = SheetReadFailureMessage({SheetReadFailure::Reason::Damaged});
    }
  }
  if (details.empty())
    questions.Tell(refusal, false);
  else
    questions.TellWithDetails(refusal, details);
  return std::nullopt;
}

}  // namespace

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

  const Cp1253Text filer = statement.FilerTaxNumber ? statement.FilerTaxNumber() : Cp1253Text();
  auto lines = ReadSheetLines(questions, *path, side, filer, statement.Table(side).Lines());
  if (!lines) return outcome;

  // The grid may have offered a new row again as the dialogs closed and gave
  // it back the focus: the lines go after stored lines only.
  if (!questions.StorePendingLine(side)) return outcome;
  const std::size_t count = lines->size();
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
