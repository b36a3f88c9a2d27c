#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One cell of an exported line: UTF-8 text, written as a number where the
// spreadsheet can hold it exactly and the import reads the same text back.
struct ExportCell {
  std::string text;
  bool number = false;
};

// The ten cells of a working line (Windows-1253), in the order the import reads
// them: tax number, name, profession, obligation, town, street, number,
// postcode, invoices and value. Tax numbers, codes and postcodes stay texts, so
// that their leading zeros stay; invoices and values are numbers.
std::array<ExportCell, 10> ExportCellsOf(std::string_view line);

// The lines as a text file of fields: ';' between them, UTF-8 with a byte order
// mark and CR LF, as accounting programs read it; a field with ';', a quote or a
// line break goes in quotes.
std::string ExportCsvText(const std::vector<std::string>& lines);

// The lines as the first sheet of an .xlsx workbook, written whole over path
// (the file there stays as it was on failure). Throws VelmoraError with the
// reason.
void WriteExportWorkbook(const std::string& path, const std::vector<std::string>& lines);

}  // namespace velmora
