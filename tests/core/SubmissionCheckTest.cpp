#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "SubmissionCheck.h"

namespace velmora {
namespace {

using test::Blanks;
using test::Cat;
using test::Pad;

std::string CrLf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (const std::string_view line : lines) text += Cat({line, "\r\n"});
  return text;
}

const std::string kOpening = "0IL01    20240131" + Blanks(133);
std::string Header(std::string_view year) {
  return Cat({"1", year, "1101", "123   ", Pad("EMPORIO AE", 18), "123456783", Pad("EMPORIO", 16),
              "ATHINA    ", Pad("ODOS 1", 16), "12A", "10431", "2101234567", "2107654321",
              Pad("info@example.gr", 34), "   0"});
}
std::string Line(char type, std::string_view afm, char ypovolh, std::string_view count,
                 std::string_view cents) {
  return Cat({std::string(1, type), "00001", afm, Pad("NAME", 27), Pad("EMPORIO", 15),
              std::string(1, ypovolh), "ATHINA    ", Pad("ODOS", 16), "12 ", "10431", count, cents,
              Blanks(35)});
}

const std::string kGood = Line('2', "094014298", '0', "0000012", "0000000000123450");
const std::string kClean = CrLf(
    {kOpening, Header("2008"), kGood, Line('4', "094014298", '0', "0000001", "0000000000000100")});

std::vector<std::string> Listed(const std::string& bytes) {
  std::vector<std::string> listed;
  for (const SubmissionProblem& p : CheckSubmissionBytes(bytes, 2024))
    listed.push_back(std::to_string(p.lineNumber) + ": " + p.message);
  return listed;
}

TEST(SubmissionCheckTest, ListsEveryProblemWithItsLine) {
  EXPECT_EQ(Listed(kClean), std::vector<std::string>{});

  // The reader refuses a file whole: its refusal is the only problem.
  EXPECT_EQ(Listed(CrLf({kOpening, Header("2008"), "7" + kGood.substr(1)})),
            std::vector<std::string>{
                "3: Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Λάθος τύπος Record"});
  EXPECT_EQ(Listed("IL01\r\n"), std::vector<std::string>{"1: Μη έγκυρο αρχείο"});

  const std::string file = CrLf({
      kOpening,
      Header("2004"),
      kGood,
      Line('2', "123456783", '0', "0000001", "0000000000000100"),  // the filer's number
      Line('2', "123456789", '0', "0000001", "0000000000000100"),  // no check digit
      Line('2', "123456789", '1', "0000000", "0000000000001000"),  // no invoices
      Line('2', "094014298", '0', "0000003", "0000000000000100"),  // line 3 again
      Line('4', "094014298", '1', "0000001", "0000000000000000"),  // value 0, one invoice
      Line('4', "094014298", '1', "0000002", "0000000000000000"),
  });
  EXPECT_EQ(
      Listed(file),
      (std::vector<std::string>{
          "2: Η αποθήκευση σε αρχείο απέτυχε: Γράψτε το έτος που αφορούν τα στοιχεία, με τέσσερα "
          "ψηφία (από 2005 έως σήμερα) και επαναλάβετε την αποθήκευση. Για δηλώσεις ετών πριν το "
          "2005 κατεβάστε την προηγούμενη έκδοση του προγράμματος.",
          // The checks before a save stop at the first pair: lines 3 and 7.
          "3: Η αποθήκευση σε αρχείο απέτυχε: Ο ΑΦΜ: 094014298 έχει εισαχθεί 2 φορές στους "
          "πελάτες με τον ίδιο κωδικό υπόχρεου (0). Διορθώστε το και επαναλάβετε την "
          "αποθήκευση.",
          "4: O ΑΦΜ που εισάγατε είναι ίδιος με τον ΑΦΜ υπόχρεου.",
          "5: Έχετε συμπληρώσει μη αποδεκτό ΑΦΜ στην εγγραφή πελάτη",
          "6: Ο αριθμός τιμολογίων πρέπει να είναι >0 ",
          "7: Ο ΑΦΜ: 094014298 έχει εισαχθεί 2 φορές στους πελάτες με τον ίδιο κωδικό υπόχρεου (0)",
          "8: Εφόσον η αξία είναι 0, ο αριθμός τιμολογίων πρέπει να είναι >1 ",
          "8: Η αποθήκευση σε αρχείο απέτυχε: Ο ΑΦΜ: 094014298 έχει εισαχθεί 2 φορές στους "
          "προμηθευτές με τον ίδιο κωδικό υπόχρεου (1). Διορθώστε το και επαναλάβετε την "
          "αποθήκευση.",
          "9: Ο ΑΦΜ: 094014298 έχει εισαχθεί 2 φορές στους προμηθευτές με τον ίδιο κωδικό "
          "υπόχρεου (1)",
      }));
}

class CheckProgramTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "velmora-check-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const char* name, const std::string& bytes) const {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  // The exit status, and what it wrote.
  int Run(const std::string& arguments, std::string& output) const {
    const std::string out = (dir_ / "out").string();
    const int status = std::system(
        (std::string(VELMORA_CHECK_PROGRAM) + " " + arguments + " >" + out + " 2>/dev/null")
            .c_str());
    std::ifstream in(out, std::ios::binary);
    output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::filesystem::path dir_;
};

TEST_F(CheckProgramTest, ExitStatusTellsCleanDamagedAndUnreadableFiles) {
  const std::string clean = Write("clean", kClean);
  std::string damagedBytes = kClean;
  damagedBytes[kClean.size() - 20] = '\0';  // inside the last record
  const std::string damaged = Write("damaged", damagedBytes);
  const std::string missing = (dir_ / "missing").string();
  std::string output;
  EXPECT_EQ(Run(clean, output), 0);
  EXPECT_EQ(output, "Προβλήματα: 0\n");
  EXPECT_EQ(Run(clean + " " + damaged, output), 1);
  EXPECT_EQ(output, damaged +
                        ":4: Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου. Το μήκος της "
                        "γραμμής είναι λανθασμένο\nΠροβλήματα: 1\n");
  EXPECT_EQ(Run(missing + " " + damaged, output), 2);
  EXPECT_EQ(output.rfind(missing + ": Παρουσιάστηκε πρόβλημα κατά το άνοιγμα του αρχείου: ", 0), 0u)
      << output;
  EXPECT_EQ(Run(dir_.string(), output), 2);
  EXPECT_EQ(Run("", output), 2);
}

}  // namespace
}  // namespace velmora
