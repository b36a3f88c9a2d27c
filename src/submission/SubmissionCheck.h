#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One thing wrong with a submission file, for a person to read.
struct SubmissionProblem {
  int lineNumber;       // 1-based line of the file; 0 when about the whole file
  std::string message;  // UTF-8, one line
};

struct SubmissionCheckResult {
  bool readable = true;  // false: the file could not be read at all (missing, a folder, ...)
  std::vector<SubmissionProblem> problems;  // in line order; empty when the file is clean
};

// Everything that would stop this file from being opened and saved again: the
// reader's refusal (then nothing else, since the reader refuses a file whole);
// otherwise every customer and supplier line that the line checks refuse, the lines
// taken as if typed in file order (so a repeated number is refused at its later
// line); then the checks before a save: the filer's details of the first header
// record, and each side's first line carrying the filer's number or repeated with
// the same code further down. currentYear bounds the year of the data.
std::vector<SubmissionProblem> CheckSubmissionBytes(std::string_view bytes, int currentYear);

// The same for the file at path, read as the program opens it; a file that cannot
// be read gives readable false and one problem, at line 0, with the reason.
SubmissionCheckResult CheckSubmissionFile(const std::string& path, int currentYear);

}  // namespace velmora
