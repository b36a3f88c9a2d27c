#include <gtest/gtest.h>
#include <sys/stat.h>

#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

#include "AtomicFile.h"
#include "HeaderLine.h"
#include "TestSupport.h"
#include "SubmissionWriter.h"

namespace velmora {
namespace {

using test::Blanks;
using test::Cat;
using test::Pad;

const std::string kName = "\xD0\xC1\xD0\xC1\xC4\xCF\xD0\xCF\xD5\xCB\xCF\xD3";  // ΠΑΠΑΔΟΠΟΥΛΟΣ
const std::string kProfession = "\xC5\xCC\xD0\xCF\xD1\xC9\xCF";                // ΕΜΠΟΡΙΟ

// A line as the line table stores it: every field left-aligned and blank-filled.
struct WorkingLine {
  std::string type = "2", aa, taxNumber = "094014298", name = kName, prof = kProfession,
              obligation = "0", city = "ATHINA", street = "ODOS", number = "12", tk = "10431",
              count = "12", value = "1234,5";

  std::string Text() const {
    return Cat({type, Pad(aa, 5), Pad(taxNumber, 9), Pad(name, 27), Pad(prof, 15),
                Pad(obligation, 1), Pad(city, 10), Pad(street, 16), Pad(number, 3), Pad(tk, 5),
                Pad(count, 7), Pad(value, 16), Blanks(35)});
  }
};

// The fields of the default line as they stand in columns 7-92 of its record.
const std::string kTexts = Cat({"094014298", Pad(kName, 27), Pad(kProfession, 15), "0",
                                "ATHINA    ", Pad("ODOS", 16), "12 ", "10431"});

const std::string kHeader =
    Cat({"1", "2008", "1101", "123   ", Pad("\xC1\xCB\xD6\xC1 \xC1\xC5", 18), "123456783",
         Pad(kProfession, 16), "ATHINA    ", Pad("ODOS 1", 16), "12A", "10431", "2101234567",
         "2107654321", Pad("info@example.gr", 34), "   0"});

HeaderFields Filer() { return ParseHeaderLine(kHeader); }

SubmissionStatement EmptyStatement() {
  SubmissionStatement s;
  s.date = "20240131";
  s.header = Filer();
  s.retailSales = s.customersWithoutItemisation = s.suppliersWithoutItemisation = "0";
  s.customerInvoiceTotal = s.supplierInvoiceTotal = "0";
  s.customerValueTotal = s.supplierValueTotal = "0,00";
  return s;
}

std::string RecordOf(const std::variant<std::string, Failure>& result) {
  if (const auto* problem = std::get_if<Failure>(&result)) ADD_FAILURE() << problem->message;
  return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : "";
}

std::string ProblemOf(const SubmissionStatement& s) {
  const auto result = ComposeSubmissionFile(s);
  if (const auto* problem = std::get_if<Failure>(&result)) return problem->message;
  ADD_FAILURE() << "composed although a problem was expected";
  return {};
}

// The records of a composed file, checking that each is 150 characters and CR LF.
std::vector<std::string> Records(const SubmissionStatement& s) {
  const std::string file = RecordOf(ComposeSubmissionFile(s));
  std::vector<std::string> records;
  EXPECT_EQ(file.size() % 152, 0u);
  for (std::size_t at = 0; at + 152 <= file.size(); at += 152) {
    EXPECT_EQ(file.substr(at + 150, 2), "\r\n");
    records.push_back(file.substr(at, 150));
  }
  return records;
}

TEST(SubmissionWriterTest, OpeningAndHeaderRecords) {
  EXPECT_EQ(OpeningRecord(false, "20240131"), "0IL01    20240131" + Blanks(133));
  EXPECT_EQ(OpeningRecord(true, "20081231"), "0IL01.PIS20081231" + Blanks(133));
  EXPECT_EQ(RecordOf(HeaderRecord(Filer())), kHeader);
  HeaderFields branch = Filer();
  branch.installationType = Cp1253Text("12");
  EXPECT_EQ(RecordOf(HeaderRecord(branch)).substr(146), "  12");

  // No lines and no amounts: the two records alone, 304 bytes.
  EXPECT_EQ(RecordOf(ComposeSubmissionFile(EmptyStatement())),
            Cat({"0IL01    20240131", Blanks(133), "\r\n", kHeader, "\r\n"}));
}

TEST(SubmissionWriterTest, LineRecordsByteForByte) {
  const std::string expected =
      Cat({"2", "00001", kTexts, "0000012", "0000000000123450", Blanks(35)});
  EXPECT_EQ(RecordOf(LineRecord('2', 1, WorkingLine().Text())), expected);
  // The stored serial number and filler are not used; a line cut after its value is whole.
  WorkingLine odd;
  odd.aa = "77777";
  EXPECT_EQ(RecordOf(LineRecord('2', 1, odd.Text().substr(0, 115))), expected);

  WorkingLine zero;
  zero.count = "0002";
  zero.value = "0";
  zero.name = zero.tk = "";
  EXPECT_EQ(RecordOf(LineRecord('4', 99999, zero.Text())),
            Cat({"4", "99999", "094014298", Blanks(27), Pad(kProfession, 15), "0", "ATHINA    ",
                 Pad("ODOS", 16), "12 ", Blanks(5), "0000002", "0000000000000000", Blanks(35)}));
  zero.value = "0,07";
  EXPECT_EQ(RecordOf(LineRecord('2', 3, zero.Text())).substr(92, 23), "00000020000000000000007");
  zero.value = "99999999999999,9";  // the largest value that fits
  EXPECT_EQ(RecordOf(LineRecord('2', 3, zero.Text())).substr(99, 16), "9999999999999990");
}

TEST(SubmissionWriterTest, RecordOrderAndAmounts) {
  SubmissionStatement s = EmptyStatement();
  WorkingLine line;
  std::vector<std::string> customers;
  for (const char* aa : {"00009", "     ", "12345"}) {
    line.aa = aa;
    customers.push_back(line.Text());
  }
  s.customerLines = customers;
  line.type = "4";
  const std::vector<std::string> suppliers = {line.Text()};
  s.supplierLines = suppliers;
  s.customerInvoiceTotal = "36";
  s.customerValueTotal = "3703,50";
  s.supplierInvoiceTotal = "12";
  s.supplierValueTotal = "1234,50";
  s.creditBalances = true;
  auto records = Records(s);
  ASSERT_EQ(records.size(), 8u);
  EXPECT_EQ(records[0].substr(0, 9), "0IL01.PIS");
  EXPECT_EQ(records[1], kHeader);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(records[2 + i].substr(0, 6), "20000" + std::to_string(i + 1));
  EXPECT_EQ(records[5], Cat({"3 ", Pad("0000000000000000", 17), "0000000000000000",
                             "0000000000000036", "0000000000370350", Blanks(83)}));
  EXPECT_EQ(records[6], Cat({"4", "00001", kTexts, "0000012", "0000000000123450", Blanks(35)}));
  EXPECT_EQ(records[7], Cat({"5", Blanks(18), "0000000000000000", "0000000000000012",
                             "0000000000123450", Blanks(83)}));

  // Either customer amount alone brings record "3"; the supplier amount brings "5".
  s = EmptyStatement();
  s.retailSales = "10";
  records = Records(s);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2], Cat({"3 ", "0000000000001000 ", "0000000000000000", "0000000000000000",
                             "0000000000001000", Blanks(83)}));
  s = EmptyStatement();
  s.customersWithoutItemisation = "2,5";  // taken as typed
  EXPECT_EQ(Records(s).at(2).substr(0, 67), Cat({"3 ", "0000000000000000 ", "0000000000000250",
                                                 "0000000000000000", "0000000000000250"}));
  s = EmptyStatement();
  s.suppliersWithoutItemisation = "100";
  EXPECT_EQ(Records(s).at(2).substr(0, 67),
            Cat({"5", Blanks(18), "0000000000010000", "0000000000000000", "0000000000010000"}));
  // Texts that are not numbers count as 0 and bring no record.
  s.retailSales = "-";
  s.customersWithoutItemisation = "1e3";
  s.suppliersWithoutItemisation = ",";
  EXPECT_EQ(Records(s).size(), 2u);

