#include "SortFigures.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "AtomicFile.h"
#include "ExchangeSort.h"
#include "FindCommand.h"
#include "PlainFile.h"
#include "RecordLayout.h"
#include "SortCommand.h"
#include "Stopwatch.h"
#include "TextFile.h"

namespace velmora {

namespace {

constexpr int kSortRuns = 5;
constexpr int kFindRuns = 21;
constexpr std::size_t kExactLines = 3'000;
constexpr uint32_t kShuffleSeed = 77;

std::string Ms(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f ms", seconds * 1000);
  return text;
}

std::string Us(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f us", seconds * 1e6);
  return text;
}

void Require(bool condition, const std::string& what) {
  if (!condition) throw std::runtime_error(what);
}

// The side's table, working file and snapshot hold exactly these lines, as after a
// store. The snapshot they replace is gone from the disk before anything is timed.
void PutLines(Statement& statement, const std::vector<std::string>& lines) {
  RecordTable& table = statement.Table(Side::Customers);
  table.Close();
  WriteLinesAtomically(table.FileName(), lines, false);
  table.OpenWithLines(lines);
  statement.Lines(Side::Customers).TakeSnapshot();
  statement.Lines(Side::Customers).WaitForOldSnapshot();
}

std::vector<std::string> Shuffled(std::vector<std::string> lines) {
  std::mt19937 random(kShuffleSeed);
  std::shuffle(lines.begin(), lines.end(), random);
  return lines;
}

// Copies the columns from the name to the end of the line.
void CopyNameOnwards(const std::string& from, std::string& to) {
  const std::size_t offset = SortKeyOffset(SortKey::ByName);
  to.replace(offset, std::string::npos, from, offset, std::string::npos);
}

// One line in five takes the name and everything after it from the line before,
// keeping its own sequence and tax numbers.
std::vector<std::string> WithTies(std::vector<std::string> lines) {
  for (std::size_t i = 4; i < lines.size(); i += 5) CopyNameOnwards(lines[i - 1], lines[i]);
  return lines;
}

// Few distinct keys: every line takes its name onwards from one of 40 lines, and
// half of them that line's tax number too, so both orders meet many equal keys.
std::vector<std::string> ManyTies(const std::vector<std::string>& lines) {
  std::mt19937 random(kShuffleSeed);
  std::vector<std::string> tied(lines.begin(), lines.begin() + kExactLines);
  const auto taxNumber = LineSpan(LineField::TaxNumber);
  for (std::string& line : tied) {
    const std::string& model = lines[random() % 40];
    CopyNameOnwards(model, line);
    if (random() % 2 == 0)
      line.replace(taxNumber.offset, taxNumber.width, model, taxNumber.offset, taxNumber.width);
  }
  return tied;
}

// Times the sort command from the given order each time, beside a plain read and
// write of the working file.
Stopwatch::Pair TimeSort(Statement& statement, AutomaticAnswers& answers,
                         const std::vector<std::string>& start, SortKey key) {
  const std::string file = statement.Table(Side::Customers).FileName();
  const std::string copy = file + ".plain";
  // The yardstick too starts once the sort's old snapshot is gone: its removal runs
  // on a thread of its own and would otherwise slow the yardstick down.
  const Stopwatch::Pair times = Stopwatch::BestInTurns(
      kSortRuns, [&] { statement.Lines(Side::Customers).WaitForOldSnapshot(); },
      [&] { WritePlainFile(copy, ReadPlainFile(file), false); },
      [&] { PutLines(statement, start); },
      [&] {
        Require(SortLines(statement, answers, Side::Customers, key).sorted,
                "the lines were not sorted");
      });
  std::filesystem::remove(copy);
  return times;
}

// The command's order, in the table and in the file, is the exchange sort's.
bool SortsAsTheExchangeSort(Statement& statement, AutomaticAnswers& answers,
                            const std::vector<std::string>& lines, SortKey key) {
  PutLines(statement, lines);
  Require(SortLines(statement, answers, Side::Customers, key).sorted, "the lines were not sorted");
  const RecordTable& table = statement.Table(Side::Customers);
  const std::vector<std::string> expected =
      reference::ExchangeSortLines(lines, SortKeyOffset(key)).lines;
  return table.Lines() == expected && ReadPlainFile(table.FileName()) == JoinCrLf(expected);
}

}  // namespace

void RunSortFigures(Statement& statement, AutomaticAnswers& answers, FigureReport& report) {
  answers.ClearMessages();
  const std::vector<std::string> opened = statement.Table(Side::Customers).Lines();
  const std::vector<std::string> start = Shuffled(opened);

  for (const SortKey key : {SortKey::ByName, SortKey::ByTaxNumber}) {
    const auto [plain, sort] = TimeSort(statement, answers, start, key);
    report.AtMost(key == SortKey::ByName ? "sort_by_name" : "sort_by_afm", sort / plain, 5,
                  Ms(sort) + " against " + Ms(plain) + " to read and write the working file");
  }
  {
    const auto [plain, sort] =
        TimeSort(statement, answers, Shuffled(WithTies(opened)), SortKey::ByName);
    report.AtMost("sort_with_ties", sort / plain, 10,
                  Ms(sort) + " against " + Ms(plain) + ", one line in five tied by name onwards");
  }

  // The last line's name, made unique, so that only the last line matches.
  std::vector<std::string> findLines = start;
  const auto name = LineSpan(LineField::Name);
  const std::string lastName = "ZZZ LAST LINE";
  findLines.back().replace(name.offset, name.width,
                           lastName + std::string(name.width - lastName.size(), ' '));
  PutLines(statement, findLines);
  const FindRequest request{FindField::Name, Cp1253Text(lastName), FindMatch::WholeField};
  const std::vector<std::string>& lines = statement.Table(Side::Customers).Lines();
  std::size_t passFound = 0;
  const double pass = Stopwatch::Best(kFindRuns, [&] {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (std::string_view(lines[i]).substr(name.offset, lastName.size()) == lastName)
        passFound = i;
    }
  });
  std::optional<std::size_t> found;
  const double find = Stopwatch::Best(kFindRuns, [&] {
    found = FindLineOnSide(statement, answers, Side::Customers, request).line;
  });
  Require(found == lines.size() - 1 && passFound == found, "the last line was not found");
  report.AtMost("find_last", find / pass, 2,
                Us(find) + " against " + Us(pass) + " for one pass over the lines in memory");

  const std::vector<std::string> tied = ManyTies(opened);
  const bool exact = SortsAsTheExchangeSort(statement, answers, tied, SortKey::ByName) &&
                     SortsAsTheExchangeSort(statement, answers, tied, SortKey::ByTaxNumber);
  std::printf(
      "sort_exact=%s (%zu lines on 40 keys by name, both orders, against the exchange sort)\n",
      exact ? "yes" : "no", kExactLines);
  std::fflush(stdout);
  Require(answers.Messages().empty(), "the sort or the find said something");
}

}  // namespace velmora
