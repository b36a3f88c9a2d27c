#pragma once

#include <optional>
#include <string>

#include "StatementForm.h"

namespace velmora {

class Statement;

// Keeps the filer's fields and the amounts against a crash as they change. A
// failure is told once, with the system's reason, and the keeping is tried again
// at every change; once it works again, the next failure is told anew.
class FormKeeping {
 public:
  // The message to show when this keep failed and the one before did not.
  std::optional<std::string> Keep(const Statement& statement, const StatementForm& form);

 private:
  bool failing_ = false;
};

}  // namespace velmora
