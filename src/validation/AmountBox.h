#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Amount.h"
#include "RecordLayout.h"

namespace velmora {

// The text a statement-level amount box takes when it is left (and before it is
// saved): an empty box or a lone comma becomes "0", any other text its amount in
// the "0.##" form. Windows-1253 in and out. A text that is not
// an amount comes back unchanged: the caller decides whether to refuse or keep it.
std::string NormaliseAmountBox(std::string_view text);

// The most whole digits an amount box may hold: the amounts record keeps two
// decimals in its 16 columns.
constexpr std::size_t kAmountBoxWholeDigits = amounts_record::kRetailSales.width - 2;
// The box's longest text: those digits, the comma and two decimals.
constexpr std::size_t kAmountBoxLength = kAmountBoxWholeDigits + 3;

// False when the text has more whole digits (before its comma) than the file holds.
bool FitsAmountRecord(std::string_view text);

}  // namespace velmora
