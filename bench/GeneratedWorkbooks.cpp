#include "GeneratedWorkbooks.h"

#include <zlib.h>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "LittleEndian.h"
#include "Utf8.h"

namespace velmora {

namespace {

std::string RawDeflate(std::string_view data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&stream, data.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

// A ZIP archive of deflated entries, enough for a workbook.
class ZipBuilder {
 public:
  void Add(const std::string& name, std::string_view data) {
    const std::string packed = RawDeflate(data);
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    std::string header;
    Header(header, name, crc, packed.size(), data.size());
    Put32(central_, 0x02014b50);
    Put16(central_, 20);
    central_ += header.substr(4, 26);  // version needed to name length, as in the local header
    Put16(central_, 0);                // comment length
    Put16(central_, 0);                // disk
    Put16(central_, 0);                // internal attributes
    Put32(central_, 0);                // external attributes
    Put32(central_, static_cast<std::uint32_t>(archive_.size()));
    central_ += name;
    archive_ += header;
    archive_ += name;
    archive_ += packed;
    ++entries_;
  }

  std::string Finish() && {
    const auto centralStart = static_cast<std::uint32_t>(archive_.size());
    archive_ += central_;
    Put32(archive_, 0x06054b50);
    Put16(archive_, 0);
    Put16(archive_, 0);
    Put16(archive_, entries_);
    Put16(archive_, entries_);
    Put32(archive_, static_cast<std::uint32_t>(central_.size()));
    Put32(archive_, centralStart);
    Put16(archive_, 0);
    return std::move(archive_);
  }

 private:
  static void Header(std::string& out, const std::string& name, std::uint32_t crc,
                     std::size_t packed, std::size_t size) {
    Put32(out, 0x04034b50);
    Put16(out, 20);      // version needed
    Put16(out, 0x0800);  // UTF-8 names
    Put16(out, 8);       // deflate
    Put16(out, 0);       // time
    Put16(out, 0x5921);  // 2024-09-01
    Put32(out, crc);
    Put32(out, static_cast<std::uint32_t>(packed));
    Put32(out, static_cast<std::uint32_t>(size));
    Put16(out, static_cast<std::uint16_t>(name.size()));
    Put16(out, 0);
  }

  std::string archive_;
  std::string central_;
  std::uint16_t entries_ = 0;
};

std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ColumnName(std::size_t column) {
  std::string name;
  for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26)
    name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

}  // namespace

std::string MakeXlsxWorkbook(const std::vector<std::vector<WorkbookCell>>& rows) {
  std::unordered_map<std::string, std::size_t> stringIndex;
  std::string strings;
  std::string sheet =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
  char number[64];
  for (std::size_t r = 0; r < rows.size(); ++r) {
    sheet += "<row r=\"" + std::to_string(r + 1) + "\">";
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const WorkbookCell& cell = rows[r][c];
      const std::string reference = ColumnName(c) + std::to_string(r + 1);
      if (cell.isText) {
        const auto [it, added] = stringIndex.emplace(cell.text, stringIndex.size());
        if (added) strings += "<si><t>" + Escaped(cell.text) + "</t></si>";
        sheet += "<c r=\"" + reference + "\" t=\"s\"><v>" + std::to_string(it->second) + "</v></c>";
      } else {
        std::snprintf(number, sizeof number, "%.15g", cell.number);
        sheet += "<c r=\"" + reference + "\"><v>" + number + "</v></c>";
      }
    }
    sheet += "</row>";
  }
  sheet += "</sheetData></worksheet>";
  const std::string count = std::to_string(stringIndex.size());
  strings =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"" +
      count + "\" uniqueCount=\"" + count + "\">" + strings + "</sst>";

