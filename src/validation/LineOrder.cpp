#include "LineOrder.h"

#include <algorithm>
#include <cstdint>

namespace velmora {

namespace {

// Counts marked positions below a bound (a Fenwick tree).
class MarkCounter {
 public:
  explicit MarkCounter(std::size_t size) : tree_(size + 1, 0) {}

  void Mark(std::size_t position) {
    for (std::size_t i = position + 1; i < tree_.size(); i += LowBit(i)) ++tree_[i];
  }

  // Marked positions in [0, end).
  std::size_t CountBelow(std::size_t end) const {
    std::size_t count = 0;
    for (std::size_t i = end; i > 0; i -= LowBit(i)) count += tree_[i];
    return count;
  }

  static std::size_t LowBit(std::size_t i) { return i & (~i + 1); }

 private:
  std::vector<std::size_t> tree_;
};

// The free slots of an array being filled, for placing elements by their rank
// among the slots still free (a Fenwick tree over ones).
class FreeSlots {
 public:
  explicit FreeSlots(std::size_t size) : tree_(size + 1) {
    for (std::size_t i = 1; i <= size; ++i) tree_[i] = MarkCounter::LowBit(i);
    while (topStep_ * 2 <= size) topStep_ *= 2;
  }

  // Takes the free slot with `rank` free slots before it and returns its index.
  std::size_t Take(std::size_t rank) {
    std::size_t position = 0;
    std::size_t remaining = rank + 1;
    for (std::size_t step = topStep_; step > 0; step /= 2) {
      const std::size_t next = position + step;
      if (next < tree_.size() && tree_[next] < remaining) {
        position = next;
        remaining -= tree_[next];
      }
    }
    for (std::size_t i = position + 1; i < tree_.size(); i += MarkCounter::LowBit(i)) --tree_[i];
    return position;
  }

 private:
  std::vector<std::size_t> tree_;
  std::size_t topStep_ = 1;
};

// Appends the lines of one key, given by their ascending file positions, in the
// order the exchange sort leaves them. That order is a queue walked in file order:
// each line of the key joins at the back, and each line with a smaller key passed
// after the first of them sends the front line to the back (lines with greater keys
// play no part). Seen as a ring, a joining line goes just before the current front,
// and the smaller keys only advance the front; so the ring is built from insertion
// ranks, and the queue is the ring read from its final front.
void AppendEqualKeys(std::span<const std::size_t> positions, const MarkCounter& smaller,
                     std::size_t smallerTotal, std::vector<std::size_t>& order) {
  const std::size_t count = positions.size();
  std::vector<std::size_t> insertAt(count, 0);
  std::size_t front = 0;  // the front's index in the ring as built so far
  for (std::size_t t = 1; t < count; ++t) {
    // Joining the back of a ring of t lines whose front is not its first element
    // puts the line in the front's place; otherwise it goes at the end.
    insertAt[t] = front > 0 ? front : t;
    front = front > 0 ? front + 1 : 0;
    const std::size_t nextPosition = t + 1 < count ? positions[t + 1] : 0;
    const std::size_t passed =
        t + 1 < count ? smaller.CountBelow(nextPosition) - smaller.CountBelow(positions[t])
                      : smallerTotal - smaller.CountBelow(positions[t]);
    front = (front + passed % (t + 1)) % (t + 1);
  }

  std::vector<std::size_t> ring(count);
  FreeSlots slots(count);
  for (std::size_t t = count; t-- > 0;) ring[slots.Take(insertAt[t])] = positions[t];
  for (std::size_t i = 0; i < count; ++i) order.push_back(ring[(front + i) % count]);
}

}  // namespace

std::string_view SortKeyOf(std::string_view line, std::size_t keyOffset) {
  const std::size_t end = std::min(line.size(), kRecordLength);
  if (keyOffset >= end) return {};
  return line.substr(keyOffset, end - keyOffset);
}

std::vector<std::size_t> SortedLineOrder(std::span<const std::string> lines,
                                         std::size_t keyOffset) {
  const std::size_t count = lines.size();
  // Each key's first bytes sit beside it, so that most comparisons are settled
  // without reaching into the lines scattered over memory.
  struct Entry {
    std::uint64_t head;
    std::string_view key;
    std::size_t index;
  };
  std::vector<Entry> byKey(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view key = SortKeyOf(lines[i], keyOffset);
    std::uint64_t head = 0;
    for (std::size_t b = 0; b < 8; ++b) {
      head = head << 8 | (b < key.size() ? static_cast<unsigned char>(key[b]) : 0u);
    }
    byKey[i] = {head, key, i};
  }
  // string_view compares its characters as unsigned char, the byte order of the
  // code page; ties keep file order so that each key's lines come out ascending.
  std::sort(byKey.begin(), byKey.end(), [](const Entry& a, const Entry& b) {
    if (a.head != b.head) return a.head < b.head;
    const int compared = a.key.compare(b.key);
    return compared != 0 ? compared < 0 : a.index < b.index;
  });

  std::vector<std::size_t> order;
  order.reserve(count);
  MarkCounter smaller(count);
  std::size_t smallerTotal = 0;
  std::vector<std::size_t> group;
  for (std::size_t begin = 0; begin < count;) {
    group.clear();
    std::size_t end = begin;
    for (;
         end < count && byKey[end].head == byKey[begin].head && byKey[end].key == byKey[begin].key;
         ++end) {
      group.push_back(byKey[end].index);
    }
    if (group.size() == 1) {
      order.push_back(group.front());
    } else {
      AppendEqualKeys(group, smaller, smallerTotal, order);
    }
    for (const std::size_t position : group) smaller.Mark(position);
    smallerTotal += group.size();
    begin = end;
  }
  return order;
}

}  // namespace velmora
