#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Amount.h"

namespace velmora {

// The text a statement-level amount box takes when it is left (and before it is
// saved): an empty box or a lone comma becomes "0", any other text its amount in
// the "0.##" form. Windows-1253 in and out. A text that is not
// an amount comes back unchanged: the caller decides whether to refuse or keep it.
std::string NormaliseAmountBox(std::string_view text);

}  // namespace velmora
