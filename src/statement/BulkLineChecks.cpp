#include "BulkLineChecks.h"

#include <utility>

#include "TwoHalves.h"

namespace velmora {

namespace {

std::vector<std::string> Reserved(std::size_t most) {
  std::vector<std::string> lines;
  lines.reserve(most);
  return lines;
}

}  // namespace

void WriteLineField(std::string& line, LineField field, std::string_view text) {
  const ColumnSpan span = LineSpan(field);
  if (line.size() < span.end()) line.resize(span.end(), ' ');
  std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(span.offset), span.width, ' ');
  line.replace(span.offset, std::min(text.size(), span.width), text.substr(0, span.width));
}

std::vector<LoneCheck> StampAndCheckAlone(std::vector<Cp1253Text>& lines, Side side,
                                          const std::string& filerTaxNumber) {
  const std::string blankFiller(LineSpan(LineField::Filler).width, ' ');
  const std::string type(1, LineRecordType(side));
  std::vector<LoneCheck> alone(lines.size());
  InTwoHalves(lines.size(), [&](std::size_t begin, std::size_t end) {
    // One input for every line, so that its texts keep their room from line to line.
    LineCheckInput input{side, {}, {}, {}, {}, filerTaxNumber, true};
    for (std::size_t i = begin; i < end; ++i) {
      std::string& line = lines[i].bytes();
      if (line.size() > kRecordLength) line.resize(kRecordLength);
      WriteLineField(line, LineField::Filler, blankFiller);
      WriteLineField(line, LineField::RecordType, type);
      ReadCheckedFields(line, input);
      alone[i] = LoneCheck(CheckLineAlone(input), LineSpan(LineField::Value).width);
    }
  });
  return alone;
}

void PrefetchAhead(const std::vector<Cp1253Text>& lines, std::size_t i, const TypedLineRun& run) {
  constexpr std::size_t kAhead = 8;
  if (i + 2 * kAhead < lines.size()) {
    const std::string& far = lines[i + 2 * kAhead].bytes();
    for (std::size_t at = 0; at < far.size(); at += 64) __builtin_prefetch(far.data() + at);
  }
  if (i + kAhead < lines.size()) run.Prefetch(lines[i + kAhead].view());
}

AcceptedLines::AcceptedLines(const std::string& path, const std::vector<std::string>& stored,
                             std::size_t most)
    : lines_(Reserved(most)), file_(path, stored, lines_, /*durable=*/false) {}

std::vector<std::string> AcceptedLines::Finish() {
  file_.Finish(lines_.size());
  return std::move(lines_);
}

}  // namespace velmora
