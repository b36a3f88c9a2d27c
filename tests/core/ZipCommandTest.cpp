#include <gtest/gtest.h>

#include "ScriptedQuestions.h"
#include "TestSupport.h"
#include "ZipArchiveCheck.h"
#include "ZipCommand.h"

namespace velmora {
namespace {

using test::ReadBytes;
using test::ScriptedQuestions;
using test::TempFolder;
using test::WriteBytes;

constexpr DosTimestamp kStamp{13 * 2048 + 45 * 32, 44 * 512 + 5 * 32 + 20};

DosTimestamp StampClock() { return kStamp; }

TEST(ZipCommandTest, ChosenNameGainsZipAndOnlyThatArchiveIsAskedAbout) {
  TempFolder folder;
  const std::string source = folder.Path("ΔΗΛΩΣΗ.PIS");
  WriteBytes(source, "0ΑΒΓ\r\n");
  // "A.zip" already exists; the archive goes to "A.zip.zip", so nothing is asked.
  WriteBytes(folder.Path("A.zip"), "earlier");
  ScriptedQuestions questions;
  questions.ExpectOpenFile(source);
  questions.ExpectSaveFile(folder.Path("A.zip"));
  // The date is taken once both dialogs are answered, as the archive is written.
  int clockReadings = 0;
  const ZipOutcome outcome = MakeZipCopy(questions, [&] {
    EXPECT_TRUE(questions.AllAnswered());
    ++clockReadings;
    return kStamp;
  });
  EXPECT_EQ(clockReadings, 1);
  ASSERT_EQ(outcome.archivePath, folder.Path("A.zip.zip"));
  EXPECT_EQ(ReadBytes(folder.Path("A.zip")), "earlier");
  const ZipArchiveCheck check = CheckZipArchive(ReadBytes(folder.Path("A.zip.zip")));
  EXPECT_EQ(check.verdict, ZipArchiveCheck::Verdict::Sound);
  EXPECT_EQ(check.entryNames, std::vector<std::string>{"ΔΗΛΩΣΗ.PIS"});
  // The source's bare name is proposed, in the code page the dialogs take; only
  // archives are offered, with no suffix that the dialog could add.
  EXPECT_EQ(questions.proposedNames, std::vector<std::string>{Utf8ToCp1253("ΔΗΛΩΣΗ.PIS").value()});
  EXPECT_EQ(questions.filters, (std::vector<std::string>{"", "*.zip"}));
  EXPECT_TRUE(questions.messages.empty());
  EXPECT_TRUE(questions.warnings.empty());

  // Now "A.zip.zip" exists: "Όχι" leaves it as it was, "Ναι" replaces it.
  const std::string first = ReadBytes(folder.Path("A.zip.zip"));
  WriteBytes(source, "changed");
  const std::string question = "Είστε σίγουρος ότι θέλετε να αντικαταστήσετε το αρχείο A.zip.zip;";
  for (const auto answer : {Questions::Answer::No, Questions::Answer::Yes}) {
    questions.ExpectOpenFile(source);
    questions.ExpectSaveFile(folder.Path("A.zip"));
    questions.Expect(question, answer);
    const bool replaced = MakeZipCopy(questions, StampClock).archivePath.has_value();
    EXPECT_EQ(replaced, answer == Questions::Answer::Yes);
    EXPECT_EQ(ReadBytes(folder.Path("A.zip.zip")) == first, !replaced);
  }

  // Either dialog cancelled: nothing is written.
  questions.ExpectOpenFile(std::nullopt);
  EXPECT_FALSE(MakeZipCopy(questions, StampClock).archivePath);
  questions.ExpectOpenFile(source);
  questions.ExpectSaveFile(std::nullopt);
  EXPECT_FALSE(MakeZipCopy(questions, StampClock).archivePath);
  EXPECT_FALSE(std::filesystem::exists(folder.Path("ΔΗΛΩΣΗ.PIS.zip")));
  EXPECT_TRUE(questions.AllAnswered());
}

TEST(ZipCommandTest, UnreadableSourceIsReportedAndNothingIsWritten) {
  TempFolder folder;
  ScriptedQuestions questions;
  questions.ExpectOpenFile(folder.Path("gone.PIS"));
  questions.ExpectSaveFile(folder.Path("gone.PIS"));
  EXPECT_FALSE(MakeZipCopy(questions, StampClock).archivePath);
  ASSERT_EQ(questions.warnings.size(), 1u);
  EXPECT_EQ(questions.warnings[0].rfind("Δεν ήταν δυνατή η ανάγνωση του αρχείου", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(folder.Path("gone.PIS.zip")));
  // A name the Greek code page cannot spell is not proposed.
  const std::string foreign = folder.Path("数据.PIS");
  WriteBytes(foreign, "x");
  questions.ExpectOpenFile(foreign);
  questions.ExpectSaveFile(std::nullopt);
  MakeZipCopy(questions, StampClock);
  EXPECT_EQ(questions.proposedNames.back(), "");
}

}  // namespace
}  // namespace velmora
