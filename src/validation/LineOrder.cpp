#include "LineOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

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
  if (count == 2) {
    // A key given twice, the common case: only the smaller keys after the second
    // line turn a queue of two, each one swapping its ends.
    const std::size_t passed = smallerTotal - smaller.CountBelow(positions[1]);
    order.push_back(positions[passed % 2]);
    order.push_back(positions[1 - passed % 2]);
    return;
  }
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

// Keys are compared seven bytes at a time. A chunk holds the seven bytes from
// `depth` big-endian in its top bytes (zeros past the key's end) and, in its lowest
// byte, how many key bytes remain from depth, capped at 8. Comparing chunks as
// numbers therefore compares the keys' bytes there, and where those agree the key
// that ends first is the smaller; equal chunks with a count below 8 are equal keys.
constexpr std::size_t kChunkBytes = 7;
constexpr std::uint64_t kKeyGoesOn = 8;

std::uint64_t ChunkAt(std::string_view key, std::size_t depth) {
  if (depth >= key.size()) return 0;
  const std::size_t remaining = key.size() - depth;
  const auto* bytes = reinterpret_cast<const unsigned char*>(key.data()) + depth;
  if (remaining >= 8) {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
    return (word & ~std::uint64_t{0xFF}) | kKeyGoesOn;
  }
  std::uint64_t chunk = 0;
  for (std::size_t b = 0; b < kChunkBytes; ++b)
    chunk = chunk << 8 | (b < remaining ? bytes[b] : 0u);
  return chunk << 8 | remaining;
}

struct Ranked {
  std::uint64_t chunk;
  std::size_t index;
};

void InsertionSortByChunk(Ranked* first, Ranked* last) {
  for (Ranked* i = first + 1; i < last; ++i) {
    const Ranked moving = *i;
    Ranked* j = i;
    for (; j > first && (j - 1)->chunk > moving.chunk; --j) *j = *(j - 1);
    *j = moving;
  }
}

// Orders by chunk alone, in three parts around each pivot, so that the many equal
// chunks of names that begin alike are settled in one pass. Falls back on
// std::sort where the pivots keep choosing badly.
void QuickSortByChunk(Ranked* first, Ranked* last, int depthLimit) {
  while (last - first > 24) {
    if (depthLimit-- == 0) {
      std::sort(first, last, [](const Ranked& a, const Ranked& b) { return a.chunk < b.chunk; });
      return;
    }
    const std::uint64_t a = first->chunk;
    const std::uint64_t b = first[(last - first) / 2].chunk;
    const std::uint64_t c = (last - 1)->chunk;
    const std::uint64_t pivot = std::max(std::min(a, b), std::min(std::max(a, b), c));
    Ranked* less = first;
    Ranked* greater = last;
    for (Ranked* i = first; i < greater;) {
      if (i->chunk < pivot) {
        std::swap(*less++, *i++);
      } else if (i->chunk > pivot) {
        std::swap(*i, *--greater);
      } else {
        ++i;
      }
    }
    if (less - first < last - greater) {
      QuickSortByChunk(first, less, depthLimit);
      first = greater;
    } else {
      QuickSortByChunk(greater, last, depthLimit);
      last = less;
    }
  }
  InsertionSortByChunk(first, last);
}

// Orders by chunk a byte at a time from the lowest, skipping the bytes that all
// chunks share; its cost does not grow with the number of distinct chunks.
void RadixSortByChunk(Ranked* first, Ranked* last, std::vector<Ranked>& spare) {
  const auto count = static_cast<std::size_t>(last - first);
  std::uint64_t all = ~std::uint64_t{0};
  std::uint64_t any = 0;
  for (const Ranked* entry = first; entry != last; ++entry) {
    all &= entry->chunk;
    any |= entry->chunk;
  }
  spare.resize(count);
  Ranked* from = first;
  Ranked* to = spare.data();
  for (int shift = 0; shift < 64; shift += 8) {
    if (((all ^ any) >> shift & 0xFF) == 0) continue;
    std::array<std::size_t, 256> starts{};
    for (const Ranked* entry = from; entry != from + count; ++entry)
      ++starts[entry->chunk >> shift & 0xFF];
    std::size_t sum = 0;
    for (std::size_t& start : starts) sum += std::exchange(start, sum);
    for (const Ranked* entry = from; entry != from + count; ++entry)
      to[starts[entry->chunk >> shift & 0xFF]++] = *entry;
    std::swap(from, to);
  }
  if (from != first) std::copy(from, from + count, first);
}

