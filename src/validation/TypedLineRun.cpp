#include "TypedLineRun.h"

#include "PlainText.h"
#include "RecordLayout.h"

namespace velmora {

TypedLineRun::TypedLineRun(Side side, std::string_view filerTaxNumber, std::size_t expectedLines)
    : firstObligation_(expectedLines), input_{side, {}, {}, {}, {}, std::string(filerTaxNumber),
                                              true} {
  findFirst_ = [this](const std::string& taxNumber) {
    return firstObligation_.Find(WithoutControls(taxNumber));
  };
}

void TypedLineRun::AddStored(std::string_view line) {
  firstObligation_.Remember(WithoutControls(LineFieldText(line, LineField::TaxNumber)),
                            LineFieldText(line, LineField::Obligation));
}

void ReadCheckedFields(std::string_view line, LineCheckInput& input) {
  input.taxNumber.assign(LineFieldText(line, LineField::TaxNumber));
  input.obligation.assign(LineFieldText(line, LineField::Obligation));
  input.invoiceCount.assign(LineFieldText(line, LineField::InvoiceCount));
  input.value.assign(LineFieldText(line, LineField::Value));
}

LineVerdict TypedLineRun::Judge(std::string_view line) {
  ReadCheckedFields(line, input_);
  return CheckLine(input_, findFirst_);
}

std::optional<LineVerdict> TypedLineRun::Refusal(std::string_view line, bool acceptedAlone) {
  // Only a line refused on its own is judged whole again, for its message.
  if (!acceptedAlone) return Judge(line);
  input_.taxNumber.assign(LineFieldText(line, LineField::TaxNumber));
  input_.obligation.assign(LineFieldText(line, LineField::Obligation));
  return RefuseAsDuplicate(input_, findFirst_);
}

void TypedLineRun::Prefetch(std::string_view line) const {
  firstObligation_.Prefetch(WithoutControls(LineFieldText(line, LineField::TaxNumber)));
}

}  // namespace velmora
