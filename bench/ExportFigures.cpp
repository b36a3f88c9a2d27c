#include "ExportFigures.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "ExportCommand.h"
#include "PlainFile.h"
#include "SheetExport.h"
#include "Stopwatch.h"

namespace velmora {

namespace {

constexpr int kTimedRuns = 5;

std::string Ms(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", seconds * 1000);
  return text;
}

// The same cells as the export, made beforehand, written by the library alone.
void WriteCellsAlone(const std::string& path, const std::vector<std::array<ExportCell, 10>>& rows) {
  lxw_workbook* workbook = workbook_new(path.c_str());
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (lxw_col_t column = 0; column < 10; ++column) {
      const ExportCell& cell = rows[row][column];
      const auto at = static_cast<lxw_row_t>(row);
      if (cell.number) {
        std::string point = cell.text;
        std::replace(point.begin(), point.end(), ',', '.');
        worksheet_write_number(sheet, at, column, std::stod(point), nullptr);
      } else if (!cell.text.empty()) {
        worksheet_write_string(sheet, at, column, cell.text.c_str(), nullptr);
      }
    }
  }
  if (workbook_close(workbook) != LXW_NO_ERROR) throw std::runtime_error("libxlsxwriter failed");
}

double TimeExport(Statement& statement, AutomaticAnswers& answers, const std::string& name) {
  answers.SetSaveName(name);
  std::string written;
  const double seconds = Stopwatch::Best(kTimedRuns, [&] {
    written = ExportLines(statement, answers, Side::Customers, {}).path.value_or(std::string());
  });
  answers.SetSaveName({});
  if (written.empty() || !answers.Messages().empty())
    throw std::runtime_error("export of " + name + " failed");
  std::filesystem::remove(written);
  return seconds;
}

}  // namespace

void RunExportFigures(Statement& statement, AutomaticAnswers& answers, const std::string& folder,
                      FigureReport& report) {
  const std::vector<std::string>& lines = statement.Table(Side::Customers).Lines();
  std::vector<std::array<ExportCell, 10>> cells;
  cells.reserve(lines.size());
  for (const std::string& line : lines) cells.push_back(ExportCellsOf(line));
  const std::string alone = folder + "/export-yardstick.xlsx";
  const double library = Stopwatch::Best(kTimedRuns, [&] { WriteCellsAlone(alone, cells); });
  std::filesystem::remove(alone);
  const double xlsx = TimeExport(statement, answers, "export.xlsx");
  report.AtMost("export_xlsx", xlsx / library, 2,
                Ms(xlsx) + " against " + Ms(library) + " for libxlsxwriter alone");

  const std::string bytes = ExportCsvText(lines);
  const std::string plain = folder + "/export-yardstick.csv";
  const double write = Stopwatch::Best(kTimedRuns, [&] { WritePlainFile(plain, bytes, true); });
  std::filesystem::remove(plain);
  const double csv = TimeExport(statement, answers, "export.csv");
  report.AtMost("export_csv", csv / write, 5,
                Ms(csv) + " against " + Ms(write) + " to write the same bytes with fsync");
}

}  // namespace velmora
