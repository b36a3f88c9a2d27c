#include "RecordLayout.h"

namespace velmora {

namespace {

constexpr bool LineLayoutIsContiguous() {
  std::size_t next = 0;
  for (std::size_t i = 0; i < kLineLayout.size(); ++i) {
    if (static_cast<std::size_t>(kLineLayout[i].field) != i) return false;
    if (kLineLayout[i].span.offset != next) return false;
    next = kLineLayout[i].span.end();
  }
  return next == kRecordLength;
}
static_assert(LineLayoutIsContiguous());

constexpr bool HeaderLayoutIsOrdered() {
  std::size_t next = 1;  // column 1 holds the record type
  for (std::size_t i = 0; i < kHeaderLayout.size(); ++i) {
    if (static_cast<std::size_t>(kHeaderLayout[i].field) != i) return false;
    if (kHeaderLayout[i].span.offset != next) return false;
    next = kHeaderLayout[i].span.end();
  }
  return next == kRecordLength;
}
static_assert(HeaderLayoutIsOrdered());
static_assert(amounts_record::kFiller.end() == kRecordLength);

}  // namespace

std::vector<std::string> LineSchema(Side side) {
  std::vector<std::string> schema;
  schema.reserve(kLineLayout.size());
  for (const LineFieldLayout& layout : kLineLayout) {
    schema.push_back(std::string(LineFieldName(side, layout.field)) + '=' +
                     std::to_string(layout.span.width));
  }
  return schema;
}

}  // namespace velmora
