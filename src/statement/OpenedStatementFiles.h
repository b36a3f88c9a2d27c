#pragma once

#include "SubmissionReader.h"
#include "WorkingFiles.h"

namespace velmora {

// Splits an opened submission file into the working files: the header lines,
// the converted customer and supplier lines, and the two amounts records.
void WriteOpenedStatement(const WorkingFiles& files, const OpenedStatement& opened);

}  // namespace velmora
