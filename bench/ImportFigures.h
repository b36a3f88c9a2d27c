#pragma once

#include <string>

#include "FigureReport.h"
#include "HeaderLine.h"

namespace velmora {

// "Εισαγωγή στοιχείων από Excel" of a generated sheet of 99,999 valid rows, timed
// beside a plain read of the sheet and a plain write of the working file it gives.
// Works in folder; the filer's number is never one of the sheet's.
void ReportImportFigures(FigureReport& report, const std::string& folder,
                         const HeaderFields& filer);

}  // namespace velmora
