#pragma once

#include <string>

#include "AutomaticAnswers.h"
#include "FigureReport.h"
#include "Statement.h"
#include "StatementForm.h"

namespace velmora {

// "Εκτύπωση" -> "Συγκεντρωτική κατάσταση Πελατών" on the opened statement: the
// print command composing and writing the customers' page into folder, beside a
// plain read and write of the customers' working file.
void RunPrintFigures(Statement& statement, AutomaticAnswers& answers, const StatementForm& form,
                     const std::string& folder, FigureReport& report);

}  // namespace velmora
