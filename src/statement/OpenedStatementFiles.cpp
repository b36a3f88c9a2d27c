#include "OpenedStatementFiles.h"

#include "AtomicFile.h"
#include "SideBySide.h"

namespace velmora {

void WriteOpenedStatement(const WorkingFiles& files, const OpenedStatement& opened) {
  // The supplier lines are written while the rest is.
  RunSideBySide(
      [&] {
        const std::pair<const char*, const std::vector<std::string>*> parts[] = {
            {WorkingFiles::kGeneralData, &opened.headerLines},
            {WorkingFiles::kCustomerLines, &opened.customerLines},
            {WorkingFiles::kCustomerAmounts, &opened.customerAmountLines},
            {WorkingFiles::kSupplierAmounts, &opened.supplierAmountLines}};
        for (const auto& [name, lines] : parts)
          WriteLinesAtomically(files.Path(name), *lines, false);
      },
      [&] {
        WriteLinesAtomically(files.Path(WorkingFiles::kSupplierLines), opened.supplierLines, false);
      });
}

}  // namespace velmora
