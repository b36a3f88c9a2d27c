#pragma once

#include <string>

namespace velmora {

// The filer field that receives the focus after a failure about it.
enum class FilerFocus { None, Year, TaxNumber, InstallationType, TaxOffice };

// Why what the user asked for did not happen, as the user is to be told: every
// layer returns this, and the command that called it tells it once.
struct Failure {
  // The Greek message (UTF-8), with the system's reason where there is one.
  std::string message;
  // Refusals of what was typed beep before their message.
  bool beep = false;
  FilerFocus focus = FilerFocus::None;
  // The system failed (a disk, a printer) rather than the statement: told as a warning.
  bool warning = false;
};

// A failure of the system: the message with its reason, as a warning.
inline Failure SystemFailure(std::string message) {
  return {std::move(message), false, FilerFocus::None, true};
}

}  // namespace velmora
