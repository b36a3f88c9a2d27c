#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "HeaderLine.h"
#include "RecordLayout.h"
#include "TestSupport.h"
#include "SubmissionReader.h"
#include "SubmissionWriter.h"

namespace velmora {
namespace {

constexpr const char* kInvalid = "Μη έγκυρο αρχείο";
constexpr const char* kFailed = "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου";
constexpr const char* kWrongType =
    "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Λάθος τύπος Record";
constexpr const char* kWrongLength =
    "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Το μήκος της γραμμής είναι λανθασμένο";

using test::Blanks;
using test::Cat;
using test::Pad;

using test::CrLf;

const std::string kOpening = "0IL01    20240131" + Blanks(133);
const std::string kHeader =
    Cat({"1", "2008", "1101", "123   ", Pad("\xC1\xCB\xD6\xC1 \xC1\xC5", 18), "123456783",
         Pad("EMPORIO", 16), "ATHINA    ", Pad("ODOS 1", 16), "12A", "10431", "2101234567",
         "2107654321", Pad("info@example.gr", 34), "   0"});
// Columns 7-92 of a line record.
const std::string kTexts =
    Cat({"094014298", Pad("\xD0\xC1\xD0\xC1\xC4\xCF\xD3", 27), Pad("EMPORIO", 15), "0",
         "ATHINA    ", Pad("ODOS", 16), "12 ", "10431"});

std::string FileLine(char type, std::string_view sequence, std::string_view count,
                     std::string_view value) {
  return Cat({std::string(1, type), sequence, kTexts, count, value, Blanks(35)});
}

const std::string kCustomer = FileLine('2', "00001", "0000012", "0000000000123450");
const std::string kSupplier = FileLine('4', "00001", "0000003", "0000000000000007");
const std::string kCustomerAmounts = Cat({"3 ", "0000000000001000 ", "0000000000000250",
                                          "0000000000000012", "0000000000124700", Blanks(83)});
const std::string kSupplierAmounts =
    Cat({"5", Blanks(18), "0000000000000001", "0000000000000003", "0000000000000008", Blanks(83)});

OpenedStatement Opened(std::string_view bytes) {
  auto result = ReadSubmissionFile(bytes);
  if (const auto* failure = std::get_if<ReadFailure>(&result)) {
    ADD_FAILURE() << failure->message << " at line " << failure->lineNumber;
    return {};
  }
  return std::get<OpenedStatement>(std::move(result));
}

TEST(SubmissionReaderTest, RecognisesTheOpeningLineAndTheKind) {
  for (const char* first : {"0IL01", "0il01", "0Il01.PIS", "0\xC9L01", "0\xE9l01", "0IL01 x"}) {
    EXPECT_TRUE(std::holds_alternative<OpenedStatement>(ReadSubmissionFile(first))) << first;
  }
  for (const std::string& first : std::vector<std::string>{
           "", "\r\n", "IL01    20240131", "0IL0", "0IL02", " 0IL01", "0\xCEL01", "0\xCE\x99L01",
           "\xEF\xBB\xBF"
           "0IL01",
           std::string("0IL\0"
                       "01",
                       5),
           std::string(1000, '\0')}) {
    const auto result = ReadSubmissionFile(first + "\r\n" + kHeader + "\r\n");
    ASSERT_TRUE(std::holds_alternative<ReadFailure>(result)) << first;
    const ReadFailure& failure = std::get<ReadFailure>(result);
    EXPECT_EQ(failure.message, kInvalid);
    EXPECT_FALSE(failure.beep);
    EXPECT_TRUE(failure.refusedBeforeReading);
    EXPECT_EQ(failure.lineNumber, 0);
  }

  EXPECT_TRUE(Opened("0IL01.PIS20240131\r\n").creditBalances);
  EXPECT_TRUE(Opened("0il01 abc .PIS").creditBalances);
  EXPECT_FALSE(Opened("0IL01.pis").creditBalances);
  // The opening record alone is an empty statement.
  const OpenedStatement empty = Opened(kOpening + "\r\n");
  EXPECT_FALSE(empty.creditBalances);
  EXPECT_TRUE(empty.headerLines.empty() && empty.customerLines.empty() &&
              empty.supplierLines.empty() && empty.customerAmountLines.empty() &&
              empty.supplierAmountLines.empty());
  EXPECT_EQ(
      empty.retailSales + empty.customersWithoutItemisation + empty.suppliersWithoutItemisation,
      "000");
}

TEST(SubmissionReaderTest, ConvertsLinesToTheWorkingLayout) {
  EXPECT_EQ(ConvertFileLine(kCustomer),
            Cat({"2", "00001", kTexts, "12     ", Pad("1234,5", 16), Blanks(35)}));
  EXPECT_EQ(ConvertFileLine(FileLine('4', "00007", "0000000", "0000000000000005")),
            Cat({"4", "00007", kTexts, "0      ", Pad("0,05", 16), Blanks(35)}));
  // What does not read as a whole number stays as it is.
  EXPECT_EQ(ConvertFileLine(FileLine('2', "00001", "0000002", Blanks(16))).substr(92),
            "2      " + Blanks(51));
  const std::string odd = FileLine('2', "00001", "12,5   ", "0000000000001,50");
  EXPECT_EQ(ConvertFileLine(odd), odd);
  EXPECT_EQ(ConvertFileLine(kCustomer.substr(0, 110)),
            Cat({kCustomer.substr(0, 92), "12     ", kCustomer.substr(99, 11)}));
  EXPECT_EQ(ConvertFileLine("2"), "2");

  EXPECT_EQ(AmountTextFromCents("0000000000000000"), "0");
  EXPECT_EQ(AmountTextFromCents("9999999999999999"), "99999999999999,99");
  EXPECT_EQ(AmountTextFromCents("12a"), std::nullopt);
}

TEST(SubmissionReaderTest, SplitsTheRecords) {
  const OpenedStatement s = Opened(CrLf(
      {"0IL01.PIS20240131", kHeader, kCustomer, kCustomerAmounts, kSupplier, kSupplierAmounts}));
  EXPECT_TRUE(s.creditBalances);
  EXPECT_EQ(s.headerLines, std::vector<std::string>{kHeader});
  EXPECT_EQ(s.customerLines, std::vector<std::string>{ConvertFileLine(kCustomer)});
  EXPECT_EQ(s.supplierLines, std::vector<std::string>{ConvertFileLine(kSupplier)});
  EXPECT_EQ(s.customerAmountLines, std::vector<std::string>{kCustomerAmounts});
  EXPECT_EQ(s.supplierAmountLines, std::vector<std::string>{kSupplierAmounts});
  EXPECT_EQ(s.retailSales, "10");
  EXPECT_EQ(s.customersWithoutItemisation, "2,5");
  EXPECT_EQ(s.suppliersWithoutItemisation, "0,01");

  // Any order and number; each list keeps file order and the last amounts stay.
  const std::string header2 = "12009" + kHeader.substr(5);
  const std::string customer2 = FileLine('2', "00002", "0000001", "0000000000000100");
  const std::string amounts2 = "3 0000000000000000 0000000000000007" + kCustomerAmounts.substr(35);
  const OpenedStatement mixed =
      Opened(CrLf({kOpening, kSupplierAmounts, kCustomer, kCustomerAmounts, kHeader, kSupplier,
                   amounts2, customer2, header2}));
  EXPECT_EQ(mixed.headerLines, (std::vector<std::string>{kHeader, header2}));
  EXPECT_EQ(mixed.customerLines,
            (std::vector<std::string>{ConvertFileLine(kCustomer), ConvertFileLine(customer2)}));
  EXPECT_EQ(mixed.customerAmountLines.size(), 2u);
  EXPECT_EQ(mixed.retailSales + "|" + mixed.customersWithoutItemisation, "0|0,07");

  // Other line ends, and none after the last line.
  for (const std::string& text : {Cat({kOpening, "\n", kHeader, "\n", kCustomer, "\n"}),
                                  Cat({kOpening, "\r", kHeader, "\r", kCustomer}),
                                  Cat({kOpening, "\r\n", kHeader, "\n", kCustomer, "\r"})}) {
    const OpenedStatement read = Opened(text);
    EXPECT_EQ(read.headerLines.size() + read.customerLines.size(), 2u);
  }
}

TEST(SubmissionReaderTest, FailuresAndBadInputs) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
  const std::string longLine(1 << 20, '2');
  const std::string utf8Header =
      Cat({kHeader.substr(0, 15), "\xCE\x91\xCE\x9B", kHeader.substr(17)});
  const struct {
    std::string bytes;
    const char* message;
    int lineNumber;
  } cases[] = {
      {binary, kInvalid, 0},
      {longLine, kInvalid, 0},
      {"0IL01" + binary, kWrongType, 2},  // its bytes 84 to 89 make a line of their own
      {"0IL01\r\n" + std::string(100, '\xFF'), kWrongType, 2},
      {CrLf({kOpening, kHeader, "6" + kHeader.substr(1)}), kWrongType, 3},
      {CrLf({kOpening, kHeader, kOpening}), kWrongType, 3},
      {CrLf({kOpening, "7" + Blanks(148)}), kWrongType, 2},  // the type is tested first
      {CrLf({kOpening, kHeader}) + " ", kWrongType, 3},
      {"0IL01\r\n" + longLine, kWrongLength, 2},
      {CrLf({kOpening, kHeader.substr(0, 149)}), kWrongLength, 2},
      {CrLf({kOpening, kCustomer + " "}), kWrongLength, 2},
      {CrLf({kOpening, utf8Header}), kWrongLength, 2},
      {CrLf({kOpening, kHeader, ""}), kWrongLength, 3},
      {CrLf({kOpening, kHeader}) + "\n", kWrongLength, 3},
      {Cat({kOpening, "\n\r", kHeader}), kWrongLength, 2},
      // Every number field of the line and amounts records holds digits only.
      {CrLf({kOpening, FileLine('2', "0000A", "0000012", "0000000000123450")}), kFailed, 2},
      {CrLf({kOpening, kCustomer, FileLine('4', "00001", "12     ", "0000000000000001")}), kFailed,
       3},
      {CrLf({kOpening, FileLine('4', "00001", "0000012", Blanks(16))}), kFailed, 2},
      {CrLf({kOpening, FileLine('2', "00001", "0000012", "-000000000000001")}), kFailed, 2},
      {CrLf({kOpening, "3 0000000000001,00" + kCustomerAmounts.substr(18)}), kFailed, 2},
      {CrLf({kOpening, kCustomerAmounts.substr(0, 34) + " " + kCustomerAmounts.substr(35)}),
       kFailed, 2},
      {CrLf({kOpening, kCustomerAmounts.substr(0, 40) + "x" + kCustomerAmounts.substr(41)}),
       kFailed, 2},
      {CrLf({kOpening, kCustomerAmounts.substr(0, 66) + "-" + kCustomerAmounts.substr(67)}),
       kFailed, 2},
      {CrLf({kOpening, kSupplierAmounts.substr(0, 19) + "+" + kSupplierAmounts.substr(20)}),
       kFailed, 2},
      {CrLf({kOpening, kSupplierAmounts.substr(0, 50) + "." + kSupplierAmounts.substr(51)}),
       kFailed, 2},
      // Amounts whose text would not fit a 16-character field or box.
      {CrLf({kOpening, FileLine('2', "00001", "0000012", "9999999999999999")}), kFailed, 2},
      {CrLf({kOpening, "3 9999999999999999" + kCustomerAmounts.substr(18)}), kFailed, 2},
  };
  for (const auto& c : cases) {
    const auto result = ReadSubmissionFile(c.bytes);
    ASSERT_TRUE(std::holds_alternative<ReadFailure>(result)) << c.bytes.substr(0, 160);
    const ReadFailure& failure = std::get<ReadFailure>(result);
    EXPECT_EQ(failure.message, c.message) << c.bytes.substr(0, 160);
    EXPECT_EQ(failure.lineNumber, c.lineNumber) << c.bytes.substr(0, 160);
    EXPECT_EQ(failure.beep, c.message != kInvalid);
  }
  // Nothing but the number fields is checked; a first line of any length is taken.
  Opened(CrLf({kOpening, "3x" + kCustomerAmounts.substr(2, 16) + "y" + kCustomerAmounts.substr(19),
               "5" + std::string(18, 'z') + kSupplierAmounts.substr(19)}));
  Opened("0IL01" + longLine);

