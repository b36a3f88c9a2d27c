#include "FormFile.h"

#include <array>
#include <utility>

namespace velmora {

namespace {

constexpr std::string_view kFirstLine = "velmora-form 1";

constexpr std::array<std::pair<HeaderField, std::string_view>, kHeaderFieldCount> kHeaderNames = {{
    {HeaderField::Year, "year"},
    {HeaderField::TaxOfficeCode, "taxOffice"},
    {HeaderField::FileNumber, "fileNumber"},
    {HeaderField::CompanyName, "companyName"},
    {HeaderField::TaxNumber, "taxNumber"},
    {HeaderField::Profession, "profession"},
    {HeaderField::Town, "town"},
    {HeaderField::Street, "street"},
    {HeaderField::StreetNumber, "streetNumber"},
    {HeaderField::PostCode, "postCode"},
    {HeaderField::Telephone, "telephone"},
    {HeaderField::Fax, "fax"},
    {HeaderField::Email, "email"},
    {HeaderField::InstallationType, "installationType"},
}};
constexpr std::string_view kCreditBalances = "creditBalances";
constexpr std::string_view kRetailSales = "retailSales";
constexpr std::string_view kCustomersWithout = "customersWithoutItemisation";
constexpr std::string_view kSuppliersWithout = "suppliersWithoutItemisation";

void AddLine(std::string& text, std::string_view name, std::string_view value) {
  text += name;
  text += '=';
  for (const char c : value) {
    switch (c) {
      case '\\':
        text += "\\\\";
        break;
      case '\n':
        text += "\\n";
        break;
      case '\r':
        text += "\\r";
        break;
      default:
        text += c;
    }
  }
  text += '\n';
}

std::string Unescaped(std::string_view value) {
  std::string bytes;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      bytes += value[i];
      continue;
    }
    const char next = value[++i];
    bytes += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return bytes;
}

}  // namespace

std::string ComposeFormFile(const StatementForm& form) {
  std::string text(kFirstLine);
  text += '\n';
  for (const auto& [field, name] : kHeaderNames) AddLine(text, name, form.header[field].view());
  AddLine(text, kCreditBalances, form.creditBalances ? "1" : "0");
  AddLine(text, kRetailSales, form.retailSales.view());
  AddLine(text, kCustomersWithout, form.customersWithoutItemisation.view());
  AddLine(text, kSuppliersWithout, form.suppliersWithoutItemisation.view());
  return text;
}

std::optional<StatementForm> ParseFormFile(std::string_view text) {
  if (text.substr(0, text.find('\n')) != kFirstLine) return std::nullopt;
  StatementForm form;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, equals);
    Cp1253Text value(Unescaped(line.substr(equals + 1)));
    for (const auto& [field, fieldName] : kHeaderNames) {
      if (name == fieldName) form.header[field] = value;
    }
    if (name == kCreditBalances) form.creditBalances = value.view() == "1";
    if (name == kRetailSales) form.retailSales = value;
    if (name == kCustomersWithout) form.customersWithoutItemisation = value;
    if (name == kSuppliersWithout) form.suppliersWithoutItemisation = value;
  }
  return form;
}

}  // namespace velmora
