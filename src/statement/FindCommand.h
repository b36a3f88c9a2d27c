#pragma once

#include <cstddef>
#include <optional>

#include "Cp1253.h"
#include "LineSearch.h"
#include "Questions.h"
#include "Side.h"
#include "Statement.h"

namespace velmora {

// What the find dialog hands over: the field, the text and how it must match.
// Letter case always counts.
struct FindRequest {
  FindField field = FindField::TaxNumber;
  Cp1253Text text;
  FindMatch match = FindMatch::WholeField;
};

// Before the find dialog is shown: the pending lines of both sides are stored,
// customers first. False when one was refused (the user has been told why).
bool StorePendingLinesBeforeFind(Questions& questions);

struct FindOutcome {
  // The index of the line found, now the table's current line; nullopt when
  // nothing matched, and the table then stands on its first line.
  std::optional<std::size_t> line;
};

// "Εύρεση...": the first line of that side, in stored order, whose field matches
// the text. Nothing found: the warning "Δεν βρέθηκε ο ΑΦΜ" / "Δεν βρέθηκε η
// Επωνυμία", and the first line becomes current.
FindOutcome FindLineOnSide(Statement& statement, Questions& questions, Side side,
                           const FindRequest& request);

}  // namespace velmora