// Radix where a sample shows many distinct chunks (tax numbers), three-way quick
// sort where it shows few (names from the same beginnings).
void SortByChunk(Ranked* first, Ranked* last, int depthLimit, std::vector<Ranked>& spare) {
  constexpr std::ptrdiff_t kRadixFrom = 4096;
  constexpr std::size_t kSample = 64;
  if (last - first >= kRadixFrom) {
    std::array<std::uint64_t, kSample> sample;
    const std::ptrdiff_t step = (last - first) / static_cast<std::ptrdiff_t>(kSample);
    for (std::size_t i = 0; i < kSample; ++i)
      sample[i] = first[static_cast<std::ptrdiff_t>(i) * step].chunk;
    std::sort(sample.begin(), sample.end());
    const auto distinct = std::unique(sample.begin(), sample.end()) - sample.begin();
    if (distinct > static_cast<std::ptrdiff_t>(kSample / 2)) {
      RadixSortByChunk(first, last, spare);
      return;
    }
  }
  QuickSortByChunk(first, last, depthLimit);
}

// The chunks of a few depths for every line, read in one pass over the lines, for
// the depths that many lines reach; where few do, their chunks are read directly.
class ChunkColumns {
 public:
  explicit ChunkColumns(std::span<const std::string_view> keys) : keys_(keys) {}

  // Whether the chunks of depth level `level` are at hand for every line.
  bool Hold(std::size_t level) const {
    return !direct_ && !columns_.empty() && level >= firstLevel_ && level < firstLevel_ + kLevels;
  }

  // Readies the chunks of depth level `level`, which `reaching` lines need.
  void Prepare(std::size_t level, std::size_t reaching) {
    if (Hold(level)) return;
    direct_ = reaching * 4 < keys_.size();
    if (direct_) return;
    firstLevel_ = level;
    columns_.resize(keys_.size() * kLevels);
    for (std::size_t i = 0; i < keys_.size(); ++i) {
      for (std::size_t d = 0; d < kLevels; ++d)
        columns_[d * keys_.size() + i] = ChunkAt(keys_[i], (level + d) * kChunkBytes);
    }
  }

  std::uint64_t Chunk(std::size_t level, std::size_t index) const {
    if (direct_) return ChunkAt(keys_[index], level * kChunkBytes);
    return columns_[(level - firstLevel_) * keys_.size() + index];
  }

 private:
  static constexpr std::size_t kLevels = 4;

  std::span<const std::string_view> keys_;
  std::vector<std::uint64_t> columns_;
  std::size_t firstLevel_ = 0;
  bool direct_ = false;
};

