#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "../reference/ExchangeSort.h"
#include "Cp1253.h"
#include "LineOrder.h"
#include "RecordLayout.h"

namespace velmora {
namespace {

using Fields = std::vector<std::pair<LineField, std::string>>;

std::string Cp1253(std::string_view utf8) {
  const auto bytes = Utf8ToCp1253(utf8);
  EXPECT_TRUE(bytes.has_value()) << utf8;
  return bytes.value_or(std::string());
}

// A full customer line with the given fields (UTF-8) and blanks elsewhere.
std::string MakeLine(const Fields& fields) {
  std::string line(kRecordLength, ' ');
  line[0] = record_type::kCustomerLine;
  for (const auto& [field, utf8] : fields) {
    const ColumnSpan span = LineSpan(field);
    std::string text = Cp1253(utf8);
    text.resize(span.width, ' ');
    line.replace(span.offset, span.width, text);
  }
  return line;
}

std::string Named(std::string_view name, std::string_view sequence = "1",
                  std::string_view taxNumber = "090000045") {
  return MakeLine({{LineField::SequenceNumber, std::string(sequence)},
                   {LineField::TaxNumber, std::string(taxNumber)},
                   {LineField::Name, std::string(name)}});
}

std::vector<std::string> Reordered(const std::vector<std::string>& lines,
                                   const std::vector<std::size_t>& order) {
  std::vector<std::string> result;
  for (const std::size_t index : order) result.push_back(lines.at(index));
  return result;
}

constexpr std::array<SortKey, 2> kBothKeys = {SortKey::ByName, SortKey::ByTaxNumber};

// Small pools, so that equal keys and keys that begin alike are common.
const std::array<const char*, 16> kNames = {"ΑΛΦΑ",  "ΑΛΦΑΒΗΤΟ", "ΆΛΦΑ",  "ΐΑ",   "αλφα", "ΣΟΦΟΣ",
                                            "σοφός", "ALPHA",    "alpha", "ΒΗΤΑ", "",     "Ω",
                                            "ώρα",   "ςΑ",       "ΑΛΦΑ ", "Ρ"};
const std::array<const char*, 5> kProfessions = {"", "ΕΜΠΟΡΟΣ", "ΈΜΠΟΡΟΣ", "ΕΜΠ", "trade"};
const std::array<const char*, 5> kTaxNumbers = {"090000045", "012345678", "123456789", "12345", ""};

// Lines drawn from a few neighbouring entries of each pool (variety of them), with
// the occasional line that stops early, even before its key begins.
std::vector<std::string> RandomTable(std::mt19937& random, std::size_t count, std::size_t variety) {
  const auto below = [&random](std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random);
  };
  const std::size_t nameBase = below(kNames.size());
  const std::size_t professionBase = below(kProfessions.size());
  const std::size_t taxBase = below(kTaxNumbers.size());
  const auto draw = [&](const auto& pool, std::size_t base) {
    return pool[(base + below(std::min(pool.size(), variety))) % pool.size()];
  };
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < count; ++i) {
    std::string line = MakeLine({{LineField::SequenceNumber, std::to_string(i + 1)},
                                 {LineField::TaxNumber, draw(kTaxNumbers, taxBase)},
                                 {LineField::Name, draw(kNames, nameBase)},
                                 {LineField::Profession, draw(kProfessions, professionBase)},
                                 {LineField::Obligation, below(2) == 0 ? "0" : "1"}});
    if (below(8) == 0) line.resize(below(60));
    lines.push_back(std::move(line));
  }
  return lines;
}

TEST(LineOrderTest, SameOrderAsTheExchangeSort) {
  std::mt19937 random(20091231);
  for (int round = 0; round < 6000; ++round) {
    const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 14)(random);
    const std::size_t variety = std::uniform_int_distribution<std::size_t>(1, 6)(random);
    const std::vector<std::string> lines = RandomTable(random, count, variety);
    for (const SortKey key : kBothKeys) {
      const std::size_t offset = SortKeyOffset(key);
      ASSERT_EQ(SortedLineOrder(lines, offset), reference::ExchangeSortOrder(lines, offset))
          << "round " << round << ", key offset " << offset;
    }
  }
  // Longer tables with few keys: long queues turned many times.
  for (int round = 0; round < 150; ++round) {
    const std::size_t count = std::uniform_int_distribution<std::size_t>(15, 400)(random);
    const std::size_t variety = std::uniform_int_distribution<std::size_t>(2, 4)(random);
    const std::vector<std::string> lines = RandomTable(random, count, variety);
    for (const SortKey key : kBothKeys) {
      const std::size_t offset = SortKeyOffset(key);
      ASSERT_EQ(SortedLineOrder(lines, offset), reference::ExchangeSortOrder(lines, offset))
          << "long round " << round << ", key offset " << offset;
    }
  }
}

