#include "XlsSheetInChild.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>

#include "FileDescriptor.h"
#include "SystemReason.h"
#include "XlsSheetReader.h"

namespace velmora {

namespace {

using Reason = SheetReadFailure::Reason;

constexpr char kFailure = 'F';
constexpr char kSheet = 'S';
constexpr char kNumber = 'N';
constexpr char kText = 'T';
constexpr char kEnd = 'E';
// A report never needs more than the largest sheet the builder admits.
constexpr std::size_t kMaxReportBytes =
    SheetBuilder::kMaxTextBytes + SheetBuilder::kMaxCells * 20 + 1024;
constexpr auto kChildTimeLimit = std::chrono::minutes(2);

template <typename T>
void Put(std::string& out, T value) {
  char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  out.append(bytes, sizeof value);
}

// Reads the report front to back; any shortfall marks it broken.
class ReportReader {
 public:
  explicit ReportReader(std::string_view bytes) : rest_(bytes) {}

  template <typename T>
  T Take() {
    T value{};
    if (rest_.size() < sizeof value) {
      broken_ = true;
      return value;
    }
    std::memcpy(&value, rest_.data(), sizeof value);
    rest_.remove_prefix(sizeof value);
    return value;
  }
  std::string_view TakeBytes(std::uint32_t length) {
    if (rest_.size() < length) {
      broken_ = true;
      return {};
    }
    const std::string_view bytes = rest_.substr(0, length);
    rest_.remove_prefix(length);
    return bytes;
  }
  bool Broken() const { return broken_; }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
  bool broken_ = false;
};

SheetReadFailure CannotRead(int error) {
  SheetReadFailure failure{Reason::CannotRead};
  failure.systemReason = SystemReason(error);
  return failure;
}

// Everything the child writes, up to the limit, or nullopt when it overran the
// limit or the time.
std::optional<std::string> ReadReport(int fd) {
  std::string report;
  const auto deadline = std::chrono::steady_clock::now() + kChildTimeLimit;
  char buffer[1 << 16];
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd ready{fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) return std::nullopt;
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return report;
    if (report.size() + static_cast<std::size_t>(got) > kMaxReportBytes) return std::nullopt;
    report.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace

std::string EncodeSheetResult(const SheetReadResult& result) {
  std::string out;
  if (const auto* failure = std::get_if<SheetReadFailure>(&result)) {
    out += kFailure;
    Put(out, static_cast<std::uint8_t>(failure->reason));
    Put(out, static_cast<std::int32_t>(failure->row));
    Put(out, static_cast<std::int32_t>(failure->column));
  } else {
    out += kSheet;
    std::get<Sheet>(result).ForEachValue([&out](int row, int column, const SheetCell& cell) {
      out += cell.kind == SheetCell::Kind::Number ? kNumber : kText;
      Put(out, static_cast<std::uint32_t>(row));
      Put(out, static_cast<std::uint16_t>(column));
      if (cell.kind == SheetCell::Kind::Number) {
        Put(out, cell.number);
      } else {
        Put(out, static_cast<std::uint32_t>(cell.text.size()));
        out += cell.text;
      }
    });
  }
  out += kEnd;
  return out;
}

SheetReadResult DecodeSheetResult(std::string_view report) {
  ReportReader reader(report);
  const char kind = reader.Take<char>();
  if (kind == kFailure) {
    const auto reason = reader.Take<std::uint8_t>();
    SheetReadFailure failure;
    failure.row = reader.Take<std::int32_t>();
    failure.column = reader.Take<std::int32_t>();
    if (reader.Broken() || reader.Take<char>() != kEnd || !reader.AtEnd() ||
        reason > static_cast<std::uint8_t>(Reason::FormulaWithoutResult) ||
        static_cast<Reason>(reason) == Reason::CannotRead)
      return SheetReadFailure{Reason::Damaged};
    failure.reason = static_cast<Reason>(reason);
    return failure;
  }
  if (kind != kSheet) return SheetReadFailure{Reason::Damaged};
  SheetBuilder builder;
  while (!reader.Broken() && !builder.TooLarge()) {
    const char cell = reader.Take<char>();
    if (cell == kEnd) break;
    const auto row = reader.Take<std::uint32_t>();
    const auto column = reader.Take<std::uint16_t>();
    if (cell == kNumber) {
      builder.SetNumber(row, column, reader.Take<double>());
    } else if (cell == kText) {
      const std::string_view text = reader.TakeBytes(reader.Take<std::uint32_t>());
      if (text.empty()) return SheetReadFailure{Reason::Damaged};
      builder.SetText(row, column, text);
    } else {
      return SheetReadFailure{Reason::Damaged};
    }
  }
  if (builder.TooLarge()) return SheetReadFailure{Reason::TooLarge};
  if (reader.Broken() || !reader.AtEnd()) return SheetReadFailure{Reason::Damaged};
  Sheet sheet = std::move(builder).Finish();
  if (sheet.RowCount() == 0) return SheetReadFailure{Reason::Empty};
  return sheet;
}

SheetReadResult ReadXlsSheetInChild(const std::string& path) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return CannotRead(errno);
  FileDescriptor readEnd(ends[0]);
  FileDescriptor writeEnd(ends[1]);
  const pid_t child = ::fork();
  if (child < 0) return CannotRead(errno);
  if (child == 0) {
    // Only the child's own work from here: no destructors, no buffers flushed twice.
    ::close(ends[0]);
    const bool sent = WriteAll(ends[1], EncodeSheetResult(ReadXlsSheet(path)));
    ::_exit(sent ? 0 : 1);
  }
  ::close(writeEnd.Release());
  const std::optional<std::string> report = ReadReport(readEnd.Get());
  ::close(readEnd.Release());
  if (!report) ::kill(child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!report || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return SheetReadFailure{Reason::Damaged};
  return DecodeSheetResult(*report);
}

}  // namespace velmora