  ZipBuilder zip;
  zip.Add(
      "[Content_Types].xml",
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" "
      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
      "<Override PartName=\"/xl/worksheets/sheet1.xml\" "
      "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
      "<Override PartName=\"/xl/sharedStrings.xml\" "
      "ContentType=\"application/"
      "vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
      "</Types>");
  zip.Add(
      "_rels/.rels",
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
      "Target=\"xl/workbook.xml\"/></Relationships>");
  zip.Add("xl/workbook.xml",
          "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
          "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
          "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
          "<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
  zip.Add(
      "xl/_rels/workbook.xml.rels",
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
      "Target=\"worksheets/sheet1.xml\"/>"
      "<Relationship Id=\"rId2\" "
      "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" "
      "Target=\"sharedStrings.xml\"/></Relationships>");
  zip.Add("xl/sharedStrings.xml", strings);
  zip.Add("xl/worksheets/sheet1.xml", sheet);
  return std::move(zip).Finish();
}

namespace {

// A BIFF8 record: its type, its length and its body.
void Record(std::string& out, std::uint16_t type, std::string_view body) {
  Put16(out, type);
  Put16(out, static_cast<std::uint16_t>(body.size()));
  out += body;
}

std::string Bof(std::uint16_t kind) {
  std::string body;
  Put16(body, 0x0600);  // BIFF8
  Put16(body, kind);
  Put16(body, 0x0DBB);
  Put16(body, 0x07CC);
  Put32(body, 0);
  Put32(body, 0x0006);
  return body;
}

void PutCell(std::string& body, std::size_t row, std::size_t column) {
  constexpr std::uint16_t kDefaultCellFormat = 15;
  Put16(body, static_cast<std::uint16_t>(row));
  Put16(body, static_cast<std::uint16_t>(column));
  Put16(body, kDefaultCellFormat);
}

std::string WorkbookStream(const std::vector<std::vector<WorkbookCell>>& rows) {
  std::string globals;
  Record(globals, 0x0809, Bof(0x0005));
  std::string codePage;
  Put16(codePage, 1200);  // UTF-16
  Record(globals, 0x0042, codePage);
  // Fifteen style formats and the default cell format, all "General".
  for (int i = 0; i < 16; ++i) {
    std::string xf;
    Put16(xf, 0);                         // font
    Put16(xf, 0);                         // number format: General
    Put16(xf, i < 15 ? 0xFFF5 : 0x0001);  // style or cell, locked
    xf.append(14, '\0');
    Record(globals, 0x00E0, xf);
  }
  const std::string sheetName = "Sheet1";
  std::string boundSheet;
  Put32(boundSheet, 0);  // the sheet's offset, filled in below
  Put16(boundSheet, 0);  // visible worksheet
  boundSheet += static_cast<char>(sheetName.size());
  boundSheet += '\0';  // 8-bit characters
  boundSheet += sheetName;
  const std::size_t offsetAt = globals.size() + 4;
  Record(globals, 0x0085, boundSheet);
  Record(globals, 0x000A, {});

  std::string sheet;
  Record(sheet, 0x0809, Bof(0x0010));
  std::size_t columns = 0;
  for (const auto& row : rows) columns = std::max(columns, row.size());
  std::string dimensions;
  Put32(dimensions, 0);
  Put32(dimensions, static_cast<std::uint32_t>(rows.size()));
  Put16(dimensions, 0);
  Put16(dimensions, static_cast<std::uint16_t>(columns));
  Put16(dimensions, 0);
  Record(sheet, 0x0200, dimensions);
  std::string body;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const WorkbookCell& cell = rows[r][c];
      body.clear();
      PutCell(body, r, c);
      if (cell.isText) {
        std::string utf16;
        std::size_t at = 0;
        while (at < cell.text.size()) {
          const auto code = NextUtf8(cell.text, at);
          if (!code || *code > 0xFFFF) throw std::runtime_error("text beyond the BMP");
          Put16(utf16, static_cast<std::uint16_t>(*code));
        }
        Put16(body, static_cast<std::uint16_t>(utf16.size() / 2));
        body += '\1';  // UTF-16
        body += utf16;
        Record(sheet, 0x0204, body);
      } else {
        char bytes[sizeof cell.number];
        std::memcpy(bytes, &cell.number, sizeof bytes);
        body.append(bytes, sizeof bytes);
        Record(sheet, 0x0203, body);
      }
    }
  }
  Record(sheet, 0x000A, {});

