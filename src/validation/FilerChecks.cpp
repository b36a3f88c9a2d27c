#include "FilerChecks.h"

#include "WholeNumber.h"

namespace velmora {

bool IsYearAcceptable(std::string_view text, int currentYear) {
  constexpr int kFirstYear = 2005;
  const auto year = ParseWholeNumber(text);
  return year && *year >= kFirstYear && *year <= currentYear;
}

}  // namespace velmora
