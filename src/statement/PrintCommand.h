#pragma once

#include <optional>
#include <string>

#include "Questions.h"
#include "Side.h"
#include "Statement.h"
#include "StatementForm.h"
#include "StatementPage.h"

namespace velmora {

struct PrintOutcome {
  // The page written, ready to be shown and printed; nullopt when there is
  // nothing to show (the pending line was refused, or the user was told why).
  std::optional<std::string> pagePath;
  // What the page was made from, for the print window's pages; its lines are the
  // side's table's own, unchanged while the window is open over the statement.
  std::optional<StatementPageInput> page;
};

// "Εκτύπωση" -> "Συγκεντρωτική κατάσταση Πελατών" / "... Προμηθευτών": the line
// being typed on that side is stored first, then the side's page is made from the
// form as shown, the stored lines in order and the totals, and written into
// folder as "Pelates.htm" / "Promitheftes.htm".
PrintOutcome PrintStatementPage(Statement& statement, Questions& questions, Side side,
                                const StatementForm& form, const std::string& folder);

}  // namespace velmora
