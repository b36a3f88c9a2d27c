#include "BulkLineChecks.h"

#include "TwoHalves.h"

namespace velmora {

std::vector<LoneCheck> StampAndCheckAlone(std::vector<Cp1253Text>& lines,
                                          const LineRecordFields& fields, Side side,
                                          const std::string& filerTaxNumber, std::size_t recordSize,
                                          const std::function<void(std::string&)>& stamp) {
  std::vector<LoneCheck> alone(lines.size());
  InTwoHalves(lines.size(), [&](std::size_t begin, std::size_t end) {
    // One input for every line, so that its texts keep their room from line to line.
    LineCheckInput input{side, {}, {}, {}, {}, filerTaxNumber, true};
    for (std::size_t i = begin; i < end; ++i) {
      std::string& record = lines[i].bytes();
      if (record.size() > recordSize) record.resize(recordSize);
      stamp(record);
      fields.Read(record, input);
      alone[i] = LoneCheck(CheckLineAlone(input), fields.value.width);
    }
  });
  return alone;
}

}  // namespace velmora
