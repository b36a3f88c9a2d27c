#pragma once

#include <functional>
#include <optional>
#include <string>

#include "Questions.h"
#include "ZipArchive.h"

namespace velmora {

struct ZipOutcome {
  // The archive written; nullopt when the user stopped or the copy failed (the
  // user was told why).
  std::optional<std::string> archivePath;
};

// "Δημιουργία συμπιεσμένου αρχείου (zip)": a file chosen by the user, packed
// alone into "<name chosen>.zip", after asking before an existing archive is
// replaced. Nothing is said on success. The archive's date is read from the
// clock as it is written, not before the user's dialogs.
using ZipClock = std::function<DosTimestamp()>;
ZipOutcome MakeZipCopy(Questions& questions, const ZipClock& clock);

}  // namespace velmora
