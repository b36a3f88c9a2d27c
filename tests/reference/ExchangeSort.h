#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace velmora::reference {

// The line sort as the program has always done it, step by step and in quadratic
// time: the yardstick for the fast order in tests and benchmarks, never shipped.

constexpr std::size_t kLineLength = 150;

// Plain byte order: bytes taken as unsigned, the first difference deciding, and a
// text that is the beginning of the other counting as the smaller.
inline bool ByteLess(const std::string& a, const std::string& b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

struct ExchangeSorted {
  // The lines rebuilt as carried part followed by key, in their new order.
  std::vector<std::string> lines;
  // order[i] is the old index of the line at position i.
  std::vector<std::size_t> order;
};

// Splits every line at keyOffset into the carried part and the key (columns up to
// the line length, as far as the line reaches), then, for each position i and each
// later position j, exchanges entries i and j when key j is less than key i.
inline ExchangeSorted ExchangeSortLines(std::span<const std::string> lines, std::size_t keyOffset) {
  std::vector<std::string> carried;
  std::vector<std::string> keys;
  ExchangeSorted sorted;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = lines[i].substr(0, kLineLength);
    const std::size_t split = keyOffset < line.size() ? keyOffset : line.size();
    carried.push_back(line.substr(0, split));
    keys.push_back(line.substr(split));
    sorted.order.push_back(i);
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    for (std::size_t j = i + 1; j < keys.size(); ++j) {
      if (ByteLess(keys[j], keys[i])) {
        std::swap(keys[i], keys[j]);
        std::swap(carried[i], carried[j]);
        std::swap(sorted.order[i], sorted.order[j]);
      }
    }
  }
  for (std::size_t i = 0; i < keys.size(); ++i) sorted.lines.push_back(carried[i] + keys[i]);
  return sorted;
}

inline std::vector<std::size_t> ExchangeSortOrder(std::span<const std::string> lines,
                                                  std::size_t keyOffset) {
  return ExchangeSortLines(lines, keyOffset).order;
}

}  // namespace velmora::reference
