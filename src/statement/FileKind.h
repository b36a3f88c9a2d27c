#pragma once

namespace velmora {

// The kinds of file the user chooses in a dialog; each kind starts where the
// last file of its kind was chosen.
enum class FileKind { Statement, Spreadsheet, ZipCopy, Pdf };

}  // namespace velmora
