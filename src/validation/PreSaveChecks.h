#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Failure.h"
#include "Side.h"

namespace velmora {

// The filer's details in order: the year (four digits, 2005 up to currentYear),
// the filer's tax number, the installation type and the tax office. Texts are
// Windows-1253. nullopt when all pass.
std::optional<Failure> CheckFilerBeforeSave(std::string_view year, int currentYear,
                                            std::string_view filerTaxNumber,
                                            std::string_view installationType, bool officeChosen);

// The lines of one side, given as their tax numbers and obligation codes in stored
// order (both lists of one length, Windows-1253). A line fails when its number is
// the filer's, or when a later line has the same number and code; lines are taken
// in order and, for each, the filer's number is compared first. Linear time.
std::optional<Failure> CheckSideBeforeSave(Side side, const std::vector<std::string>& taxNumbers,
                                           const std::vector<std::string>& obligations,
                                           std::string_view filerTaxNumber);

// The failures of a line: it carries the filer's own number; a later line
// repeats its number and obligation code. Texts are Windows-1253.
Failure FilerNumberFailure(Side side, const std::string& taxNumber);
Failure DuplicateFailure(Side side, const std::string& taxNumber, const std::string& obligation);

}  // namespace velmora
