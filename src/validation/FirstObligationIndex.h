#pragma once

#include <bit>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

// The obligation of the first line with each tax number: open addressing over
// views into the lines themselves, sized once for every line it may hold, so that
// remembering a line allocates nothing. Each slot keeps a few bits of its number's
// hash, so that a look-up seldom reaches into a line that holds another number.
class FirstObligationIndex {
 public:
  explicit FirstObligationIndex(std::size_t most)
      : slots_(std::bit_ceil(most * 2 + 16), Slot{kEmpty, 0}) {
    entries_.reserve(most);
  }

  // Keeps the first obligation seen for a number; the views must outlive the index.
  void Remember(std::string_view taxNumber, std::string_view obligation) {
    const std::size_t hash = std::hash<std::string_view>{}(taxNumber);
    Slot& slot = slots_[Find(taxNumber, hash)];
    if (slot.entry != kEmpty) return;
    slot = {static_cast<std::uint32_t>(entries_.size()), Tag(hash)};
    entries_.push_back({taxNumber, obligation});
  }

  // Asks for the number's first slot ahead of its look-up: the slots of a large
  // index are spread far beyond the caches.
  void Prefetch(std::string_view taxNumber) const {
    __builtin_prefetch(&slots_[std::hash<std::string_view>{}(taxNumber) & (slots_.size() - 1)]);
  }

  std::optional<std::string> Find(std::string_view taxNumber) const {
    const std::uint32_t entry =
        slots_[Find(taxNumber, std::hash<std::string_view>{}(taxNumber))].entry;
    if (entry == kEmpty) return std::nullopt;
    return std::string(entries_[entry].second);
  }

 private:
  static constexpr std::uint32_t kEmpty = UINT32_MAX;

  struct Slot {
    std::uint32_t entry;
    std::uint32_t tag;
  };

  static std::uint32_t Tag(std::size_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

  // The slot that holds the number, or the empty one where it would go.
  std::size_t Find(std::string_view taxNumber, std::size_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    const std::uint32_t tag = Tag(hash);
    std::size_t slot = hash & mask;
    while (slots_[slot].entry != kEmpty &&
           (slots_[slot].tag != tag || entries_[slots_[slot].entry].first != taxNumber))
      slot = (slot + 1) & mask;
    return slot;
  }

  std::vector<Slot> slots_;
  std::vector<std::pair<std::string_view, std::string_view>> entries_;
};

}  // namespace velmora
