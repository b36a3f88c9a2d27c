#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Every message of a save that did not happen begins so.
inline constexpr std::string_view kSaveFailedPrefix = "Η αποθήκευση σε αρχείο απέτυχε: ";

// What ends the message of a save refused for a value the user can mend.
inline constexpr const char* kFixAndSaveAgain = "Διορθώστε το και επαναλάβετε την αποθήκευση.";

// The message of a save that did not happen, with its reason (UTF-8).
inline std::string SaveFailedMessage(std::string_view reason) {
  std::string message(kSaveFailedPrefix);
  message += reason;
  return message;
}

}  // namespace velmora
