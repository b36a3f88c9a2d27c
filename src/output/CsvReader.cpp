#include "CsvReader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "Cp1253.h"
#include "Utf8.h"

namespace velmora {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Decided by the first line that holds anything.
char SeparatorOf(std::string_view text) {
  const auto start = text.find_first_not_of("\r\n");
  if (start == std::string_view::npos) return ',';
  text.remove_prefix(start);
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\r' || c == '\n') break;
    if (c == ';') return ';';
  }
  return ',';
}

// Where a field without quotes that goes on at `from` ends: the first separator,
// CR or LF, or the end of the text. Eight bytes are looked at a time.
std::size_t PlainFieldEnd(std::string_view text, std::size_t from, char separator) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  const auto hasByte = [](std::uint64_t word, std::uint64_t pattern) {
    const std::uint64_t x = word ^ pattern;
    return (x - kOnes) & ~x & kHighs;
  };
  const std::uint64_t separators = kOnes * static_cast<unsigned char>(separator);
  std::size_t i = from;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, text.data() + i, sizeof word);
    if ((hasByte(word, separators) | hasByte(word, kOnes * '\r') | hasByte(word, kOnes * '\n')) !=
        0)
      break;
  }
  while (i < text.size() && text[i] != separator && text[i] != '\r' && text[i] != '\n') ++i;
  return i;
}

// Checks a text as UTF-8 piece by piece, so that the check can keep just ahead of
// the reading of the fields. A piece ends before a byte that is not a continuation
// byte (three at most are passed over): a valid text is cut between letters, and
// an invalid one leaves its fault inside a piece.
class Utf8Checker {
 public:
  explicit Utf8Checker(std::string_view text) : text_(text) {}

  // Checks at least the bytes before end, unless a fault was found already.
  void CheckUpTo(std::size_t end) {
    while (valid_ && checked_ < end && checked_ < text_.size()) {
      std::size_t pieceEnd = std::min(text_.size(), checked_ + kPiece);
      for (int passed = 0; passed < 3 && pieceEnd < text_.size() &&
                           (static_cast<unsigned char>(text_[pieceEnd]) & 0xC0) == 0x80;
           ++passed)
        ++pieceEnd;
      valid_ = IsValidUtf8(text_.substr(checked_, pieceEnd - checked_));
      checked_ = pieceEnd;
    }
  }

  bool AllValid() {
    CheckUpTo(text_.size());
    return valid_;
  }

 private:
  static constexpr std::size_t kPiece = 1 << 16;

  std::string_view text_;
  std::size_t checked_ = 0;
  bool valid_ = true;
};

// The fields of text into builder, which keeps text as its source. With checker,
// the text is checked as UTF-8 a piece ahead of the fields, while its bytes are
// at hand, and nullopt means it is not UTF-8; the builder then still holds it.
std::optional<SheetReadResult> ReadFields(SheetBuilder& builder, std::string_view text,
                                          Utf8Checker* checker) {
  const auto notUtf8 = [checker] { return checker != nullptr && !checker->AllValid(); };
  if (text.size() > SheetBuilder::kMaxTextBytes) {
    if (notUtf8()) return std::nullopt;
    return SheetReadFailure{SheetReadFailure::Reason::TooLarge};
  }
  // Most fields hold more than a few bytes; room made at once spares regrowing.
  builder.ReserveCells(text.size() / 8);

  const char separator = SeparatorOf(text);
  // A field is a run of the text itself until it needs a byte of its own (a
  // quote); only then are its bytes gathered in `field`.
  std::string field;
  std::size_t runStart = 0;
  std::size_t runLength = 0;
  bool gathered = false;
  std::int64_t row = 0;
  std::int64_t column = 0;
  std::size_t i = 0;
  const auto gather = [&] {
    if (gathered) return;
    field.assign(text.substr(runStart, runLength));
    gathered = true;
  };
  const auto fieldEmpty = [&] { return gathered ? field.empty() : runLength == 0; };
  const auto endField = [&] {
    if (gathered) {
      builder.SetText(row, column, field);
    } else {
      builder.SetSourceText(row, column, text.substr(runStart, runLength));
    }
    field.clear();
    gathered = false;
    runLength = 0;
    ++column;
  };
  while (i < text.size() && !builder.TooLarge()) {
    if (checker != nullptr) checker->CheckUpTo(i + 1);
    const char c = text[i];
    if (!gathered && runLength == 0) {
      runStart = i;
      // A field that does not open with a quote runs to the next separator or
      // line end; a quote inside it is an ordinary character.
      if (c != '"' && c != separator && c != '\r' && c != '\n') {
        i = PlainFieldEnd(text, i + 1, separator);
        runLength = i - runStart;
        continue;
      }
    }
    if (c == '"' && fieldEmpty()) {
      gather();
      // A quoted field runs to the quote that is not doubled; what follows that
      // quote up to the separator belongs to the field too.
      ++i;
      while (i < text.size()) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        field += text[i++];
      }
      continue;
    }
    if (c == separator) {
      endField();
      ++i;
      continue;
    }
    if (c == '\r' || c == '\n') {
      endField();
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      ++row;
      column = 0;
      continue;
    }
    if (gathered) {
      field += c;
    } else {
      ++runLength;
    }
    ++i;
  }
  if (!fieldEmpty() || column > 0) endField();

  if (notUtf8()) return std::nullopt;
  if (builder.TooLarge()) return SheetReadFailure{SheetReadFailure::Reason::TooLarge};
  Sheet sheet = std::move(builder).Finish();
  if (sheet.RowCount() == 0) return SheetReadFailure{SheetReadFailure::Reason::Empty};
  return sheet;
}

}  // namespace

SheetReadResult ReadCsvSheet(std::string bytes) {
  if (std::string_view(bytes).starts_with(kByteOrderMark)) {
    SheetBuilder builder;
    const std::string_view text = builder.KeepSource(std::move(bytes));
    return *ReadFields(builder, text.substr(kByteOrderMark.size()), nullptr);
  }
  // Read as UTF-8, which it nearly always is, while it is checked; read again
  // from Windows-1253 should it not be.
  {
    SheetBuilder builder;
    const std::string_view text = builder.KeepSource(std::move(bytes));
    Utf8Checker checker(text);
    if (auto read = ReadFields(builder, text, &checker)) return std::move(*read);
    bytes = Cp1253ToUtf8(text);
  }
  SheetBuilder builder;
  const std::string_view text = builder.KeepSource(std::move(bytes));
  return *ReadFields(builder, text, nullptr);
}

}  // namespace velmora
