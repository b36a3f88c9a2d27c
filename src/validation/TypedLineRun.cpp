#include "TypedLineRun.h"

#include "PlainText.h"
#include "RecordLayout.h"

namespace velmora {

TypedLineRun::TypedLineRun(Side side, std::string_view filerTaxNumber, std::size_t expectedLines)
    : input_{side, {}, {}, {}, {}, std::string(filerTaxNumber), true} {
  firstObligation_.reserve(expectedLines);
  findFirst_ = [this](const std::string& taxNumber) -> std::optional<std::string> {
    key_.assign(WithoutControls(taxNumber));
    const auto found = firstObligation_.find(key_);
    if (found == firstObligation_.end()) return std::nullopt;
    return found->second;
  };
}

void TypedLineRun::AddStored(std::string_view line) {
  key_.assign(WithoutControls(LineFieldText(line, LineField::TaxNumber)));
  if (firstObligation_.find(key_) != firstObligation_.end()) return;
  firstObligation_.emplace(key_, LineFieldText(line, LineField::Obligation));
}

LineVerdict TypedLineRun::Judge(std::string_view line) {
  input_.taxNumber.assign(LineFieldText(line, LineField::TaxNumber));
  input_.obligation.assign(LineFieldText(line, LineField::Obligation));
  input_.invoiceCount.assign(LineFieldText(line, LineField::InvoiceCount));
  input_.value.assign(LineFieldText(line, LineField::Value));
  return CheckLine(input_, findFirst_);
}

}  // namespace velmora