  // The grand total adds the line values, when they are a number, to both amounts.
  EXPECT_EQ(RecordOf(CustomerAmountsRecord("10", "2,5", "12", "1234,50")).substr(35, 32),
            "00000000000000120000000000124700");
  EXPECT_EQ(RecordOf(CustomerAmountsRecord("abc", "", "x", "1,2,3")).substr(0, 67),
            "3 0000000000000000 " + std::string(48, '0'));
  EXPECT_EQ(RecordOf(CustomerAmountsRecord("7,25", "1", "3", "")).substr(51, 16),
            "0000000000000825");
  EXPECT_EQ(RecordOf(SupplierAmountsRecord("0,01", "5", "x")).substr(19),
            Cat({"0000000000000001", "0000000000000005", "0000000000000001", Blanks(83)}));
}

TEST(SubmissionWriterTest, UnwritableStatementsGiveTheirFirstProblem) {
  SubmissionStatement s = EmptyStatement();
  WorkingLine bad;
  bad.count = "1a";
  std::vector<std::string> customers = {WorkingLine().Text(), WorkingLine().Text(), bad.Text()};
  s.customerLines = customers;
  EXPECT_EQ(ProblemOf(s),
            "Η αποθήκευση σε αρχείο απέτυχε: Η γραμμή 3 των πελατών έχει αριθμό τιμολογίων που "
            "δεν είναι ακέραιος αριθμός. Διορθώστε τη και επαναλάβετε την αποθήκευση.");
  // Problems come in file order: the header before the lines, customers before suppliers.
  bad.type = "4";
  const std::vector<std::string> suppliers = {bad.Text()};
  s.supplierLines = suppliers;
  customers.back() = WorkingLine().Text().substr(0, 99);
  EXPECT_NE(ProblemOf(s).find("Η γραμμή 3 των πελατών έχει αξία που"), std::string::npos);
  s.header.companyName = Cp1253Text(std::string(19, 'X'));
  EXPECT_EQ(ProblemOf(s),
            "Η αποθήκευση σε αρχείο απέτυχε: Το πεδίο «Επωνυμία Επιχείρησης» έχει περισσότερους "
            "από 18 χαρακτήρες. Διορθώστε το και επαναλάβετε την αποθήκευση.");

  const struct {
    std::string WorkingLine::*field;
    std::string text;
    const char* phrase;
  } lines[] = {
      {&WorkingLine::count, "", "αριθμό τιμολογίων που δεν είναι ακέραιος"},
      {&WorkingLine::count, "1,5", "αριθμό τιμολογίων που δεν είναι ακέραιος"},
      {&WorkingLine::count, "-3", "αρνητικό αριθμό τιμολογίων"},
      {&WorkingLine::value, "", "αξία που δεν είναι αριθμός"},
      {&WorkingLine::value, "12.5", "αξία που δεν είναι αριθμός"},
      {&WorkingLine::value, "-0,01", "αρνητική αξία"},
      {&WorkingLine::value, "100000000000000", "αξία πολύ μεγάλη"},
      {&WorkingLine::obligation, "", "το πεδίο ΥΠΟΧΡΕΟΣ"},
      {&WorkingLine::name, "A\rB", "χαρακτήρα αλλαγής γραμμής"},
      {&WorkingLine::city, std::string("A\0B", 3), "μηδενικό χαρακτήρα"},
  };
  for (const auto& c : lines) {
    WorkingLine line;
    line.type = "4";
    line.*c.field = c.text;
    s = EmptyStatement();
    const std::vector<std::string> suppliers = {WorkingLine().Text(), line.Text()};
    s.supplierLines = suppliers;
    const std::string message = ProblemOf(s);
    EXPECT_EQ(message.rfind("Η αποθήκευση σε αρχείο απέτυχε: Η γραμμή 2 των προμηθευτών ", 0), 0u)
        << message;
    EXPECT_NE(message.find(c.phrase), std::string::npos) << message;
  }
  const auto beyond = LineRecord('2', 100000, WorkingLine().Text());
  ASSERT_TRUE(std::holds_alternative<Failure>(beyond));
  EXPECT_NE(std::get<Failure>(beyond).message.find("99999"), std::string::npos);

  for (auto field :
       {&HeaderFields::year, &HeaderFields::telephone, &HeaderFields::installationType}) {
    s = EmptyStatement();
    (s.header.*field).bytes() += std::string(10, '1');
    EXPECT_NE(ProblemOf(s).find("έχει περισσότερους από"), std::string::npos);
  }
  s = EmptyStatement();
  s.header.street = Cp1253Text("ODOS\n1");
  EXPECT_NE(ProblemOf(s).find("«Οδός» περιέχει χαρακτήρα αλλαγής"), std::string::npos);
}

