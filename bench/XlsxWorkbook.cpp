#include "XlsxWorkbook.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace velmora {

namespace {

void Put16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xff);
  out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value & 0xffff));
  Put16(out, static_cast<std::uint16_t>(value >> 16));
}

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
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
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

std::string MakeXlsxWorkbook(const std::vector<std::vector<XlsxCell>>& rows) {
  std::unordered_map<std::string, std::size_t> stringIndex;
  std::string strings;
  std::string sheet =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
  char number[64];
  for (std::size_t r = 0; r < rows.size(); ++r) {
    sheet += "<row r=\"" + std::to_string(r + 1) + "\">";
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const XlsxCell& cell = rows[r][c];
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
  strings = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"" +
            count + "\" uniqueCount=\"" + count + "\">" + strings + "</sst>";

  ZipBuilder zip;
  zip.Add("[Content_Types].xml",
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
          "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
          "</Types>");
  zip.Add("_rels/.rels",
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
  zip.Add("xl/_rels/workbook.xml.rels",
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

}  // namespace velmora
