#include "ExportCommand.h"

#include <exception>
#include <filesystem>

#include "AtomicFile.h"
#include "Cp1253.h"
#include "SheetExport.h"
#include "SubmissionWriter.h"

namespace velmora {

namespace {

constexpr const char* kExportFailed = "Η εξαγωγή των γραμμών απέτυχε: ";

bool EndsWithNoCase(const std::string& text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = text[text.size() - suffix.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

ExportOutcome ExportLines(Statement& statement, Questions& questions, Side side,
                          const Cp1253Text& filerTaxNumber) {
  if (!questions.StorePendingLine(side)) return {};
  std::string name = filerTaxNumber.empty() ? std::string() : filerTaxNumber.bytes() + "-";
  name += Utf8ToCp1253(side == Side::Customers ? "ΠΕΛΑΤΕΣ" : "ΠΡΟΜΗΘΕΥΤΕΣ").value_or("");
  name += ".xlsx";
  const Cp1253Text proposedName(name);
  auto path = questions.ChooseSaveFile(FileKind::Spreadsheet, proposedName, kExportFilter, {});
  if (!path || path->empty()) return {};
  const bool csv = EndsWithNoCase(*path, ".csv");
  if (!csv && !EndsWithNoCase(*path, ".xlsx")) *path += ".xlsx";
  std::error_code ignored;
  if (std::filesystem::exists(*path, ignored) &&
      questions.AskYesNo(OverwriteQuestion(std::filesystem::path(*path).filename().string(),
                                           IsReadOnlyFile(*path))) == Questions::Answer::No)
    return {};
  BusyScope busy(questions);
  try {
    const std::vector<std::string>& lines = statement.Table(side).Lines();
    if (csv) {
      WriteFileAtomically(*path, ExportCsvText(lines), true);
    } else {
      WriteExportWorkbook(*path, lines);
    }
  } catch (const std::exception& error) {
    busy.Stop();
    questions.Warn(kExportFailed + std::string(error.what()));
    return {};
  }
  return {*path};
}

}  // namespace velmora
