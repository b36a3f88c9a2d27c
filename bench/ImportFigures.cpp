#include "ImportFigures.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "AutomaticAnswers.h"
#include "ImportCommand.h"
#include "PlainFile.h"
#include "Statement.h"
#include "StatementCommands.h"
#include "StatementGenerator.h"
#include "Stopwatch.h"
#include "TextFile.h"
#include "WorkingFiles.h"

namespace velmora {

namespace {

constexpr int kRows = 99'999;
constexpr int kTimedRuns = 5;

// The sheet as accounting software exports it: UTF-8, ';' between fields, CR LF,
// Greek texts, values with cents, both obligation codes.
std::string GenerateCsv() {
  std::string csv;
  csv.reserve(static_cast<std::size_t>(kRows) * 96);
  char row[256];
  for (int i = 0; i < kRows; ++i) {
    const auto index = static_cast<uint32_t>(i);
    std::snprintf(row, sizeof row,
                  "%s;ΕΠΩΝΥΜΙΑ ΠΕΛΑΤΗ %d;ΕΜΠΟΡΟΣ;%d;ΑΘΗΝΑ;ΣΤΑΔΙΟΥ;%d;10564;%d;%d,%02d\r\n",
                  StatementGenerator::CounterPartyTaxNumber(index).c_str(), i, i % 4 == 0 ? 1 : 0,
                  i % 999 + 1, i % 50 + 1, i % 100'000 + 1, i % 100);
    csv += row;
  }
  return csv;
}

std::string Ms(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", seconds * 1000);
  return text;
}

}  // namespace

void ReportImportFigures(FigureReport& report, const std::string& folder,
                         const HeaderFields& filer) {
  const std::string sheet = folder + "/big.csv";
  const std::string copy = folder + "/copy.txt";
  WritePlainFile(sheet, GenerateCsv(), false);
  const std::string working = folder + "/statement";
  std::filesystem::create_directories(working);

  Statement statement(working);
  statement.FilerTaxNumber = [&filer] { return filer.taxNumber; };
  AutomaticAnswers answers(folder);
  answers.SetFileToOpen(sheet);
  const std::string workingFile = statement.Files().Path(WorkingFiles::kCustomerLines);

  auto emptyStatement = [&] {
    statement.SetModified(false);  // thrown away, not saved
    if (!NewStatement(statement, answers, {}, {}).shown)
      throw std::runtime_error("the statement was not emptied");
    answers.ClearMessages();
  };
  ImportOutcome outcome;
  auto import = [&] { outcome = ImportSpreadsheet(statement, answers); };
  // The yardstick writes what the import wrote, so it needs one import first.
  emptyStatement();
  import();
  const std::string imported = ReadPlainFile(workingFile);
  auto removeCopy = [&] { std::filesystem::remove(copy); };
  auto plainReadAndWrite = [&] {
    const std::string bytes = ReadPlainFile(sheet);
    WritePlainFile(copy, imported, false);
    if (bytes.empty()) throw std::runtime_error("the sheet is empty");
  };
  const auto [plain, timed] =
      Stopwatch::BestInTurns(kTimedRuns, removeCopy, plainReadAndWrite, emptyStatement, import);

  if (!answers.Messages().empty())
    throw std::runtime_error("import: the command said: " + answers.Messages().front());
  const RecordTable& table = statement.Table(Side::Customers);
  if (outcome.linesStored != kRows || table.RecordCount() != kRows ||
      ReadPlainFile(workingFile) != JoinCrLf(table.Lines()))
    throw std::runtime_error("import: not every row reached the working file");
  report.AtMost("import_csv", timed / plain, 10,
                Ms(timed) + " against " + Ms(plain) + " to read the " +
                    std::to_string(std::filesystem::file_size(sheet)) +
                    "-byte sheet and write the working file");
}

}  // namespace velmora