  // Many records of every kind, the last one faulty.
  std::string many = kOpening + "\r\n";
  for (int i = 0; i < 2000; ++i) {
    many += CrLf({kHeader, kCustomer, kCustomerAmounts, kSupplier, kSupplierAmounts});
  }
  EXPECT_EQ(Opened(many).supplierAmountLines.size(), 2000u);
  const auto result = ReadSubmissionFile(many + kHeader.substr(1));
  ASSERT_TRUE(std::holds_alternative<ReadFailure>(result));
  EXPECT_EQ(std::get<ReadFailure>(result).lineNumber, 10002);
}

TEST(SubmissionReaderTest, RoundTripThroughTheWriter) {
  auto working = [](char type, const char* count, const char* value) {
    return Cat(
        {std::string(1, type), Blanks(5), kTexts, Pad(count, 7), Pad(value, 16), Blanks(35)});
  };
  SubmissionStatement s;
  s.creditBalances = true;
  s.date = "20240131";
  s.header = ParseHeaderLine(kHeader);
  s.header.installationType = Cp1253Text("E");
  const std::vector<std::string> customers = {working('2', "12", "1234,5"), working('2', "2", "0"),
                                              working('2', "1", "0,07")};
  const std::vector<std::string> suppliers = {working('4', "3", "99999999999999,9")};
  s.customerLines = customers;
  s.supplierLines = suppliers;
  s.retailSales = "10";
  s.customersWithoutItemisation = "2,5";
  s.suppliersWithoutItemisation = "0";
  s.customerInvoiceTotal = "15";
  s.customerValueTotal = "1234,57";
  s.supplierInvoiceTotal = "3";
  s.supplierValueTotal = "99999999999999,90";
  const std::string file = std::get<std::string>(ComposeSubmissionFile(s));

  const OpenedStatement read = Opened(file);
  EXPECT_TRUE(read.creditBalances);
  ASSERT_EQ(read.headerLines.size(), 1u);
  EXPECT_EQ(ParseHeaderLine(read.headerLines[0]), s.header);
  EXPECT_EQ(read.retailSales + "|" + read.customersWithoutItemisation + "|" +
                read.suppliersWithoutItemisation,
            "10|2,5|0");
  // The working lines come back numbered as in the file.
  ASSERT_EQ(read.customerLines.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(read.customerLines[i],
              "20000" + std::to_string(i + 1) + s.customerLines[i].substr(6));
  }
  EXPECT_EQ(read.supplierLines, std::vector<std::string>{"400001" + s.supplierLines[0].substr(6)});

  // Saving the opened statement again gives the same bytes but for the date.
  SubmissionStatement again = s;
  again.date = "20250101";
  again.header = ParseHeaderLine(read.headerLines[0]);
  again.customerLines = read.customerLines;
  again.supplierLines = read.supplierLines;
  again.retailSales = read.retailSales;
  again.customersWithoutItemisation = read.customersWithoutItemisation;
  again.suppliersWithoutItemisation = read.suppliersWithoutItemisation;
  std::string second = std::get<std::string>(ComposeSubmissionFile(again));
  EXPECT_EQ(second.substr(9, 8), "20250101");
  EXPECT_EQ(second.replace(9, 8, "20240131"), file);
}

// The file is bytes: a NUL is refused where a record type or a record's text stands,
// and harms nothing in the opening record's unused columns.
TEST(SubmissionReaderTest, NulBytesAreCharactersOfTheFile) {
  const auto refusal = [](const std::string& bytes) {
    const auto result = ReadSubmissionFile(bytes);
    const auto* failure = std::get_if<ReadFailure>(&result);
    return failure ? failure->message + " @" + std::to_string(failure->lineNumber) : "opened";
  };
  const std::string at = " @";
  std::string opening = kOpening;
  opening[20] = '\0';
  opening[149] = '\0';
  const OpenedStatement read = Opened(CrLf({opening, kHeader, kCustomer}));
  EXPECT_EQ(read.customerLines.size(), 1u);
  EXPECT_TRUE(Opened(std::string("0IL01\0.PIS", 10)).creditBalances);

  std::string typeless = kCustomer;
  typeless[0] = '\0';
  EXPECT_EQ(refusal(CrLf({kOpening, kHeader, typeless})), kWrongType + at + "3");
  for (const std::size_t column :
       {std::size_t{1}, std::size_t{7}, std::size_t{100}, std::size_t{149}}) {
    std::string damaged = kCustomer;
    damaged[column] = '\0';
    EXPECT_EQ(refusal(CrLf({kOpening, kHeader, damaged, kSupplier})), kWrongLength + at + "3")
        << column;
  }
  std::string header = kHeader;
  header[60] = '\0';
  EXPECT_EQ(refusal(CrLf({kOpening, header})), kWrongLength + at + "2");
  // A good file followed by zeros, as a crash may leave it.
  const std::string good = CrLf({kOpening, kHeader, kCustomer, kCustomerAmounts});
  EXPECT_EQ(refusal(good + std::string(4096, '\0')), kWrongType + at + "5");
  EXPECT_EQ(refusal(good.substr(0, good.size() - 2) + std::string(300, '\0')),
            kWrongLength + at + "4");
  EXPECT_EQ(refusal(std::string(4096, '\0')), std::string(kInvalid) + at + "0");
}

class SubmissionFileOnDiskTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-open-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string PathOf(const char* name) const { return (dir_ / name).string(); }
  static ReadFailure Refusal(const std::string& path) {
    auto result = ReadSubmissionFileAt(path);
    if (auto* failure = std::get_if<ReadFailure>(&result)) return *failure;
    ADD_FAILURE() << path << " was opened";
    return {};
  }
  std::filesystem::path dir_;
};

