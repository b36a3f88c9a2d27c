#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PreSaveChecks.h"
#include "RecordLayout.h"
#include "Side.h"

namespace velmora {

// One thing that would stop a statement from being saved, and where it lies.
struct StatementProblem {
  // The side of the line it is about; nullopt for the filer's details.
  std::optional<Side> side;
  // The line's place on its side, from 0.
  std::size_t line = 0;
  // The line's field to mend.
  LineField field = LineField::TaxNumber;
  // The filer's field to mend, for a problem of the filer's details.
  FilerFocus filerField = FilerFocus::None;
  // UTF-8, as the check that found it says it.
  std::string message;
};

// A statement to check: the filer's details as the header holds them and the
// working lines (Windows-1253) of each side in stored order.
struct StatementUnderCheck {
  std::string_view year;
  int currentYear = 0;
  std::string_view filerTaxNumber;
  std::string_view installationType;
  bool taxOfficeChosen = false;
  const std::vector<std::string>* customerLines = nullptr;
  const std::vector<std::string>* supplierLines = nullptr;
};

// Every problem at once, where the checks that stop at the first would name
// one: the checks before a save of the filer's details; then, for each side,
// every line that the line checks refuse, the lines taken as if typed one after
// the other in stored order (a repeated number is refused at its later line),
// and the first line at which that side's checks before a save stop. The
// filer's problem comes first, then each side's in line order.
std::vector<StatementProblem> ListStatementProblems(const StatementUnderCheck& statement);

}  // namespace velmora
