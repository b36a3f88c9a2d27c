#include "LineLayout.h"

namespace velmora {

LineSide CustomerSide() { return {"2", "AFMCust", "NameCust", "ProfCust"}; }

LineSide SupplierSide() { return {"4", "AFMProm", "NameProm", "ProfProm"}; }

std::vector<std::string> LineSchema(const LineSide& side) {
  return {
      "RecordType=1",
      "AA=5",
      std::string(side.afmField) + "=9",
      std::string(side.nameField) + "=27",
      std::string(side.profField) + "=15",
      "Ypovolh=1",
      "City=10",
      "Street=16",
      "StreetNo=3",
      "TK=5",
      "NoTimologion=7",
      "Value=16",
      "FILLER=35",
  };
}

std::vector<std::string> CustomerLineSchema() { return LineSchema(CustomerSide()); }

std::vector<std::string> SupplierLineSchema() { return LineSchema(SupplierSide()); }

}  // namespace velmora
