#include "PrintFigures.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "PlainFile.h"
#include "PrintCommand.h"
#include "Stopwatch.h"
#include "WorkingFiles.h"

namespace velmora {

namespace {

constexpr int kTimedRuns = 9;

std::string Ms(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", seconds * 1000);
  return text;
}

}  // namespace

void RunPrintFigures(Statement& statement, AutomaticAnswers& answers, const StatementForm& form,
                     const std::string& folder, FigureReport& report) {
  const std::string workingFile = statement.Files().Path(WorkingFiles::kCustomerLines);
  const std::string copy = folder + "/print-yardstick.txt";
  const int lineCount = statement.Table(Side::Customers).RecordCount();
  std::string pagePath;
  auto removeCopy = [&] { std::filesystem::remove(copy); };
  auto plainCopy = [&] { WritePlainFile(copy, ReadPlainFile(workingFile), false); };
  auto removePage = [&] {
    if (!pagePath.empty()) std::filesystem::remove(pagePath);
  };
  auto printPage = [&] {
    pagePath = PrintStatementPage(statement, answers, Side::Customers, form, folder)
                   .pagePath.value_or(std::string());
  };
  const auto [plain, print] =
      Stopwatch::BestInTurns(kTimedRuns, removeCopy, plainCopy, removePage, printPage);
  removeCopy();
  if (!answers.Messages().empty())
    throw std::runtime_error("print_page: the command said: " + answers.Messages().front());
  // The last line's row must be on the page: the figure is of the whole statement.
  const std::string lastRow = R"(<tr>)"
                              "\r\n"
                              R"(<td class="style2">)" +
                              std::to_string(lineCount) + "</td>";
  if (pagePath.empty() || ReadPlainFile(pagePath).find(lastRow) == std::string::npos)
    throw std::runtime_error("print_page: the page does not hold every line");
  report.AtMost("print_page", print / plain, 5,
                Ms(print) + " against " + Ms(plain) + " to read and write the working file");
}

}  // namespace velmora
