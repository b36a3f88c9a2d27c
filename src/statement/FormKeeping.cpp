#include "FormKeeping.h"

#include <exception>

#include "Statement.h"

namespace velmora {

std::optional<std::string> FormKeeping::Keep(const Statement& statement,
                                             const StatementForm& form) {
  try {
    statement.KeepForm(form);
    failing_ = false;
    return std::nullopt;
  } catch (const std::exception& error) {
    if (failing_) return std::nullopt;
    failing_ = true;
    return std::string("Τα στοιχεία δεν μπορούν να διατηρηθούν για ανάκτηση: ") + error.what();
  }
}

}  // namespace velmora
