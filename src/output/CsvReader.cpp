#include "CsvReader.h"

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

}  // namespace

SheetReadResult ReadCsvSheet(std::string_view bytes) {
  std::string converted;
  std::string_view text = bytes;
  if (text.starts_with(kByteOrderMark)) {
    text.remove_prefix(kByteOrderMark.size());
  } else if (!IsValidUtf8(text)) {
    converted = Cp1253ToUtf8(text);
    text = converted;
  }
  if (text.size() > SheetBuilder::kMaxTextBytes) {
    return SheetReadFailure{SheetReadFailure::Reason::TooLarge};
  }

  const char separator = SeparatorOf(text);
  SheetBuilder builder;
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
    builder.SetText(row, column,
                    gathered ? std::string_view(field) : text.substr(runStart, runLength));
    field.clear();
    gathered = false;
    runLength = 0;
    ++column;
  };
  while (i < text.size() && !builder.TooLarge()) {
    const char c = text[i];
    if (!gathered && runLength == 0) runStart = i;
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
