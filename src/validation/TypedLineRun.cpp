#include "TypedLineRun.h"

#include "PlainText.h"
#include "RecordLayout.h"

namespace velmora {

TypedLineRun::TypedLineRun(Side side, std::string_view filerTaxNumber, std::size_t expectedLines)
    : side_(side), filerTaxNumber_(filerTaxNumber) {
  firstObligation_.reserve(expectedLines);
}

void TypedLineRun::AddStored(std::string_view line) {
  firstObligation_.try_emplace(
      std::string(WithoutControls(LineFieldText(line, LineField::TaxNumber))),
      std::string(LineFieldText(line, LineField::Obligation)));
}

LineVerdict TypedLineRun::Judge(std::string_view line) {
  const LineCheckInput input{side_,
                             std::string(LineFieldText(line, LineField::TaxNumber)),
                             std::string(LineFieldText(line, LineField::Obligation)),
                             std::string(LineFieldText(line, LineField::InvoiceCount)),
                             std::string(LineFieldText(line, LineField::Value)),
                             filerTaxNumber_,
                             true};
  LineVerdict verdict = CheckLine(input, [this](const std::string& taxNumber) {
    const auto found = firstObligation_.find(std::string(WithoutControls(taxNumber)));
    return found == firstObligation_.end() ? std::nullopt
                                           : std::optional<std::string>(found->second);
  });
  AddStored(line);
  return verdict;
}

}  // namespace velmora