TEST(LineOrderTest, EqualKeysMoveAsTheExchangeRuleMovesThem) {
  // b and b' differ only in the sequence number and tax number, which the name
  // sort carries without comparing; a is smaller.
  const std::vector<std::string> lines = {Named("ΒΗΤΑ", "1", "111111111"),
                                          Named("ΒΗΤΑ", "2", "222222222"),
                                          Named("ΑΛΦΑ", "3", "333333333")};
  EXPECT_EQ(SortedLineOrder(lines, SortKeyOffset(SortKey::ByName)),
            (std::vector<std::size_t>{2, 1, 0}));

  EXPECT_TRUE(SortedLineOrder({}, SortKeyOffset(SortKey::ByName)).empty());
}

TEST(LineOrderTest, AlphabeticalOrderKeepsWholeLines) {
  const std::vector<std::string> lines = {MakeLine({{LineField::SequenceNumber, "1"},
                                                    {LineField::TaxNumber, "090000045"},
                                                    {LineField::Name, "ΓΑΜΜΑ"},
                                                    {LineField::Value, "10,5"}}),
                                          MakeLine({{LineField::SequenceNumber, "2"},
                                                    {LineField::TaxNumber, "123456783"},
                                                    {LineField::Name, "ΑΛΦΑ"},
                                                    {LineField::Value, "20"}}),
                                          MakeLine({{LineField::SequenceNumber, "3"},
                                                    {LineField::TaxNumber, "094019245"},
                                                    {LineField::Name, "ΒΗΤΑ"},
                                                    {LineField::Value, "30"}})};
  const auto order = SortedLineOrder(lines, SortKeyOffset(SortKey::ByName));
  EXPECT_EQ(order, (std::vector<std::size_t>{1, 2, 0}));
  // The yardstick rebuilds each line from its two parts; nothing may change in them.
  EXPECT_EQ(reference::ExchangeSortLines(lines, SortKeyOffset(SortKey::ByName)).lines,
            Reordered(lines, order));
}

TEST(LineOrderTest, NamesFollowTheCodePage) {
  // Windows-1253 order: digits, Latin capitals, Latin small letters, accented Greek
  // capitals, ΐ, the capitals, accented small letters, the small letters with final ς
  // between ρ and σ, then ό ύ ώ. A shorter name before the longer one it begins.
  const std::vector<std::string> expected = {
      "0",        "9", "A", "Z", "a", "z", "Ά", "Έ", "Ή", "Ί", "Ό", "Ύ", "Ώ", "ΐ", "Α", "ΑΛΦΑ",
      "ΑΛΦΑΒΗΤΟ", "Β", "Ω", "ά", "έ", "ή", "ί", "α", "ρ", "ς", "σ", "ω", "ό", "ύ", "ώ"};
  std::vector<std::string> lines;
  for (const auto& name : expected) lines.push_back(Named(name));
  std::vector<std::string> shuffled = lines;
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    EXPECT_EQ(Reordered(shuffled, SortedLineOrder(shuffled, SortKeyOffset(SortKey::ByName))),
              lines);
  }
}

