#include "FindCommand.h"

#include <string>

namespace velmora {

bool StorePendingLinesBeforeFind(Questions& questions) {
  return questions.StorePendingLine(Side::Customers) && questions.StorePendingLine(Side::Suppliers);
}

FindOutcome FindLineOnSide(Statement& statement, Questions& questions, Side side,
                           const FindRequest& request) {
  RecordTable& table = statement.Table(side);
  if (!table.Active()) return {};
  const std::optional<std::size_t> found =
      FindLine(table.Lines(), FindFieldSpan(request.field), request.text, request.match);
  if (!found) {
    questions.Warn(std::string(FindNotFoundMessage(request.field)));
    table.MoveFirst();
    return {};
  }
  table.SetPosition(static_cast<int>(*found) + 1);
  return {found};
}

}  // namespace velmora
