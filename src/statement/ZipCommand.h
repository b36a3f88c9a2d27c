#pragma once

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
// replaced. Nothing is said on success.
ZipOutcome MakeZipCopy(Questions& questions, DosTimestamp modified);

}  // namespace velmora
