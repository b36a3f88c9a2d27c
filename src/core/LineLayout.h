#pragma once

#include <string>
#include <vector>

namespace velmora {

// Customer and supplier lines share one 150-character layout; only the record
// type and the names of the three counter-party fields differ.
constexpr int kLineLength = 150;

struct LineSide {
  const char* recordType;
  const char* afmField;
  const char* nameField;
  const char* profField;
};

LineSide CustomerSide();
LineSide SupplierSide();

// The table schema of a line file: "Name=Width" lines in column order.
std::vector<std::string> LineSchema(const LineSide& side);
std::vector<std::string> CustomerLineSchema();
std::vector<std::string> SupplierLineSchema();

}  // namespace velmora