  const auto sheetOffset = static_cast<std::uint32_t>(globals.size());
  Patch32(globals, offsetAt, sheetOffset);
  return globals + sheet;
}

constexpr std::size_t kSector = 512;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;

void DirectoryEntry(std::string& out, std::string_view name, std::uint8_t type, std::uint32_t child,
                    std::uint32_t start, std::uint32_t size) {
  std::string entry;
  for (const char c : name) Put16(entry, static_cast<std::uint8_t>(c));
  entry.resize(64, '\0');
  Put16(entry, static_cast<std::uint16_t>(name.empty() ? 0 : (name.size() + 1) * 2));
  entry += static_cast<char>(type);
  entry += static_cast<char>(type == 0 ? 0 : 1);  // black
  Put32(entry, kNoStream);                        // left sibling
  Put32(entry, kNoStream);                        // right sibling
  Put32(entry, child);
  entry.append(16 + 4 + 8 + 8, '\0');  // class id, state, times
  Put32(entry, start);
  Put32(entry, size);
  Put32(entry, 0);
  out += entry;
}

}  // namespace

std::string MakeXlsWorkbook(const std::vector<std::vector<WorkbookCell>>& rows) {
  std::string stream = WorkbookStream(rows);
  const auto streamSize = static_cast<std::uint32_t>(stream.size());
  stream.resize((stream.size() + kSector - 1) / kSector * kSector, '\0');
  const std::size_t streamSectors = stream.size() / kSector;
  // Sectors: the stream, one directory sector, the FAT, the DIFAT beyond the
  // header's 109 FAT places.
  std::size_t fatSectors = 1, difatSectors = 0;
  while (true) {
    difatSectors = fatSectors > 109 ? (fatSectors - 109 + 126) / 127 : 0;
    const std::size_t total = streamSectors + 1 + fatSectors + difatSectors;
    if (fatSectors * 128 >= total) break;
    ++fatSectors;
  }
  const std::size_t directoryAt = streamSectors;
  const std::size_t fatAt = directoryAt + 1;
  const std::size_t difatAt = fatAt + fatSectors;

  std::vector<std::uint32_t> fat(fatSectors * 128, kFreeSector);
  for (std::size_t i = 0; i < streamSectors; ++i)
    fat[i] = i + 1 < streamSectors ? static_cast<std::uint32_t>(i + 1) : kEndOfChain;
  fat[directoryAt] = kEndOfChain;
  for (std::size_t i = 0; i < fatSectors; ++i) fat[fatAt + i] = kFatSector;
  for (std::size_t i = 0; i < difatSectors; ++i) fat[difatAt + i] = kDifatSector;

  std::string header("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  header.append(16, '\0');
  Put16(header, 0x003E);
  Put16(header, 0x0003);
  Put16(header, 0xFFFE);
  Put16(header, 9);
  Put16(header, 6);
  header.append(6, '\0');
  Put32(header, 0);  // directory sectors (none counted in version 3)
  Put32(header, static_cast<std::uint32_t>(fatSectors));
  Put32(header, static_cast<std::uint32_t>(directoryAt));
  Put32(header, 0);
  Put32(header, 4096);
  Put32(header, kEndOfChain);  // no mini FAT
  Put32(header, 0);
  Put32(header, difatSectors > 0 ? static_cast<std::uint32_t>(difatAt) : kEndOfChain);
  Put32(header, static_cast<std::uint32_t>(difatSectors));
  for (std::size_t i = 0; i < 109; ++i)
    Put32(header, i < fatSectors ? static_cast<std::uint32_t>(fatAt + i) : kFreeSector);

  std::string directory;
  DirectoryEntry(directory, "Root Entry", 5, 1, kEndOfChain, 0);
  DirectoryEntry(directory, "Workbook", 2, kNoStream, 0, streamSize);
  DirectoryEntry(directory, {}, 0, kNoStream, 0, 0);
  DirectoryEntry(directory, {}, 0, kNoStream, 0, 0);

  std::string file = header + stream + directory;
  for (const std::uint32_t entry : fat) Put32(file, entry);
  for (std::size_t d = 0; d < difatSectors; ++d) {
    for (std::size_t i = 0; i < 127; ++i) {
      const std::size_t fatIndex = 109 + d * 127 + i;
      Put32(file,
            fatIndex < fatSectors ? static_cast<std::uint32_t>(fatAt + fatIndex) : kFreeSector);
    }
    Put32(file, d + 1 < difatSectors ? static_cast<std::uint32_t>(difatAt + d + 1) : kEndOfChain);
  }
  return file;
}

}  // namespace velmora
