#pragma once

#include <string>

namespace velmora {

// Copies the bytes of one file. The destination is a file path, or an existing
// directory (with or without a trailing separator) that receives a file of the
// source's name. Throws VelmoraError "Cannot open file <source>" or
// "Cannot create file <destination>"; file times and attributes are not copied.
void CopyFile(const std::string& source, const std::string& destination);

// Makes destination hold what source holds now. Files written through
// WriteFileAtomically are replaced, never changed in place, so a second name for
// the same file is a copy that later writes leave alone, made without copying a
// byte; where the file system has no such names, the bytes are copied.
void SnapshotFile(const std::string& source, const std::string& destination);

}  // namespace velmora
