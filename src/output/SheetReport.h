#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Sheet.h"
#include "SheetReadResult.h"

namespace velmora {

// The report a helper process sends of the worksheet it read: every cell that
// holds a value, as it is read, then either the end or the failure and the end.
// Cells go out in pieces of about 64 KB, so the reader of the report can build its
// sheet while the helper is still reading.
class SheetReportWriter final : public SheetCellSink {
 public:
  // send(bytes) gets each piece; false stops the sending.
  explicit SheetReportWriter(std::function<bool(std::string_view)> send);

  void Expect(int rows, int columns) override;
  void Number(int row, int column, double value) override;
  void Text(int row, int column, std::string_view utf8) override;
  // Ends the report with the failure, if any; false when a piece could not be sent.
  bool End(const std::optional<SheetReadFailure>& failure);

 private:
  void SendWhenFull();

  std::function<bool(std::string_view)> send_;
  std::string piece_;
  bool sent_ = true;
};

// Builds the sheet from a report fed in pieces of any size. Any bytes: what is not
// such a report, whole, is a damaged file; the sheet is held to the same limits as
// one read in this process.
class SheetReportReader {
 public:
  // False once reading on is pointless: the report is broken or the sheet too large.
  bool Feed(std::string_view bytes);
  SheetReadResult Finish() &&;

 private:
  // Takes the records that stand whole in bytes; returns how many bytes they took.
  std::size_t TakeRecords(std::string_view bytes);

  SheetBuilder builder_;
  std::string partRecord_;  // the start of a record whose rest is still to come
  std::optional<SheetReadFailure> failure_;
  bool ended_ = false;
  bool broken_ = false;
};

// The report of a sheet or a failure whole, and back.
std::string EncodeSheetResult(const SheetReadResult& result);
SheetReadResult DecodeSheetResult(std::string_view report);

}  // namespace velmora