TEST(SubmissionWriterTest, AmountsBeyondTheFileAreRefused) {
  SubmissionStatement s = EmptyStatement();
  s.retailSales = "100000000000000";
  EXPECT_EQ(ProblemOf(s),
            "Η αποθήκευση σε αρχείο απέτυχε: Το ποσό «Αξία Λιανικών Πωλήσεων» των πελατών είναι "
            "πολύ μεγάλο για το αρχείο, που δέχεται έως 14 ακέραια ψηφία. Διορθώστε το και "
            "επαναλάβετε την αποθήκευση.");
  s.retailSales = "99999999999999,99";
  EXPECT_EQ(Records(s).at(2).substr(2, 16), "9999999999999999");
  s.customersWithoutItemisation = "0,01";  // each fits, the sum does not
  EXPECT_NE(ProblemOf(s).find("Το γενικό σύνολο αξίας των πελατών είναι πολύ μεγάλο"),
            std::string::npos);
  s = EmptyStatement();
  s.customersWithoutItemisation = "-5";
  EXPECT_NE(ProblemOf(s).find("γραμμές» των πελατών είναι αρνητικό"), std::string::npos);
  s = EmptyStatement();
  s.suppliersWithoutItemisation = "1";
  s.supplierInvoiceTotal = "-2";
  EXPECT_NE(ProblemOf(s).find("Το σύνολο τιμολογίων των προμηθευτών είναι αρνητικό"),
            std::string::npos);
  s.supplierInvoiceTotal = "10000000000000000";
  EXPECT_NE(ProblemOf(s).find("έως 16 ψηφία"), std::string::npos);
}

