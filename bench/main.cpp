// velmora-bench: times "Άνοιγμα", "Αποθήκευση ως...", the pre-save checks and the
// storing of one line on a statement of 99,999 customer and 99,999 supplier lines,
// each beside its yardstick in the same run, and prints the ratios.
#include <time.h>

#include <QGuiApplication>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "AtomicFile.h"
#include "CheckCommand.h"
#include "ExportFigures.h"
#include "FigureReport.h"
#include "ImportFigures.h"
#include "AutomaticAnswers.h"
#include "MemoryPeak.h"
#include "PlainFile.h"
#include "PreSaveChecks.h"
#include "PairwisePreSaveCheck.h"
#include "PreSaveVariants.h"
#include "PagedPrintFigures.h"
#include "PrintFigures.h"
#include "RecordLayout.h"
#include "SortFigures.h"
#include "Statement.h"
#include "StatementCommands.h"
#include "StatementGenerator.h"
#include "Stopwatch.h"
#include "TempFolder.h"
#include "TextFile.h"

namespace velmora {

namespace {

// The sequence number of a line record has five digits.
constexpr int kLinesPerSide = 99'999;
constexpr int kRuns = 5;
// Whole-statement timings against their yardsticks, taken in turns.
constexpr int kTimedRuns = 9;
constexpr uint64_t kSeed = 20'240'501;

Today LocalToday() {
  const time_t now = ::time(nullptr);
  tm local{};
  ::localtime_r(&now, &local);
  char date[9];
  std::strftime(date, sizeof date, "%Y%m%d", &local);
  return {local.tm_year + 1900, date};
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Ms(double seconds) { return Format("%.1f ms", seconds * 1000); }

std::string Mb(size_t bytes) { return Format("%.1f MB", static_cast<double>(bytes) / 1e6); }

void Require(bool condition, const std::string& what) {
  if (!condition) throw std::runtime_error(what);
}

// A message means the command stopped or complained: the figures would be of
// something else.
void RequireSilence(const AutomaticAnswers& answers, const std::string& step) {
  if (!answers.Messages().empty()) {
    throw std::runtime_error(step + ": the command said: " + answers.Messages().front());
  }
}

// The largest rise of the resident memory over kRuns runs of step, each run
// started afresh (see MemoryPeak::Start) after prepare. These runs are apart from
// the timed ones, which find their memory warm from the run before, as a program
// that keeps running does.
template <typename Prepare, typename Step>
size_t PeakGrowth(Prepare prepare, Step step) {
  size_t largest = 0;
  MemoryPeak peak;
  for (int run = 0; run < kRuns; ++run) {
    prepare();
    peak.Start();
    step();
    largest = std::max(largest, peak.GrowthBytes());
  }
  return largest;
}

struct CleanChecks {
  double linearSeconds;    // the best of five
  double pairwiseSeconds;  // one run: it is the long one
  bool sameVerdict;
};

CleanChecks TimeCleanChecks(Side side, const LineKeys& clean, const std::string& filerTaxNumber) {
  CleanChecks result{};
  std::optional<Failure> linear;
  result.linearSeconds = Stopwatch::Best(5, [&] {
    linear = CheckSideBeforeSave(side, clean.taxNumbers, clean.obligations, filerTaxNumber);
  });
  const Stopwatch watch;
  const auto pairwise = reference::CheckSideBeforeSavePairwise(side, clean.taxNumbers,
                                                               clean.obligations, filerTaxNumber);
  result.pairwiseSeconds = watch.Seconds();
  result.sameVerdict = SameVerdict(linear, pairwise);
  if (!result.sameVerdict) std::fprintf(stderr, "pre-save verdicts differ on the clean lines\n");
  return result;
}

// Both checks must name the planted fault, and the same one.
bool PlantedVerdictsAgree(Side side, const LineKeys& clean, const std::string& filerTaxNumber) {
  bool agree = true;
  for (const PreSaveVariant& variant : PlantedVariants(clean, filerTaxNumber)) {
    const auto linear = CheckSideBeforeSave(side, variant.keys.taxNumbers, variant.keys.obligations,
                                            filerTaxNumber);
    const auto pairwise = reference::CheckSideBeforeSavePairwise(
        side, variant.keys.taxNumbers, variant.keys.obligations, filerTaxNumber);
    if (!SameVerdict(linear, pairwise)) {
      std::fprintf(stderr, "pre-save verdicts differ: %s\n", variant.name.c_str());
      agree = false;
    } else if (!linear) {
      std::fprintf(stderr, "planted fault reported by neither check: %s\n", variant.name.c_str());
      agree = false;
    }
  }
  return agree;
}

int Run() {
  const TempFolder temp;
  const Today today = LocalToday();
  const HeaderFields filer = StatementGenerator::Filer(std::to_string(today.year - 1));
  const std::string source = temp.File("statement.txt");
  const std::string copy = temp.File("copy.txt");
  size_t fileSize = 0;
  {
    const std::string file =
        StatementGenerator(kSeed).SubmissionFile(filer, today.date, kLinesPerSide, kLinesPerSide);
    fileSize = file.size();
    WritePlainFile(source, file, false);
  }
  std::printf("statement: %d customer and %d supplier lines, %zu bytes\n", kLinesPerSide,
              kLinesPerSide, fileSize);
  std::fflush(stdout);

  FigureReport report;
  // The statement and the very commands of the window, answered by themselves.
  Statement statement(temp.Path());
  statement.SetFilerTaxNumber(filer.taxNumber);
  AutomaticAnswers answers(temp.Path());
  answers.SetFileToOpen(source);
  StatementForm form;
  auto removeCopy = [&] { std::filesystem::remove(copy); };

  // "Άνοιγμα", each time over an empty statement.
  auto plainCopyStep = [&] {
    const std::string bytes = ReadPlainFile(source);
    WritePlainFile(copy, bytes, false);
  };
  auto resetStatement = [&] {
    statement.SetModified(false);  // thrown away, not saved
    Require(NewStatement(statement, answers, {}, {}).shown.has_value(),
            "the statement was not emptied");
    answers.ClearMessages();
  };
  auto openStatement = [&] {
    const ReplacementOutcome opened = OpenStatement(statement, answers, form, today);
    Require(opened.shown.has_value(), "the generated statement was not opened");
    form = opened.shown->form;
  };
  const auto [plainCopy, open] =
      Stopwatch::BestInTurns(kTimedRuns, removeCopy, plainCopyStep, resetStatement, openStatement);
  const size_t openGrowth = PeakGrowth(resetStatement, openStatement);
  RequireSilence(answers, "Άνοιγμα");
  // The window chooses the office from the opened file's code, as a user would.
  Require(form.header.taxOfficeCode == filer.taxOfficeCode, "the opened office code differs");
  Require(statement.Table(Side::Customers).RecordCount() == kLinesPerSide &&
              statement.Table(Side::Suppliers).RecordCount() == kLinesPerSide,
          "the opened statement does not hold every line");
  report.AtMost("open", open / plainCopy, 5,
                Ms(open) + " against " + Ms(plainCopy) + " to read and write");

  // "Αποθήκευση ως...", each time into a new file.
  auto plainDurableCopyStep = [&] {
    const std::string bytes = ReadPlainFile(source);
    WritePlainFile(copy, bytes, true);
  };
  std::string saved;
  auto removeSaved = [&] {
    if (!saved.empty()) std::filesystem::remove(saved);
  };
  auto saveStatement = [&] {
    answers.ClearMessages();
    const SaveOutcome outcome = SaveStatementAs(statement, answers, form, today);
    saved = outcome.saved ? answers.LastSavePath() : std::string();
    if (outcome.saved) answers.ClearMessages();  // the success message
  };
  const auto [plainDurableCopy, save] = Stopwatch::BestInTurns(
      kTimedRuns, removeCopy, plainDurableCopyStep, removeSaved, saveStatement);
  const size_t saveGrowth = PeakGrowth(removeSaved, saveStatement);
  RequireSilence(answers, "Αποθήκευση ως...");
  Require(!saved.empty(), "the statement was not saved");
  report.AtMost("save", save / plainDurableCopy, 5,
                Ms(save) + " against " + Ms(plainDurableCopy) + " to read and write with fsync");
  const bool roundTrip = ReadPlainFile(saved) == ReadPlainFile(source);

  // The pre-save checks, linear against pairwise.
  bool verdictsIdentical = true;
  {
    LineKeys customers;
    statement.Lines(Side::Customers).Keys(customers.taxNumbers, customers.obligations);
    const CleanChecks clean = TimeCleanChecks(Side::Customers, customers, filer.taxNumber.bytes());
    report.AtLeast("presave_speedup", clean.pairwiseSeconds / clean.linearSeconds, 100,
                   "pairwise " + Format("%.2f s", clean.pairwiseSeconds) + ", linear " +
                       Ms(clean.linearSeconds));
    verdictsIdentical = clean.sameVerdict &&
                        PlantedVerdictsAgree(Side::Customers, customers, filer.taxNumber.bytes());
  }
  {
    LineKeys suppliers;
    statement.Lines(Side::Suppliers).Keys(suppliers.taxNumbers, suppliers.obligations);
    verdictsIdentical = PlantedVerdictsAgree(Side::Suppliers, suppliers, filer.taxNumber.bytes()) &&
                        verdictsIdentical;
  }
  std::printf(
      "presave_verdicts_identical=%s (clean customer lines, and 6 planted variants of "
      "each side)\n",
      verdictsIdentical ? "yes" : "no");
  std::fflush(stdout);

  // "Έλεγχος δήλωσης": every check on every line of both sides, against the
  // linear checks before a save of both sides.
  {
    auto linearBothSides = [&] {
      for (const Side side : {Side::Customers, Side::Suppliers}) {
        LineKeys keys;
        statement.Lines(side).Keys(keys.taxNumbers, keys.obligations);
        Require(
            !CheckSideBeforeSave(side, keys.taxNumbers, keys.obligations, filer.taxNumber.bytes()),
            "the generated statement fails its checks before a save");
      }
    };
    std::size_t problems = 0;
    const double linear = Stopwatch::Best(kTimedRuns, linearBothSides);
    const double check = Stopwatch::Best(kTimedRuns, [&] {
      const auto listed = CheckStatement(statement, answers, form, today);
      problems = listed ? listed->size() : 1;
    });
    Require(problems == 0, "the check found problems in the generated statement");
    RequireSilence(answers, "Έλεγχος δήλωσης");
    report.AtMost("check_all", check / linear, 5,
                  Ms(check) + " against " + Ms(linear) + " for the checks before a save");
  }

  // One new customer line, as typed into the grid and stored; it is deleted again,
  // untimed, so that every run stores into 99,999 lines.
  RecordTable& table = statement.Table(Side::Customers);
  const double oneWrite = Stopwatch::Best(
      kRuns, [&] { WriteFileAtomically(table.FileName(), JoinCrLf(table.Lines()), false); });
  uint32_t typed = 0;
  auto deleteTyped = [&] {
    if (table.RecordCount() > kLinesPerSide) table.DeleteRecord();
  };
  const double store = Stopwatch::Best(kRuns, deleteTyped, [&] {
    table.BeginAppend();
    auto field = [](LineField f) { return LineFieldName(Side::Customers, f); };
    table.SetFieldText(field(LineField::TaxNumber), StatementGenerator::ExtraTaxNumber(typed++));
    table.SetFieldText(field(LineField::Obligation), "0");
    table.SetFieldText(field(LineField::InvoiceCount), "3");
    table.SetFieldText(field(LineField::Value), "1234,56");
    table.PostRecord();
  });
  Require(table.RecordCount() == kLinesPerSide + 1, "the typed line was not stored");
  deleteTyped();
  RequireSilence(answers, "storing a line");
  report.AtMost("store_line", store / oneWrite, 3,
                Ms(store) + " against " + Ms(oneWrite) + " to write the table's file");

  RunPrintFigures(statement, answers, form, temp.Path(), report);
  RunPagedPrintFigures(statement, answers, form, temp.Path(), report);
  RunExportFigures(statement, answers, temp.Path(), report);

  report.AtMost("open_memory", static_cast<double>(openGrowth) / static_cast<double>(fileSize), 4,
                Mb(openGrowth) + " above the start for a " + Mb(fileSize) + " file");
  report.AtMost("save_memory", static_cast<double>(saveGrowth) / static_cast<double>(fileSize), 4,
                Mb(saveGrowth) + " above the start for a " + Mb(fileSize) + " file");
  std::printf("roundtrip_identical=%s (the saved file against the opened one)\n",
              roundTrip ? "yes" : "no");
  RunSortFigures(statement, answers, report);
  ReportImportFigures(report, temp.Path(), filer);
  report.PrintSummary();
  return verdictsIdentical ? 0 : 1;
}

}  // namespace

}  // namespace velmora

int main(int argc, char** argv) {
  // The printed pages are painted with Qt's fonts, which need an application but
  // no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const QGuiApplication application(argc, argv);
  try {
    return velmora::Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "velmora-bench: %s\n", error.what());
    return 2;
  }
}
