#pragma once

#include <string>
#include <vector>

namespace velmora {

// Prints one line per figure, "NAME ratio=X target<=Y (note)", and remembers which
// targets were missed for the closing line.
class FigureReport {
 public:
  // A ratio that must stay at or below target (a cost).
  void AtMost(const std::string& name, double ratio, double target, const std::string& note);
  // A ratio that must reach target (a speed-up).
  void AtLeast(const std::string& name, double ratio, double target, const std::string& note);
  // "all targets met" or "targets missed: NAMES".
  void PrintSummary() const;

 private:
  void Print(const std::string& name, double ratio, const char* relation, double target,
             const std::string& note, bool met);

  std::vector<std::string> missed_;
};

}  // namespace velmora