TEST(SubmissionWriterTest, MessagesOfTheCommand) {
  const std::string message = SuccessMessage();
  std::vector<std::string> lines;
  for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 2) {
    end = message.find("\r\n", start);
    lines.push_back(message.substr(start, end - start));
  }
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "Επιτυχής Αποθήκευση Αρχείου.");
  EXPECT_EQ(lines[2].back(), ' ');
  EXPECT_EQ(lines[3].back(), ' ');
  EXPECT_EQ(lines[7], "\"Εργαλεία\" -> \"Σύνδεση με εξυπηρετητή Quorvane\".");
  EXPECT_EQ(OverwriteQuestion("2008-123456783-0.PIS"),
            "Είστε σίγουρος ότι θέλετε να αντικαταστήσετε το αρχείο 2008-123456783-0.PIS;");

  // A file without write permission: said before the question, and kept so.
  const test::TempFolder folder;
  const std::string path = folder.Path("2008-123456783-0.PIS");
  test::WriteBytes(path, "old");
  EXPECT_FALSE(IsReadOnlyFile(path));
  ::chmod(path.c_str(), 0444);
  EXPECT_TRUE(IsReadOnlyFile(path));
  EXPECT_FALSE(IsReadOnlyFile(folder.Path("missing")));
  EXPECT_EQ(OverwriteQuestion("2008-123456783-0.PIS", true),
            "Το αρχείο 2008-123456783-0.PIS είναι μόνο για ανάγνωση· το νέο αρχείο θα κρατήσει "
            "τα ίδια δικαιώματα. Είστε σίγουρος ότι θέλετε να αντικαταστήσετε το αρχείο "
            "2008-123456783-0.PIS;");
  WriteFileAtomically(path, "new", false);
  EXPECT_EQ(test::ReadBytes(path), "new");
  EXPECT_TRUE(IsReadOnlyFile(path));
}

}  // namespace
}  // namespace velmora
