#include "FigureReport.h"

#include <cstdio>

namespace velmora {

void FigureReport::AtMost(const std::string& name, double ratio, double target,
                          const std::string& note) {
  Print(name, ratio, "<=", target, note, ratio <= target);
}

void FigureReport::AtLeast(const std::string& name, double ratio, double target,
                           const std::string& note) {
  Print(name, ratio, ">=", target, note, ratio >= target);
}

void FigureReport::Print(const std::string& name, double ratio, const char* relation, double target,
                         const std::string& note, bool met) {
  std::printf("%s ratio=%.2f target%s%g", name.c_str(), ratio, relation, target);
  if (!note.empty()) std::printf(" (%s)", note.c_str());
  std::printf("\n");
  std::fflush(stdout);
  if (!met) missed_.push_back(name);
}

void FigureReport::PrintSummary() const {
  if (missed_.empty()) {
    std::printf("all targets met\n");
    return;
  }
  std::printf("targets missed:");
  for (const std::string& name : missed_) std::printf(" %s", name.c_str());
  std::printf("\n");
}

}  // namespace velmora
