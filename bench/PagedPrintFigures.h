#pragma once

#include <string>

#include "AutomaticAnswers.h"
#include "FigureReport.h"
#include "Statement.h"
#include "StatementForm.h"

namespace velmora {

// The print window's pages of the customers' statement: the first page painted
// from the command on, beside composing the page file's HTML; the whole PDF,
// beside writing as many bytes plainly; and the PDF's peak memory.
void RunPagedPrintFigures(Statement& statement, AutomaticAnswers& answers,
                          const StatementForm& form, const std::string& folder,
                          FigureReport& report);

}  // namespace velmora
