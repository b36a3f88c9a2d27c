#pragma once

#include <string>

#include "AutomaticAnswers.h"
#include "FigureReport.h"
#include "Statement.h"

namespace velmora {

// "Εξαγωγή σε υπολογιστικό φύλλο" of the customers' lines: to .xlsx beside
// libxlsxwriter writing the same cells alone, and to .csv beside writing the same
// bytes plainly to disk.
void RunExportFigures(Statement& statement, AutomaticAnswers& answers, const std::string& folder,
                      FigureReport& report);

}  // namespace velmora
