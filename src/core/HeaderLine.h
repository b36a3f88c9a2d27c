#pragma once

#include <string>
#include <string_view>

#include "Cp1253.h"
#include "RecordLayout.h"

namespace velmora {

// The filer's details as held in the header record "1".
struct HeaderFields {
  Cp1253Text year, taxOfficeCode, fileNumber, companyName, taxNumber, profession, town, street,
      streetNumber, postCode, telephone, fax, email, installationType;

  // The member that holds a field of the header layout.
  Cp1253Text& operator[](HeaderField field);
  const Cp1253Text& operator[](HeaderField field) const;

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
