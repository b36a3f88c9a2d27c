#include "XlsxInlineTexts.h"

#include <cstdint>
#include <orcus/sax_parser.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>
#include <string>
#include <vector>

namespace velmora {

namespace {

std::string Entry(const orcus::zip_archive& archive, std::string_view name) {
  std::vector<unsigned char> bytes;
  if (!archive.read_file_entry(name, bytes)) return {};
  return std::string(bytes.begin(), bytes.end());
}

// The value of attribute `name` of the first element `element` whose attribute
// `key` equals `keyValue` (any element when key is empty).
class AttributeFinder : public orcus::sax_handler {
 public:
  AttributeFinder(std::string_view element, std::string_view key, std::string_view keyValue,
                  std::string_view name)
      : element_(element), key_(key), keyValue_(keyValue), name_(name) {}

  void start_element(const orcus::sax::parser_element& element) {
    if (found_ || element.name != element_) {
      pending_.clear();
      return;
    }
    const bool matches = key_.empty() || keyMatched_;
    if (matches && !pending_.empty()) {
      value_ = pending_;
      found_ = true;
    }
    pending_.clear();
    keyMatched_ = false;
  }
  // Attributes come before their element's start.
  void attribute(const orcus::sax::parser_attribute& attribute) {
    if (attribute.name == name_) pending_.assign(attribute.value);
    if (!key_.empty() && attribute.name == key_ && attribute.value == keyValue_) keyMatched_ = true;
  }

  const std::string& Value() const { return value_; }

 private:
  std::string_view element_, key_, keyValue_, name_;
  std::string pending_;
  std::string value_;
  bool keyMatched_ = false;
  bool found_ = false;
};

std::string FindAttribute(const std::string& xml, std::string_view element, std::string_view key,
                          std::string_view keyValue, std::string_view name) {
  AttributeFinder finder(element, key, keyValue, name);
  orcus::sax_parser<AttributeFinder> parser(xml.data(), xml.size(), finder);
  parser.parse();
  return finder.Value();
}

// Row and column (0-based) of an A1 reference; false when it is none.
bool ParseReference(std::string_view reference, std::int64_t& row, std::int64_t& column) {
  std::size_t at = 0;
  column = 0;
  for (; at < reference.size() && reference[at] >= 'A' && reference[at] <= 'Z' && at < 3; ++at)
    column = column * 26 + (reference[at] - 'A' + 1);
  row = 0;
  const std::size_t digitsFrom = at;
  for (; at < reference.size() && reference[at] >= '0' && reference[at] <= '9' && at < 11; ++at)
    row = row * 10 + (reference[at] - '0');
  if (column == 0 || row == 0 || at == digitsFrom || at != reference.size()) return false;
  --row;
  --column;
  return true;
}

class InlineCells : public orcus::sax_handler {
 public:
  explicit InlineCells(SheetBuilder& builder) : builder_(builder) {}

  void attribute(const orcus::sax::parser_attribute& attribute) {
    if (attribute.name == "r") reference_.assign(attribute.value);
    if (attribute.name == "t") type_.assign(attribute.value);
  }
  void start_element(const orcus::sax::parser_element& element) {
    if (element.name == "row") {
      if (!reference_.empty())
        row_ = std::stoll(reference_) - 1;
      else
        ++row_;
      column_ = -1;
    } else if (element.name == "c") {
      std::int64_t row = 0, column = 0;
      if (!reference_.empty() && ParseReference(reference_, row, column)) {
        row_ = row;
        column_ = column;
      } else {
        ++column_;
      }
      inlineCell_ = type_ == "inlineStr";
      text_.clear();
    } else if (element.name == "rPh") {
      inHint_ = true;
    } else if (element.name == "t") {
      inText_ = inlineCell_ && !inHint_;
    }
    reference_.clear();
    type_.clear();
  }
  void end_element(const orcus::sax::parser_element& element) {
    if (element.name == "t") {
      inText_ = false;
    } else if (element.name == "rPh") {
      inHint_ = false;
    } else if (element.name == "c") {
      if (inlineCell_) builder_.SetText(row_, column_, text_);
      inlineCell_ = false;
    }
  }
  void characters(std::string_view value, bool) {
    if (inText_) text_.append(value);
  }

 private:
  SheetBuilder& builder_;
  std::string reference_, type_, text_;
  std::int64_t row_ = -1, column_ = -1;
  bool inlineCell_ = false, inHint_ = false, inText_ = false;
};

}  // namespace

void ReadXlsxInlineTexts(std::string_view workbook, SheetBuilder& builder) {
  orcus::zip_archive_stream_blob stream(reinterpret_cast<const std::uint8_t*>(workbook.data()),
                                        workbook.size());
  orcus::zip_archive archive(&stream);
  archive.load();
  const std::string sheetId =
      FindAttribute(Entry(archive, "xl/workbook.xml"), "sheet", "", "", "id");
  if (sheetId.empty()) return;
  std::string target = FindAttribute(Entry(archive, "xl/_rels/workbook.xml.rels"), "Relationship",
                                     "Id", sheetId, "Target");
  if (target.empty()) return;
  target = target.front() == '/' ? target.substr(1) : "xl/" + target;
  const std::string sheet = Entry(archive, target);
  // Most workbooks keep every text shared: nothing more to read.
  if (sheet.find("inlineStr") == std::string::npos) return;
  InlineCells cells(builder);
  orcus::sax_parser<InlineCells> parser(sheet.data(), sheet.size(), cells);
  parser.parse();
}

}  // namespace velmora