// A pipe, a device and a folder are refused at once; reading a pipe with no writer
// would wait for ever, so this test returning is half of what it checks.
TEST_F(SubmissionFileOnDiskTest, OnlyRegularFilesAreRead) {
  const std::string fifo = PathOf("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string notRegular =
      std::string(kFailed) + "\nΔεν είναι κανονικό αρχείο (συσκευή, σωλήνωση ή υποδοχή)";
  for (const std::string& path : {fifo, std::string("/dev/zero"), std::string("/dev/null")}) {
    const ReadFailure failure = Refusal(path);
    EXPECT_EQ(failure.message, notRegular) << path;
    EXPECT_TRUE(failure.beep && failure.refusedBeforeReading);
  }
  EXPECT_EQ(Refusal(dir_.string()).message, std::string(kFailed) + "\nΕίναι φάκελος, όχι αρχείο");
  EXPECT_EQ(Refusal(PathOf("missing")).message.rfind(std::string(kFailed) + "\n", 0), 0u);

  std::ofstream(PathOf("good"), std::ios::binary) << CrLf({kOpening, kHeader, kCustomer});
  const auto opened = ReadSubmissionFileAt(PathOf("good"));
  ASSERT_TRUE(std::holds_alternative<OpenedStatement>(opened));
  EXPECT_EQ(std::get<OpenedStatement>(opened).customerLines.size(), 1u);
  // A link to a good file is read through.
  ASSERT_EQ(::symlink(PathOf("good").c_str(), PathOf("link").c_str()), 0);
  EXPECT_TRUE(std::holds_alternative<OpenedStatement>(ReadSubmissionFileAt(PathOf("link"))));
}

TEST_F(SubmissionFileOnDiskTest, SizeAndLineLimits) {
  const std::string tooLarge =
      "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Το αρχείο είναι μεγαλύτερο από κάθε "
      "συγκεντρωτική κατάσταση που μπορεί να αποθηκευτεί";
  // A sparse file one byte over the limit is refused by its size, unread.
  const std::string huge = PathOf("huge");
  std::ofstream(huge, std::ios::binary) << kOpening << "\r\n";
  std::filesystem::resize_file(huge, kSubmissionFileSizeLimit + 1);
  EXPECT_EQ(Refusal(huge).message, tooLarge);
  std::string bytes = kOpening + "\r\n";
  bytes.resize(kSubmissionFileSizeLimit + 1, ' ');
  EXPECT_EQ(std::get<ReadFailure>(ReadSubmissionFile(bytes)).message, tooLarge);

  // The largest statement the writer makes is read; one line more of a side is not.
  std::vector<std::string> customers(kMaxLinesPerSide), suppliers(kMaxLinesPerSide);
  for (auto& line : customers)
    line = Cat({"2", Blanks(5), kTexts, Pad("1", 7), Pad("1", 16), Blanks(35)});
  for (auto& line : suppliers)
    line = Cat({"4", Blanks(5), kTexts, Pad("1", 7), Pad("1", 16), Blanks(35)});
  SubmissionStatement s;
  s.date = "20240131";
  s.header = ParseHeaderLine(kHeader);
  s.customerLines = customers;
  s.supplierLines = suppliers;
  s.retailSales = s.customersWithoutItemisation = s.suppliersWithoutItemisation = "99999999";
  s.customerInvoiceTotal = s.supplierInvoiceTotal = "99999";
  s.customerValueTotal = s.supplierValueTotal = "999,99";
  const std::string largest = std::get<std::string>(ComposeSubmissionFile(s));
  EXPECT_EQ(largest.size(), kLargestStatementBytes);
  EXPECT_LE(largest.size(), kSubmissionFileSizeLimit);
  const OpenedStatement full = Opened(largest);
  EXPECT_EQ(full.customerLines.size() + full.supplierLines.size(), 2u * kMaxLinesPerSide);

  const std::string more =
      "Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Το αρχείο έχει περισσότερες από 99999 ";
  const std::size_t record = kRecordLength + 2;
  const std::size_t afterCustomers = record * (2 + kMaxLinesPerSide);
  for (const char type : {'2', '4'}) {
    std::string extra = largest;
    extra.insert(type == '2' ? afterCustomers : extra.size(),
                 CrLf({FileLine(type, "99999", "0000001", "0000000000000001")}));
    const auto result = ReadSubmissionFile(extra);
    ASSERT_TRUE(std::holds_alternative<ReadFailure>(result));
    const ReadFailure& failure = std::get<ReadFailure>(result);
    EXPECT_EQ(failure.message, more + (type == '2' ? "γραμμές πελατών" : "γραμμές προμηθευτών"));
    EXPECT_EQ(failure.lineNumber,
              type == '2' ? 2 + kMaxLinesPerSide + 1 : 2 + 2 * kMaxLinesPerSide + 2 + 1);
    EXPECT_TRUE(failure.beep);
  }
}

// Damaged copies of a good file: whatever a byte becomes, the reader either opens
// the file with every line in its working width or refuses it with one of its
// messages, never anything in between.
TEST(SubmissionReaderTest, DamagedFilesAreOpenedWholeOrRefused) {
  std::string good =
      CrLf({kOpening, kHeader, kCustomer, kCustomerAmounts, kSupplier, kSupplierAmounts});
  for (int i = 0; i < 30; ++i) good += CrLf({kCustomer});
  const std::set<std::string> messages = {kInvalid, kFailed, kWrongType, kWrongLength};
  std::mt19937 random(20240131);
  int opened = 0;
  int refused = 0;
  for (int round = 0; round < 2000; ++round) {
    std::string damaged = good;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < changes; ++c) {
      const std::size_t at = random() % damaged.size();
      switch (random() % 3) {
        case 0:
          damaged[at] = static_cast<char>(random() % 256);
          break;
        case 1:
          damaged.erase(at, 1);
          break;
        default:
          damaged.insert(at, 1, static_cast<char>(random() % 256));
          break;
      }
    }
    const auto result = ReadSubmissionFile(damaged);
    if (const auto* failure = std::get_if<ReadFailure>(&result)) {
      ++refused;
      EXPECT_EQ(messages.count(failure->message), 1u) << failure->message;
      continue;
    }
    ++opened;
    const auto& statement = std::get<OpenedStatement>(result);
    for (const auto* lines : {&statement.customerLines, &statement.supplierLines,
                              &statement.headerLines, &statement.customerAmountLines})
      for (const std::string& line : *lines) EXPECT_EQ(line.size(), 150u);
  }
  // Both outcomes occur, so neither half of the check is idle.
  EXPECT_GT(opened, 100);
  EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace velmora