// Puts `ranked` (every index once) in ascending key order and marks each entry
// whose key equals the one before it; the entries of one key end in ascending index
// order. Depth by depth, only the runs still tied are ordered further; a few lines
// still tied where the chunks at hand run out are finished by comparing what is
// left of their keys.
void OrderByKeys(std::span<const std::string_view> keys, std::vector<Ranked>& ranked,
                 std::vector<std::uint8_t>& sameKeyAsPrevious) {
  struct Run {
    std::size_t begin, end, depth;
  };
  constexpr std::ptrdiff_t kFewLines = 8;
  const int depthLimit = 2 * static_cast<int>(std::bit_width(ranked.size())) + 8;
  const auto markTies = [&](const Ranked* first, const Ranked* last) {
    std::fill(sameKeyAsPrevious.begin() + (first - ranked.data()) + 1,
              sameKeyAsPrevious.begin() + (last - ranked.data()), 1);
  };
  // Lines whose keys agree before depth, ordered by the rest of their keys.
  const auto finish = [&](Ranked* first, Ranked* last, std::size_t depth) {
    const auto rest = [&keys, depth](const Ranked& entry) {
      const std::string_view key = keys[entry.index];
      return depth < key.size() ? key.substr(depth) : std::string_view();
    };
    std::sort(first, last, [&rest](const Ranked& x, const Ranked& y) {
      const int compared = rest(x).compare(rest(y));
      return compared != 0 ? compared < 0 : x.index < y.index;
    });
    for (Ranked* same = first; same != last;) {
      Ranked* sameEnd = same + 1;
      while (sameEnd != last && rest(*sameEnd) == rest(*same)) ++sameEnd;
      markTies(same, sameEnd);
      same = sameEnd;
    }
  };
  std::vector<Run> runs;
  if (ranked.size() > 1) runs.push_back({0, ranked.size(), 0});
  std::vector<Run> nextRuns;
  std::vector<Run> fewLines;
  std::vector<Ranked> spare;
  ChunkColumns columns(keys);
  for (std::size_t level = 0; !runs.empty(); ++level) {
    std::size_t reaching = 0;
    for (const Run& run : runs) reaching += run.end - run.begin;
    columns.Prepare(level, reaching);
    nextRuns.clear();
    for (const Run& run : runs) {
      Ranked* const first = ranked.data() + run.begin;
      Ranked* const last = ranked.data() + run.end;
      for (Ranked* entry = first; entry != last; ++entry)
        entry->chunk = columns.Chunk(level, entry->index);
      SortByChunk(first, last, depthLimit, spare);
      for (Ranked* same = first; same != last;) {
        Ranked* sameEnd = same + 1;
        while (sameEnd != last && sameEnd->chunk == same->chunk) ++sameEnd;
        if ((same->chunk & 0xFF) != kKeyGoesOn) {
          // Keys that end here are equal keys.
          std::sort(same, sameEnd,
                    [](const Ranked& x, const Ranked& y) { return x.index < y.index; });
          markTies(same, sameEnd);
        } else if (sameEnd - same > 1) {
          const Run tied{static_cast<std::size_t>(same - ranked.data()),
                         static_cast<std::size_t>(sameEnd - ranked.data()),
                         (level + 1) * kChunkBytes};
          // Reading the next chunks for a few lines costs more than comparing them
          // whole, once the chunks at hand run out.
          const bool few = sameEnd - same <= kFewLines && !columns.Hold(level + 1);
          (few ? fewLines : nextRuns).push_back(tied);
        }
        same = sameEnd;
      }
    }
    std::swap(runs, nextRuns);
  }
  // Their lines lie scattered in memory: each is asked for a few runs ahead.
  constexpr std::size_t kAhead = 4;
  const auto prefetch = [&](std::size_t at, bool keyBytes) {
    if (at >= fewLines.size()) return;
    for (std::size_t i = fewLines[at].begin; i < fewLines[at].end; ++i) {
      const std::string_view& key = keys[ranked[i].index];
      if (!keyBytes) {
        __builtin_prefetch(&key);
      } else if (fewLines[at].depth < key.size()) {
        __builtin_prefetch(key.data() + fewLines[at].depth);
      }
    }
  };
  for (std::size_t at = 0; at < fewLines.size(); ++at) {
    prefetch(at + 2 * kAhead, false);
    prefetch(at + kAhead, true);
    finish(ranked.data() + fewLines[at].begin, ranked.data() + fewLines[at].end,
           fewLines[at].depth);
  }
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
  std::vector<std::string_view> keys(count);
  for (std::size_t i = 0; i < count; ++i) keys[i] = SortKeyOf(lines[i], keyOffset);
  std::vector<Ranked> ranked(count);
  for (std::size_t i = 0; i < count; ++i) ranked[i] = {0, i};
  std::vector<std::uint8_t> sameKeyAsPrevious(count, 0);
  OrderByKeys(keys, ranked, sameKeyAsPrevious);

  std::vector<std::size_t> order;
  order.reserve(count);
  if (std::find(sameKeyAsPrevious.begin(), sameKeyAsPrevious.end(), 1) == sameKeyAsPrevious.end()) {
    // No two keys are equal: every correct sort gives this order.
    for (const Ranked& entry : ranked) order.push_back(entry.index);
    return order;
  }
  MarkCounter smaller(count);
  std::size_t smallerTotal = 0;
  std::vector<std::size_t> group;
  for (std::size_t begin = 0; begin < count;) {
    group.clear();
    std::size_t end = begin;
    do {
      group.push_back(ranked[end].index);
      ++end;
    } while (end < count && sameKeyAsPrevious[end] != 0);
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
