#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "StatementForm.h"

namespace velmora {

// The form kept beside the working lines while a statement is edited, so that a
// crash loses neither the filer's fields nor the amounts: "name=value" lines
// under a first line that names the format, values as Windows-1253 bytes with
// "\\", "\n" and "\r" escaped.
std::string ComposeFormFile(const StatementForm& form);

// nullopt when the text is not such a file. Unknown names are passed over and
// missing ones stay empty; any bytes are accepted.
std::optional<StatementForm> ParseFormFile(std::string_view text);

}  // namespace velmora
