#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "PlainText.h"
#include "Side.h"

namespace velmora {

// The one description of every fixed-width record the program reads or writes:
// the lines of the working files, the header line, and records "0" to "5" of the
// submission file. Writer, reader, record tables, editors' limits and tests all
// take their columns from here.

// Every record and every working line is this many characters long.
constexpr std::size_t kRecordLength = 150;

// The first character of each record of the submission file.
namespace record_type {
constexpr char kOpening = '0';
constexpr char kHeader = '1';
constexpr char kCustomerLine = '2';
constexpr char kCustomerAmounts = '3';
constexpr char kSupplierLine = '4';
constexpr char kSupplierAmounts = '5';
}  // namespace record_type

constexpr char LineRecordType(Side side) {
  return side == Side::Customers ? record_type::kCustomerLine : record_type::kSupplierLine;
}
constexpr char AmountsRecordType(Side side) {
  return side == Side::Customers ? record_type::kCustomerAmounts : record_type::kSupplierAmounts;
}

// A run of columns of a record: 0-based offset and width.
struct ColumnSpan {
  std::size_t offset = 0;
  std::size_t width = 0;
  constexpr std::size_t end() const { return offset + width; }
  // The columns as far as the record reaches; empty beyond its end.
  constexpr std::string_view In(std::string_view record) const {
    return offset < record.size() ? record.substr(offset, width) : std::string_view();
  }
};

// What may be typed into a field.
enum class Typing { AnyText, Digits, ZeroOrOne, Decimal };

// ---- Lines (working files "record2"/"record4", records "2" and "4") ----

// The fields of a customer or supplier line, in column order.
enum class LineField {
  RecordType,
  SequenceNumber,
  TaxNumber,
  Name,
  Profession,
  Obligation,
  Town,
  Street,
  StreetNumber,
  PostCode,
  InvoiceCount,
  Value,
  Filler,
};
constexpr std::size_t kLineFieldCount = 13;

struct LineFieldLayout {
  LineField field;
  // The field's name in the working files' schema ("Name=Width").
  const char* customerName;
  const char* supplierName;
  ColumnSpan span;
  Typing typing;
};

constexpr std::array<LineFieldLayout, kLineFieldCount> kLineLayout = {{
    {LineField::RecordType, "RecordType", "RecordType", {0, 1}, Typing::AnyText},
    {LineField::SequenceNumber, "AA", "AA", {1, 5}, Typing::AnyText},
    {LineField::TaxNumber, "AFMCust", "AFMProm", {6, 9}, Typing::AnyText},
    {LineField::Name, "NameCust", "NameProm", {15, 27}, Typing::AnyText},
    {LineField::Profession, "ProfCust", "ProfProm", {42, 15}, Typing::AnyText},
    {LineField::Obligation, "Ypovolh", "Ypovolh", {57, 1}, Typing::ZeroOrOne},
    {LineField::Town, "City", "City", {58, 10}, Typing::AnyText},
    {LineField::Street, "Street", "Street", {68, 16}, Typing::AnyText},
    {LineField::StreetNumber, "StreetNo", "StreetNo", {84, 3}, Typing::AnyText},
    {LineField::PostCode, "TK", "TK", {87, 5}, Typing::Digits},
    {LineField::InvoiceCount, "NoTimologion", "NoTimologion", {92, 7}, Typing::Digits},
    {LineField::Value, "Value", "Value", {99, 16}, Typing::Decimal},
    {LineField::Filler, "FILLER", "FILLER", {115, 35}, Typing::AnyText},
}};

constexpr const LineFieldLayout& LineLayoutOf(LineField field) {
  return kLineLayout[static_cast<std::size_t>(field)];
}
constexpr ColumnSpan LineSpan(LineField field) { return LineLayoutOf(field).span; }
constexpr const char* LineFieldName(Side side, LineField field) {
  return side == Side::Customers ? LineLayoutOf(field).customerName
                                 : LineLayoutOf(field).supplierName;
}

// The fields a person types, in the order of the grid's columns: everything but
// the record type, the sequence number and the filler.
constexpr std::array<LineField, 10> kTypedLineFields = {
    LineField::TaxNumber,    LineField::Name,   LineField::Profession,   LineField::Obligation,
    LineField::Town,         LineField::Street, LineField::StreetNumber, LineField::PostCode,
    LineField::InvoiceCount, LineField::Value};

// A field's text in a working line as the line tables read it: its columns
// without trailing blanks (nothing for a line too short to reach them).
constexpr std::string_view LineFieldText(std::string_view line, LineField field) {
  return WithoutTrailingBlanks(LineSpan(field).In(line));
}

// The working file's schema of a side: "Name=Width" lines in column order.
std::vector<std::string> LineSchema(Side side);

// ---- Header line (working file "generalData", record "1") ----

enum class HeaderField {
  Year,
  TaxOfficeCode,
  FileNumber,
  CompanyName,
  TaxNumber,
  Profession,
  Town,
  Street,
  StreetNumber,
  PostCode,
  Telephone,
  Fax,
  Email,
  InstallationType,
};
constexpr std::size_t kHeaderFieldCount = 14;

// How a header field's text is taken from its columns.
enum class Trim { None, Trailing, Both };

struct HeaderFieldLayout {
  HeaderField field;
  ColumnSpan span;
  Trim trim;
  bool rightAligned;
};

constexpr std::array<HeaderFieldLayout, kHeaderFieldCount> kHeaderLayout = {{
    {HeaderField::Year, {1, 4}, Trim::None, false},
    {HeaderField::TaxOfficeCode, {5, 4}, Trim::None, false},
    {HeaderField::FileNumber, {9, 6}, Trim::Trailing, false},
    {HeaderField::CompanyName, {15, 18}, Trim::Trailing, false},
    {HeaderField::TaxNumber, {33, 9}, Trim::None, false},
    {HeaderField::Profession, {42, 16}, Trim::Trailing, false},
    {HeaderField::Town, {58, 10}, Trim::Trailing, false},
    {HeaderField::Street, {68, 16}, Trim::Trailing, false},
    {HeaderField::StreetNumber, {84, 3}, Trim::Trailing, false},
    {HeaderField::PostCode, {87, 5}, Trim::Trailing, false},
    {HeaderField::Telephone, {92, 10}, Trim::None, false},
    {HeaderField::Fax, {102, 10}, Trim::None, false},
    {HeaderField::Email, {112, 34}, Trim::Trailing, false},
    {HeaderField::InstallationType, {146, 4}, Trim::Both, true},
}};

constexpr ColumnSpan HeaderSpan(HeaderField field) {
  return kHeaderLayout[static_cast<std::size_t>(field)].span;
}

// ---- Opening record "0" ----
namespace opening_record {
constexpr std::string_view kMarker = "0IL01";
constexpr std::string_view kCreditBalancesKind = ".PIS";
constexpr ColumnSpan kMarkerSpan{0, 5};
constexpr ColumnSpan kKindSpan{5, 4};
constexpr ColumnSpan kDateSpan{9, 8};  // YYYYMMDD
}  // namespace opening_record

// ---- Amounts records "3" (customers) and "5" (suppliers) ----
// Amounts are whole cents, zero-filled; the two records share columns 20 to 150,
// and only record "3" holds retail sales.
namespace amounts_record {
constexpr ColumnSpan kRetailSales{2, 16};
constexpr ColumnSpan kWithoutItemisation{19, 16};
constexpr ColumnSpan kInvoiceTotal{35, 16};
constexpr ColumnSpan kGrandTotal{51, 16};
constexpr ColumnSpan kFiller{67, 83};
}  // namespace amounts_record

// The largest sequence number a line record holds, and so the most lines of a side.
constexpr int kMaxLinesPerSide = 99999;

}  // namespace velmora
