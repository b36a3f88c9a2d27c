#include "CsvReader.h"

#include <cstdint>
#include <cstring>
#include <string>

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

}  // namespace

SheetReadResult ReadCsvSheet(std::string bytes) {
  SheetBuilder builder;
  std::string_view text;
  if (std::string_view(bytes).starts_with(kByteOrderMark)) {
    text = builder.KeepSource(std::move(bytes)).substr(kByteOrderMark.size());
  } else if (!IsValidUtf8(bytes)) {
    text = builder.KeepSource(Cp1253ToUtf8(bytes));
  } else {
    text = builder.KeepSource(std::move(bytes));
  }
  if (text.size() > SheetBuilder::kMaxTextBytes) {
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

  if (builder.TooLarge()) return SheetReadFailure{SheetReadFailure::Reason::TooLarge};
  Sheet sheet = std::move(builder).Finish();
  if (sheet.RowCount() == 0) return SheetReadFailure{SheetReadFailure::Reason::Empty};
  return sheet;
}

}  // namespace velmora
