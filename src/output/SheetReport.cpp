#include "SheetReport.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace velmora {

namespace {

using Reason = SheetReadFailure::Reason;

constexpr char kSize = 'S';
constexpr char kFailure = 'F';
constexpr char kNumber = 'N';
constexpr char kText = 'T';
constexpr char kEnd = 'E';
constexpr std::size_t kPieceBytes = 64 * 1024;

template <typename T>
void Put(std::string& out, T value) {
  char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  out.append(bytes, sizeof value);
}

// Reads a record's fields front to back; a shortfall marks it as not yet whole.
class FieldReader {
 public:
  explicit FieldReader(std::string_view bytes) : rest_(bytes) {}

  template <typename T>
  T Take() {
    T value{};
    if (rest_.size() < sizeof value) {
      short_ = true;
      return value;
    }
    std::memcpy(&value, rest_.data(), sizeof value);
    rest_.remove_prefix(sizeof value);
    return value;
  }
  std::string_view TakeBytes(std::uint32_t length) {
    if (rest_.size() < length) {
      short_ = true;
      return {};
    }
    const std::string_view bytes = rest_.substr(0, length);
    rest_.remove_prefix(length);
    return bytes;
  }
  bool Short() const { return short_; }
  std::size_t Left() const { return rest_.size(); }

 private:
  std::string_view rest_;
  bool short_ = false;
};

}  // namespace

SheetReportWriter::SheetReportWriter(std::function<bool(std::string_view)> send)
    : send_(std::move(send)) {
  piece_.reserve(kPieceBytes + 64);
}

void SheetReportWriter::SendWhenFull() {
  if (piece_.size() < kPieceBytes) return;
  if (sent_) sent_ = send_(piece_);
  piece_.clear();
}

void SheetReportWriter::Expect(int rows, int columns) {
  piece_ += kSize;
  Put(piece_, static_cast<std::uint32_t>(rows));
  Put(piece_, static_cast<std::uint16_t>(columns));
}

void SheetReportWriter::Number(int row, int column, double value) {
  piece_ += kNumber;
  Put(piece_, static_cast<std::uint32_t>(row));
  Put(piece_, static_cast<std::uint16_t>(column));
  Put(piece_, value);
  SendWhenFull();
}

void SheetReportWriter::Text(int row, int column, std::string_view utf8) {
  piece_ += kText;
  Put(piece_, static_cast<std::uint32_t>(row));
  Put(piece_, static_cast<std::uint16_t>(column));
  Put(piece_, static_cast<std::uint32_t>(utf8.size()));
  piece_ += utf8;
  SendWhenFull();
}

bool SheetReportWriter::End(const std::optional<SheetReadFailure>& failure) {
  if (failure) {
    piece_ += kFailure;
    Put(piece_, static_cast<std::uint8_t>(failure->reason));
    Put(piece_, static_cast<std::int32_t>(failure->row));
    Put(piece_, static_cast<std::int32_t>(failure->column));
  }
  piece_ += kEnd;
  if (sent_) sent_ = send_(piece_);
  piece_.clear();
  return sent_;
}

std::size_t SheetReportReader::TakeRecords(std::string_view bytes) {
  FieldReader reader(bytes);
  std::size_t taken = 0;
  while (!ended_ && !broken_ && !builder_.TooLarge() && reader.Left() > 0) {
    const char kind = reader.Take<char>();
    if (kind == kNumber) {
      const auto row = reader.Take<std::uint32_t>();
      const auto column = reader.Take<std::uint16_t>();
      const auto value = reader.Take<double>();
      if (reader.Short()) break;
      builder_.SetNumber(row, column, value);
    } else if (kind == kText) {
      const auto row = reader.Take<std::uint32_t>();
      const auto column = reader.Take<std::uint16_t>();
      const auto length = reader.Take<std::uint32_t>();
      if (!reader.Short() && (length == 0 || length > SheetBuilder::kMaxTextBytes)) {
        broken_ = true;
        break;
      }
      const std::string_view text = reader.TakeBytes(length);
      if (reader.Short()) break;
      builder_.SetText(row, column, text);
    } else if (kind == kSize) {
      const auto rows = reader.Take<std::uint32_t>();
      const auto columns = reader.Take<std::uint16_t>();
      if (reader.Short()) break;
      // Room for every cell the sheet says it has, within the limit on cells.
      builder_.ReserveCells(std::size_t{rows} * columns);
    } else if (kind == kFailure) {
      const auto reason = reader.Take<std::uint8_t>();
      SheetReadFailure failure;
      failure.row = reader.Take<std::int32_t>();
      failure.column = reader.Take<std::int32_t>();
      if (reader.Short()) break;
      // Failures of this process's own making are never reported by a helper.
      if (failure_ || reason > static_cast<std::uint8_t>(Reason::FormulaWithoutResult) ||
          static_cast<Reason>(reason) == Reason::CannotRead ||
          static_cast<Reason>(reason) == Reason::ReaderMissing) {
        broken_ = true;
        break;
      }
      failure.reason = static_cast<Reason>(reason);
      failure_ = failure;
    } else if (kind == kEnd) {
      ended_ = true;
    } else {
      broken_ = true;
      break;
    }
    taken = bytes.size() - reader.Left();
  }
  return taken;
}

bool SheetReportReader::Feed(std::string_view bytes) {
  if (ended_ && !bytes.empty()) broken_ = true;
  if (broken_ || builder_.TooLarge()) return false;
  if (partRecord_.empty()) {
    partRecord_.assign(bytes.substr(TakeRecords(bytes)));
  } else {
    partRecord_.append(bytes);
    partRecord_.erase(0, TakeRecords(partRecord_));
  }
  if (ended_ && !partRecord_.empty()) broken_ = true;
  return !broken_ && !builder_.TooLarge();
}

SheetReadResult SheetReportReader::Finish() && {
  if (builder_.TooLarge()) return SheetReadFailure{Reason::TooLarge};
  if (broken_ || !ended_) return SheetReadFailure{Reason::Damaged};
  if (failure_) return *failure_;
  Sheet sheet = std::move(builder_).Finish();
  if (sheet.RowCount() == 0) return SheetReadFailure{Reason::Empty};
  return sheet;
}

std::string EncodeSheetResult(const SheetReadResult& result) {
  std::string report;
  SheetReportWriter writer([&report](std::string_view piece) {
    report += piece;
    return true;
  });
  if (const auto* failure = std::get_if<SheetReadFailure>(&result)) {
    writer.End(*failure);
    return report;
  }
  const Sheet& sheet = std::get<Sheet>(result);
  writer.Expect(sheet.RowCount(), sheet.ColumnCount());
  sheet.ForEachValue([&writer](int row, int column, const SheetCell& cell) {
    if (cell.kind == SheetCell::Kind::Number) {
      writer.Number(row, column, cell.number);
    } else {
      writer.Text(row, column, cell.text);
    }
  });
  writer.End(std::nullopt);
  return report;
}

SheetReadResult DecodeSheetResult(std::string_view report) {
  SheetReportReader reader;
  reader.Feed(report);
  return std::move(reader).Finish();
}

}  // namespace velmora
