// velmora-check: lists every problem of one or more submission files, one a line,
// as "FILE:LINE: message" (Greek, UTF-8), then their count.
// Exit status: 0 every file clean, 1 a file has problems, 2 a file cannot be read.
#include <ctime>
#include <iostream>
#include <string>

#include "SubmissionCheck.h"

namespace {

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "Χρήση: velmora-check ΑΡΧΕΙΟ...\n"
                 "Ελέγχει αρχεία συγκεντρωτικής κατάστασης και γράφει κάθε πρόβλημα με τη "
                 "γραμμή του.\n";
    return 2;
  }
  const int year = CurrentYear();
  int status = 0;
  std::size_t total = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string path = argv[i];
    const velmora::SubmissionCheckResult result = velmora::CheckSubmissionFile(path, year);
    for (const velmora::SubmissionProblem& problem : result.problems) {
      std::cout << path << ':';
      if (problem.lineNumber > 0) std::cout << problem.lineNumber << ':';
      std::cout << ' ' << problem.message << '\n';
    }
    total += result.problems.size();
    if (!result.readable) {
      status = 2;
    } else if (!result.problems.empty() && status == 0) {
      status = 1;
    }
  }
  std::cout << "Προβλήματα: " << total << '\n';
  return status;
}
