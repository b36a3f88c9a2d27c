#include "OpenedStatementFiles.h"

#include "AtomicFile.h"
#include "TextFile.h"

namespace velmora {

void WriteOpenedStatement(const WorkingFiles& files, const OpenedStatement& opened) {
  const std::pair<const char*, const std::vector<std::string>*> parts[] = {
      {WorkingFiles::kGeneralData, &opened.headerLines},
      {WorkingFiles::kCustomerLines, &opened.customerLines},
      {WorkingFiles::kCustomerAmounts, &opened.customerAmountLines},
      {WorkingFiles::kSupplierLines, &opened.supplierLines},
      {WorkingFiles::kSupplierAmounts, &opened.supplierAmountLines}};
  for (const auto& [name, lines] : parts)
    WriteFileAtomically(files.Path(name), JoinCrLf(*lines), false);
}

}  // namespace velmora
