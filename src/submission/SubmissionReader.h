#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "Failure.h"
#include "LineTotals.h"
#include "RecordLayout.h"

namespace velmora {

// A submission file taken apart into what the working files and the window hold.
struct OpenedStatement {
  bool creditBalances = false;
  // Records "1", "3" and "5" as they stand; records "2" and "4" in the working layout
  // (through ConvertFileLine). Each list in file order.
  std::vector<std::string> headerLines, customerLines, customerAmountLines, supplierLines,
      supplierAmountLines;
  // The amount boxes, as amount texts ("1234,5", "0"); the last record "3" or "5" wins.
  std::string retailSales = "0", customersWithoutItemisation = "0",
              suppliersWithoutItemisation = "0";
  // The invoice and value totals of each side's lines, added up as they were read.
  LineTotals customerTotals, supplierTotals;
};

// The file's failure as it is told, with where it was found.
struct ReadFailure : Failure {
  int lineNumber = 0;                 // 1-based line of the file, 0 when not about one line
  bool refusedBeforeReading = false;  // the file is not a submission file at all
};

// The largest file the writer can produce (99,999 lines a side, the opening, header
// and two amounts records, each with CR LF), with a tenth more for slack. A larger
// file is refused before it is read.
constexpr std::size_t kLargestStatementBytes =
    (2 * static_cast<std::size_t>(kMaxLinesPerSide) + 4) * (kRecordLength + 2);
constexpr std::size_t kSubmissionFileSizeLimit =
    kLargestStatementBytes + kLargestStatementBytes / 10;

// Checks the whole file before anything is returned, so a failure means nothing of the
// file is to be used. Lines end at CR, LF or CR LF. The file is bytes, not text: a NUL
// where a record type stands is a wrong record type, one elsewhere in a later record a
// wrong length; the opening record is checked by its marker alone. Refused too: more
// than kSubmissionFileSizeLimit bytes, and more than kMaxLinesPerSide lines of a side
// (the message names the side, lineNumber is the first line too many).
std::variant<OpenedStatement, ReadFailure> ReadSubmissionFile(std::string_view bytes);

// The bytes of the file at path. Only a regular file is read: a folder, a device or a
// pipe is refused at once without waiting on it, and so is a file larger than
// kSubmissionFileSizeLimit, before any of it is read. A failure has a Greek message,
// beep and refusedBeforeReading set, and lineNumber 0.
std::variant<std::string, ReadFailure> ReadSubmissionBytes(const std::string& path);

// ReadSubmissionBytes, then ReadSubmissionFile.
std::variant<OpenedStatement, ReadFailure> ReadSubmissionFileAt(const std::string& path);

// A line record "2" or "4" in its working form: the invoice count and the value are
// written as the line table holds them, left-aligned; everything else stays. A field
// that does not read as a whole number, or whose text would not fit it, stays as it is.
std::string ConvertFileLine(std::string_view fileLine);

// The amount text of a field of cents ("0000000000123450" gives "1234,5"); nullopt when
// the field does not read as a whole number.
std::optional<std::string> AmountTextFromCents(std::string_view field);

}  // namespace velmora
