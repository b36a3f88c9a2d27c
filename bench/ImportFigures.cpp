#include "ImportFigures.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <freexl.h>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>
#include <stdexcept>
#include <vector>

#include "AutomaticAnswers.h"
#include "ImportCommand.h"
#include "PlainFile.h"
#include "Statement.h"
#include "StatementCommands.h"
#include "StatementGenerator.h"
#include "Stopwatch.h"
#include "TextFile.h"
#include "WorkingFiles.h"
#include "GeneratedWorkbooks.h"

namespace velmora {

namespace {

constexpr int kRows = 99'999;
// The most rows an .xls sheet holds, the first of them one short.
constexpr int kXlsRows = 65'535;
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

// The same rows as a workbook holds them: numbers where the row has numbers.
std::vector<std::vector<WorkbookCell>> GenerateRows() {
  std::vector<std::vector<WorkbookCell>> rows(kRows);
  auto text = [](std::string value) { return WorkbookCell{true, 0, std::move(value)}; };
  auto number = [](double value) { return WorkbookCell{false, value, {}}; };
  for (int i = 0; i < kRows; ++i) {
    rows[i] = {text(StatementGenerator::CounterPartyTaxNumber(static_cast<uint32_t>(i))),
               text("ΕΠΩΝΥΜΙΑ ΠΕΛΑΤΗ " + std::to_string(i)),
               text("ΕΜΠΟΡΟΣ"),
               number(i % 4 == 0 ? 1 : 0),
               text("ΑΘΗΝΑ"),
               text("ΣΤΑΔΙΟΥ"),
               number(i % 999 + 1),
               number(10564),
               number(i % 50 + 1),
               number((i % 100'000 + 1) + (i % 100) / 100.0)};
  }
  return rows;
}

// Times "Εισαγωγή στοιχείων από Excel" of sheet into the customers of an emptied
// statement, in turns with yardstick, and checks that every row arrived.
struct ImportTiming {
  double import = 0, yardstick = 0;
};

ImportTiming TimeImport(Statement& statement, AutomaticAnswers& answers, const std::string& sheet,
                        int rows, const std::function<void()>& prepareYardstick,
                        const std::function<void()>& yardstick) {
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
  emptyStatement();
  import();
  const auto [plain, timed] =
      Stopwatch::BestInTurns(kTimedRuns, prepareYardstick, yardstick, emptyStatement, import);
  if (!answers.Messages().empty())
    throw std::runtime_error("import: the command said: " + answers.Messages().front());
  const RecordTable& table = statement.Table(Side::Customers);
  if (outcome.linesStored != static_cast<std::size_t>(rows) || table.RecordCount() != rows ||
      ReadPlainFile(workingFile) != JoinCrLf(table.Lines()))
    throw std::runtime_error("import of " + sheet + ": not every row reached the working file");
  return {timed, plain};
}

// orcus parsing a workbook and handing every cell to a factory that only counts
// them: the parsing itself, with nothing of ours.
namespace iface = orcus::spreadsheet::iface;
using orcus::spreadsheet::col_t;
using orcus::spreadsheet::row_t;

class CountingStrings : public iface::import_shared_strings {
 public:
  std::size_t append(std::string_view) override { return count_++; }
  std::size_t add(std::string_view) override { return count_++; }
  void set_segment_font(std::size_t) override {}
  void set_segment_bold(bool) override {}
  void set_segment_italic(bool) override {}
  void set_segment_font_name(std::string_view) override {}
  void set_segment_font_size(double) override {}
  void set_segment_font_color(orcus::spreadsheet::color_elem_t, orcus::spreadsheet::color_elem_t,
                              orcus::spreadsheet::color_elem_t,
                              orcus::spreadsheet::color_elem_t) override {}
  void append_segment(std::string_view) override {}
  std::size_t commit_segments() override { return count_++; }

 private:
  std::size_t count_ = 0;
};

class CountingSheet : public iface::import_sheet {
 public:
  void set_auto(row_t, col_t, std::string_view) override { ++cells; }
  void set_string(row_t, col_t, orcus::spreadsheet::string_id_t) override { ++cells; }
  void set_value(row_t, col_t, double) override { ++cells; }
  void set_bool(row_t, col_t, bool) override { ++cells; }
  void set_date_time(row_t, col_t, int, int, int, int, int, double) override { ++cells; }
  void set_format(row_t, col_t, std::size_t) override {}
  void set_format(row_t, col_t, row_t, col_t, std::size_t) override {}
  void fill_down_cells(row_t, col_t, row_t) override {}
  orcus::spreadsheet::range_size_t get_sheet_size() const override { return {1048576, 16384}; }

  std::size_t cells = 0;
};

// The cells' "B7" addresses, which orcus checks against the rows it reads.
class A1Addresses : public iface::import_reference_resolver {
 public:
  orcus::spreadsheet::src_address_t resolve_address(std::string_view address) override {
    orcus::spreadsheet::src_address_t at{};
    std::size_t i = 0;
    for (; i < address.size() && address[i] >= 'A' && address[i] <= 'Z'; ++i)
      at.column = at.column * 26 + (address[i] - 'A' + 1);
    for (; i < address.size(); ++i) at.row = at.row * 10 + (address[i] - '0');
    --at.column;
    --at.row;
    return at;
  }
  orcus::spreadsheet::src_range_t resolve_range(std::string_view range) override {
    const auto colon = range.find(':');
    return {resolve_address(range.substr(0, colon)),
            resolve_address(colon == std::string_view::npos ? range : range.substr(colon + 1))};
  }
};

class CountingFactory : public iface::import_factory {
 public:
  iface::import_shared_strings* get_shared_strings() override { return &strings_; }
  iface::import_reference_resolver* get_reference_resolver(
      orcus::spreadsheet::formula_ref_context_t) override {
    return &references_;
  }
  iface::import_sheet* append_sheet(orcus::spreadsheet::sheet_t, std::string_view) override {
    return &sheet;
  }
  iface::import_sheet* get_sheet(std::string_view) override { return &sheet; }
  iface::import_sheet* get_sheet(orcus::spreadsheet::sheet_t) override { return &sheet; }
  void finalize() override {}

  CountingSheet sheet;

 private:
  CountingStrings strings_;
  A1Addresses references_;
};

// FreeXL reading every cell of the first sheet, with nothing of ours.
void ReadWithFreeXlAlone(const std::string& path) {
  const void* workbook = nullptr;
  if (freexl_open(path.c_str(), &workbook) != FREEXL_OK)
    throw std::runtime_error("FreeXL could not open the workbook");
  unsigned int rows = 0;
  unsigned short columns = 0;
  std::size_t values = 0;
  FreeXL_CellValue value;
  if (freexl_select_active_worksheet(workbook, 0) == FREEXL_OK &&
      freexl_worksheet_dimensions(workbook, &rows, &columns) == FREEXL_OK) {
    for (unsigned int row = 0; row < rows; ++row) {
      for (unsigned short column = 0; column < columns; ++column) {
        if (freexl_get_cell_value(workbook, row, column, &value) == FREEXL_OK &&
            value.type != FREEXL_CELL_NULL)
          ++values;
      }
    }
  }
  freexl_close(workbook);
  if (values != static_cast<std::size_t>(kXlsRows) * 10)
    throw std::runtime_error("FreeXL alone did not read every cell");
}

void ParseWithOrcusAlone(const std::string& path) {
  CountingFactory factory;
  orcus::orcus_xlsx loader(&factory);
  loader.read_file(path);
  if (factory.sheet.cells != static_cast<std::size_t>(kRows) * 10)
    throw std::runtime_error("orcus alone did not read every cell");
}

}  // namespace

void ReportImportFigures(FigureReport& report, const std::string& folder,
                         const HeaderFields& filer) {
  const std::string csv = folder + "/big.csv";
  const std::string xlsx = folder + "/big.xlsx";
  const std::string copy = folder + "/copy.txt";
  WritePlainFile(csv, GenerateCsv(), false);
  WritePlainFile(xlsx, MakeXlsxWorkbook(GenerateRows()), false);
  const std::string working = folder + "/statement";
  std::filesystem::create_directories(working);

  Statement statement(working);
  statement.SetFilerTaxNumber(filer.taxNumber);
  AutomaticAnswers answers(folder);
  const std::string workingFile = statement.Files().Path(WorkingFiles::kCustomerLines);

  // The CSV's yardstick writes what the import wrote: the working file of an import.
  std::string imported;
  const ImportTiming fromCsv = TimeImport(
      statement, answers, csv, kRows,
      [&] {
        std::filesystem::remove(copy);
        if (imported.empty()) imported = ReadPlainFile(workingFile);
      },
      [&] {
        const std::string bytes = ReadPlainFile(csv);
        WritePlainFile(copy, imported, false);
        if (bytes.empty()) throw std::runtime_error("the sheet is empty");
      });
  report.AtMost("import_csv", fromCsv.import / fromCsv.yardstick, 10,
                Ms(fromCsv.import) + " against " + Ms(fromCsv.yardstick) + " to read the " +
                    std::to_string(std::filesystem::file_size(csv)) +
                    "-byte sheet and write the working file");

  const ImportTiming fromXlsx = TimeImport(
      statement, answers, xlsx, kRows, [] {}, [&] { ParseWithOrcusAlone(xlsx); });
  std::vector<std::vector<WorkbookCell>> xlsRows = GenerateRows();
  xlsRows.resize(kXlsRows);
  const std::string xls = folder + "/big.xls";
  WritePlainFile(xls, MakeXlsWorkbook(xlsRows), false);
  const ImportTiming fromXls = TimeImport(
      statement, answers, xls, kXlsRows, [] {}, [&] { ReadWithFreeXlAlone(xls); });
  report.AtMost("import_xls", fromXls.import / fromXls.yardstick, 2,
                Ms(fromXls.import) + " against " + Ms(fromXls.yardstick) +
                    " for FreeXL alone to read every cell of the " +
                    std::to_string(std::filesystem::file_size(xls)) + "-byte workbook, " +
                    std::to_string(kXlsRows) + " rows");

  report.AtMost("import_xlsx", fromXlsx.import / fromXlsx.yardstick, 2,
                Ms(fromXlsx.import) + " against " + Ms(fromXlsx.yardstick) +
                    " for orcus alone to parse the " +
                    std::to_string(std::filesystem::file_size(xlsx)) + "-byte workbook");
}

}  // namespace velmora
