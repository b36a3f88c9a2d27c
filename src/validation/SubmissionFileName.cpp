#include "SubmissionFileName.h"

namespace velmora {

namespace {

constexpr std::string_view kGreekCapitalEpsilon = "\xC5";

}  // namespace

std::string ProposeSubmissionFileName(std::string_view year, std::string_view taxNumber,
                                      std::string_view installationType, bool creditBalances) {
  const bool isE = installationType == "E" || installationType == kGreekCapitalEpsilon;
  std::string name(year);
  name += '-';
  name += taxNumber;
  name += '-';
  name += isE ? std::string_view("E") : installationType;
  if (creditBalances) name += ".PIS";
  return name;
}

}  // namespace velmora
