#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The filer's details as held in the header record "1" (Windows-1253 bytes).
struct HeaderFields {
  std::string year, officeCode, fileNumber, companyName, afm, profession, town, street, number, tk,
      tel, fax, email, installationType;

  bool operator==(const HeaderFields&) const = default;
};

// Reads the columns of a header line. Year, office code, tax number, phone and
// fax are taken as they stand, the installation type without blanks on either
// side, the other texts without trailing blanks. Columns beyond the end of a
// short line read as empty; any bytes are accepted.
HeaderFields ParseHeaderLine(std::string_view line);

// The 150-character header record: texts left-aligned and blank-filled, the
// installation type right-aligned; every value cut to its columns.
std::string ComposeHeaderLine(const HeaderFields& fields);

}  // namespace velmora