TEST(LineOrderTest, KeysRunToTheEndOfTheLine) {
  const auto line = [](std::string_view taxNumber, std::string_view name,
                       std::string_view profession, std::string_view obligation,
                       std::string_view town) {
    return MakeLine({{LineField::TaxNumber, std::string(taxNumber)},
                     {LineField::Name, std::string(name)},
                     {LineField::Profession, std::string(profession)},
                     {LineField::Obligation, std::string(obligation)},
                     {LineField::Town, std::string(town)}});
  };
  // Same name: profession, then obligation, then town decide; the tax number, carried
  // by the name sort, does not.
  const std::vector<std::string> sameName = {line("000000001", "ΙΔΙΟΣ", "ΨΑΡΑΣ", "0", "ΑΘΗΝΑ"),
                                             line("000000002", "ΙΔΙΟΣ", "ΕΜΠΟΡΟΣ", "1", "ΑΘΗΝΑ"),
                                             line("000000003", "ΙΔΙΟΣ", "ΕΜΠΟΡΟΣ", "0", "ΧΑΝΙΑ"),
                                             line("000000004", "ΙΔΙΟΣ", "ΕΜΠΟΡΟΣ", "0", "ΑΡΤΑ")};
  EXPECT_EQ(SortedLineOrder(sameName, SortKeyOffset(SortKey::ByName)),
            (std::vector<std::size_t>{3, 2, 1, 0}));

  // By tax number: numeric order for nine digits, a shorter number before those it
  // begins, and the name deciding between equal numbers.
  const std::vector<std::string> byNumber = {
      line("123456789", "ΒΗΤΑ", "", "0", ""), line("012345678", "ΩΜΕΓΑ", "", "0", ""),
      line("12345", "ΖΗΤΑ", "", "1", ""), line("123456789", "ΑΛΦΑ", "", "0", "")};
  EXPECT_EQ(SortedLineOrder(byNumber, SortKeyOffset(SortKey::ByTaxNumber)),
            (std::vector<std::size_t>{1, 2, 3, 0}));
  // The same lines by name ignore the numbers.
  EXPECT_EQ(SortedLineOrder(byNumber, SortKeyOffset(SortKey::ByName)),
            (std::vector<std::size_t>{3, 0, 2, 1}));

  // A line that stops before its key has an empty key, the smallest of all; a line
  // that stops inside it compares what it holds.
  const std::vector<std::string> shortLines = {Named("ΑΛΦΑ"), Named("ΑΛΦΑ").substr(0, 17),
                                               Named("ΑΛΦΑ").substr(0, 10)};
  EXPECT_EQ(SortedLineOrder(shortLines, SortKeyOffset(SortKey::ByName)),
            (std::vector<std::size_t>{2, 1, 0}));
  // Columns past the record length are not part of the key.
  const std::vector<std::string> longLines = {Named("ΑΛΦΑ") + "B", Named("ΑΛΦΑ") + "A"};
  EXPECT_EQ(SortedLineOrder(longLines, SortKeyOffset(SortKey::ByName)),
            (std::vector<std::size_t>{0, 1}));
}

TEST(LineOrderTest, LargeTablesOfDistinctKeysInByteOrder) {
  // Thousands of lines take other ways through the ordering than small tables do;
  // with no two keys equal, plain byte order of the keys is the only right answer.
  std::mt19937 random(1253);
  const auto digits = [&random](std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += static_cast<char>('0' + random() % 10);
    return text;
  };
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < 6000; ++i) {
    // Names share long beginnings; tax numbers are all but unique.
    std::string line = Named(kNames[random() % kNames.size()], "1", digits(9));
    const ColumnSpan value = LineSpan(LineField::Value);
    line.replace(value.offset, value.width, digits(value.width));
    lines.push_back(std::move(line));
  }
  for (const SortKey key : kBothKeys) {
    const std::size_t offset = SortKeyOffset(key);
    std::vector<std::size_t> expected(lines.size());
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = i;
    std::sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
      return SortKeyOf(lines[a], offset) < SortKeyOf(lines[b], offset);
    });
    ASSERT_EQ(std::adjacent_find(expected.begin(), expected.end(),
                                 [&](std::size_t a, std::size_t b) {
                                   return SortKeyOf(lines[a], offset) ==
                                          SortKeyOf(lines[b], offset);
                                 }),
              expected.end());
    EXPECT_EQ(SortedLineOrder(lines, offset), expected) << "key offset " << offset;
  }
}

TEST(LineOrderTest, SortingTwiceEqualsOnce) {
  std::mt19937 random(4242);
  for (int round = 0; round < 300; ++round) {
    const std::size_t count = std::uniform_int_distribution<std::size_t>(0, 60)(random);
    const std::vector<std::string> lines = RandomTable(random, count, 4);
    for (const SortKey key : kBothKeys) {
      const std::size_t offset = SortKeyOffset(key);
      const std::vector<std::string> once = Reordered(lines, SortedLineOrder(lines, offset));
      const std::vector<std::string> twice = Reordered(once, SortedLineOrder(once, offset));
      ASSERT_EQ(twice, once) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace velmora
