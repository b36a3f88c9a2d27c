#pragma once

#include <string>

namespace velmora {

// Throws VelmoraError (the system's reason, naming the folder) unless path is a
// real folder, not a link, owned by this user and open to nobody else (0700):
// only then can no other user read, plant or swap anything in it.
void CheckPrivateFolder(const std::string& path);

// Where a copy keeps its folder when the per-user state folder cannot be made:
// "<runtimeFolder>/velmora" (made 0700, or checked when it exists) while the
// system gives a runtime folder, else a folder made fresh under tempFolder
// ("velmora-XXXXXX", 0700, never one that already exists). Throws VelmoraError.
std::string MakePrivateFallbackFolder(const char* runtimeFolder, const std::string& tempFolder);

}  // namespace velmora
