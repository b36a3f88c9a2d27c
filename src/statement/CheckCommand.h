#pragma once

#include <optional>
#include <vector>

#include "Questions.h"
#include "Statement.h"
#include "StatementForm.h"
#include "StatementProblems.h"

namespace velmora {

// "Έλεγχος δήλωσης": the pending lines stored first, as before a print, then
// every problem that would stop the statement on view from being saved, where
// the save names only the first. nullopt when a pending line was refused (the
// user was told why).
std::optional<std::vector<StatementProblem>> CheckStatement(Statement& statement,
                                                            Questions& questions,
                                                            const StatementForm& form,
                                                            const Today& today);

}  // namespace velmora
