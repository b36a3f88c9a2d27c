#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The name proposed in the save dialog: year-AFM-installation, then ".PIS" for credit
// balances. An installation type of Latin "E" or Greek capital Epsilon is written as
// Latin "E". Windows-1253 in and out.
std::string ProposeSubmissionFileName(std::string_view year, std::string_view taxNumber,
                                      std::string_view installationType, bool creditBalances);

}  // namespace velmora
