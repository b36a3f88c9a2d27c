#include <gtest/gtest.h>

#include <cerrno>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "TestSupport.h"
#include "RecordTable.h"
#include "SystemReason.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Three fields, A in columns 1-3, B in 4-7, C in 8-12.
const Lines kSchema{"A=3", "B=4", "C=5"};

class RecordTableTest : public testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return folder_.Path(name); }
  void Write(const std::string& name, const std::string& bytes) const {
    test::WriteBytes(PathOf(name), bytes);
  }
  std::string Read(const std::string& name) const { return test::ReadBytes(PathOf(name)); }
  // Opens table over a file of the given bytes.
  void Open(RecordTable& table, const std::string& bytes, const Lines& schema = kSchema,
            const std::string& name = "data") const {
    Write(name, bytes);
    table.SetSchema(schema);
    table.SetFileName(PathOf(name));
    table.Open();
  }
  static Lines AllLines(const RecordTable& table) {
    Lines lines;
    for (int i = 0; i < table.RecordCount(); ++i) lines.push_back(table.LineAt(i));
    return lines;
  }
  static std::string ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const DataSetError& e) {
      return e.what();
    }
    return "no error";
  }

  test::TempFolder folder_;
  const fs::path dir_ = folder_.Root();
  RecordTable t_;
};

TEST_F(RecordTableTest, ReadsEveryLineEndAndStopsAtNul) {
  Open(t_, std::string("aaa\rbbb\nccc\r\n\r\nddd\0eee\r\n", 24));
  EXPECT_EQ(AllLines(t_), (Lines{"aaa", "bbb", "ccc", "", "ddd"}));
  t_.Close();

  Open(t_, "", {});
  EXPECT_EQ(t_.RecordCount(), 0);
  t_.MoveFirst();
  EXPECT_EQ(t_.Position(), 0);
  ASSERT_EQ(t_.FieldCount(), 1);
  EXPECT_EQ(t_.Field(0).name, "Line");
  EXPECT_EQ(t_.Field(0).width, 250);
  t_.Close();

  Open(t_, std::string(80, 'x') + "\r\nshort", {});
  EXPECT_EQ(t_.Field(0).width, 80);
  EXPECT_EQ(t_.RecordSize(), 80);
}

TEST_F(RecordTableTest, LeavesFileUntouchedUnlessChanged) {
  const std::string bytes = "abc\nde\r\n\rfgh";
  Open(t_, bytes);
  t_.BeginEdit();
  t_.CancelRecord();
  t_.SetPosition(2);
  t_.BeginEdit();
  t_.SetFieldText("B", "x");
  t_.Close();  // a pending edit is dropped, not stored
  EXPECT_EQ(Read("data"), bytes);

  t_.Open();
  t_.DeleteRecord();
  t_.Close();
  EXPECT_EQ(Read("data"), "de\r\n\r\nfgh\r\n");

  t_.Open();
  while (t_.RecordCount() > 0) t_.DeleteRecord();
  t_.Close();
  EXPECT_EQ(Read("data"), "");
}

TEST_F(RecordTableTest, BuildsFieldsFromTheSchema) {
  Open(t_, std::string(40, 'x'),
       {" Name = 2", "", "FILLER", "   ", "Bad=abc", "Neg=-3", "Mixed=5x", "name=9", "Plus=+4"});
  Lines names;
  std::vector<int> widths, offsets;
  for (int i = 0; i < t_.FieldCount(); ++i) {
    names.push_back(t_.Field(i).name);
    widths.push_back(t_.Field(i).width);
    offsets.push_back(t_.Field(i).offset);
  }
  EXPECT_EQ(names, (Lines{"Name", "FILLER", "Bad", "Neg", "Mixed", "name", "Plus"}));
  // The repeated name takes the width of its first entry; lookup finds the first.
  EXPECT_EQ(widths, (std::vector<int>{2, 40, 40, 40, 40, 2, 4}));
  EXPECT_EQ(offsets, (std::vector<int>{0, 2, 42, 82, 122, 162, 164}));
  EXPECT_EQ(t_.RecordSize(), 168);
  EXPECT_EQ(t_.FieldIndex("NAME"), 0);
  t_.Close();

  Open(t_, "abc", {"Zero=0"});
  EXPECT_EQ(t_.RecordSize(), 250);
}

TEST_F(RecordTableTest, ReadsFieldsWithTheTrimRules) {
  Open(t_, "ab   xyzq\t  \r\n123       \r\n1234567");
  EXPECT_EQ(t_.FieldText("a"), "ab");
  EXPECT_EQ(t_.FieldText("B"), "  xy");
  EXPECT_EQ(t_.FieldText("C"), "zq\t");
  t_.SetPosition(t_.Position() + 1);
  EXPECT_EQ(t_.FieldText("B"), "");
  t_.SetPosition(t_.Position() + 1);
  EXPECT_EQ(t_.FieldText("B"), "4567");
  EXPECT_EQ(t_.FieldText("C"), "");
  EXPECT_EQ(t_.FieldTextAt(0, 1), "  xy");
  EXPECT_EQ(t_.CurrentIndex(), 2);
  EXPECT_EQ(ErrorOf([&] { t_.FieldText("D"); }), "Field 'D' not found");
  t_.Close();
  EXPECT_EQ(t_.FieldText("A"), "");

  t_.SetTrimSpace(false);
  t_.Open();
  EXPECT_EQ(t_.FieldText("A"), "ab ");
  EXPECT_EQ(t_.FieldText("C"), "zq\t  ");
  EXPECT_EQ(t_.FieldTextAt(1, 2), "   ");
  EXPECT_EQ(t_.FieldText("A") + t_.FieldText("B") + t_.FieldText("C"), t_.LineAt(0));
}

TEST_F(RecordTableTest, WritesFieldsPaddedCutAndFillingGaps) {
  Open(t_, "ab\r\n" + std::string(16, '9'));
  EXPECT_EQ(ErrorOf([&] { t_.SetFieldText("A", "x"); }), "Dataset not in edit or insert mode");
  t_.BeginEdit();
  t_.SetFieldText("C", "toolongvalue");
  EXPECT_EQ(t_.RecordText(), "ab     toolo");
  t_.SetFieldText("A", "");
  t_.SetFieldText("B", "\xC1\xE1");
  EXPECT_EQ(t_.RecordText(), "   \xC1\xE1  toolo");
  t_.PostRecord();
  EXPECT_EQ(t_.LineAt(0), "   \xC1\xE1  toolo");

  // A line longer than the record reads its first RecordSize characters and loses the rest.
  t_.SetPosition(t_.Position() + 1);
  EXPECT_EQ(t_.FieldText("C"), "99999");
  t_.BeginEdit();
  t_.SetFieldText("A", "1");
  t_.PostRecord();
  EXPECT_EQ(t_.LineAt(1), "1  999999999");

  // A new record ends with the last field set in it.
  t_.BeginAppend();
  t_.SetFieldText("B", "xy");
  t_.PostRecord();
  EXPECT_EQ(t_.LineAt(2), "   xy  ");
}

TEST_F(RecordTableTest, StoresAndDeletesAtTheRightPlaces) {
  Open(t_, "1\r\n2\r\n3\r\n4\r\n5\r\n");
  t_.SetPosition(3);
  t_.BeginInsert();
  EXPECT_EQ(t_.PendingInsertIndex(), 2);
  t_.SetFieldText("A", "new");
  EXPECT_TRUE(t_.PendingRecordChanged());
  t_.PostRecord();
  EXPECT_FALSE(t_.PendingRecordChanged());
  EXPECT_EQ(t_.Position(), 3);
  EXPECT_EQ(AllLines(t_), (Lines{"1", "2", "new", "3", "4", "5"}));
  EXPECT_TRUE(t_.Modified());

  t_.BeginAppend();
  EXPECT_EQ(t_.PendingInsertIndex(), 6);
  t_.SetFieldText("A", "end");
  t_.PostRecord();
  EXPECT_EQ(t_.Position(), 7);

  t_.DeleteRecord();
  EXPECT_EQ(t_.FieldText("A"), "5");
  t_.SetPosition(2);
  t_.DeleteRecord();
  EXPECT_EQ(t_.FieldText("A"), "new");

  // Deleting while inserting only drops the new record; while editing, deletes the line.
  t_.BeginInsert();
  t_.SetFieldText("A", "zzz");
  t_.DeleteRecord();
  EXPECT_EQ(t_.RecordCount(), 5);
  EXPECT_EQ(t_.FieldText("A"), "new");
  t_.BeginEdit();
  t_.SetFieldText("A", "zzz");
  t_.DeleteRecord();
  EXPECT_EQ(AllLines(t_), (Lines{"1", "3", "4", "5"}));
  t_.BeginEdit();
  t_.SetFieldText("A", "zzz");
  t_.CancelRecord();
  EXPECT_EQ(t_.FieldText("A"), "3");
  EXPECT_EQ(t_.PendingInsertIndex(), -1);
  t_.Close();

  Open(t_, "", kSchema, "empty");
  EXPECT_EQ(ErrorOf([&] { t_.DeleteRecord(); }),
            "Cannot perform this operation on an empty dataset");
  t_.BeginEdit();  // on an empty table this begins a new record
  EXPECT_EQ(t_.State(), DataSetState::Insert);
  EXPECT_EQ(t_.PendingInsertIndex(), 0);
  t_.SetFieldText("C", "c");
  t_.PostRecord();
  EXPECT_EQ(t_.LineAt(0), "       c    ");
  EXPECT_EQ(t_.Position(), 1);
}

TEST_F(RecordTableTest, NavigatesAndStoresBeforeMoving) {
  Open(t_, "1\r\n2\r\n3");
  EXPECT_EQ(t_.CurrentIndex(), 0);
  EXPECT_EQ(t_.FieldText("A"), "1");
  t_.SetPosition(3);
  EXPECT_EQ(t_.FieldText("A"), "3");
  t_.SetPosition(4);
  t_.SetPosition(0);
  EXPECT_EQ(t_.Position(), 3);

  // A changed record is stored by the move; an untouched new one is dropped.
  t_.BeginEdit();
  t_.SetFieldText("A", "x");
  t_.MoveFirst();
  EXPECT_EQ(t_.LineAt(2), "x  ");
  t_.BeginAppend();
  t_.SetPosition(2);
  EXPECT_EQ(t_.RecordCount(), 3);
  EXPECT_EQ(t_.Position(), 2);
}

TEST_F(RecordTableTest, SavesAsAndReturnsToRecords) {
  Open(t_, "a\nb\n\r\n  \t\ncccccccccccccccccc");
  t_.BeginEdit();
  t_.SetFieldText("A", "z");
  t_.SaveAs(PathOf("second"));  // stores the lines, not the pending edit
  EXPECT_EQ(Read("second").substr(0, 6), "a\r\nb\r\n");
  t_.PostRecord();
  t_.SaveAs(PathOf("second"));
  t_.SaveAs(PathOf("data"));
  EXPECT_EQ(Read("second"), Read("data"));
  EXPECT_EQ(t_.FileName(), PathOf("data"));
  EXPECT_FALSE(t_.Modified());
}

TEST_F(RecordTableTest, ReportsErrors) {
  EXPECT_EQ(ErrorOf([&] { Open(t_, "", kSchema, "missing/x"); }),
            "Cannot open file \"" + PathOf("missing/x") + "\". " + SystemReason(ENOENT));
  EXPECT_FALSE(t_.Active());
  EXPECT_EQ(ErrorOf([&] { t_.MoveFirst(); }), "Cannot perform this operation on a closed dataset");

  t_.SetFileName(PathOf("new"));
  t_.SetFileMustExist(false);
  t_.Open();
  EXPECT_TRUE(fs::exists(PathOf("new")));
  EXPECT_EQ(ErrorOf([&] { t_.SetTrimSpace(false); }),
            "Cannot perform this operation on an open dataset");
  EXPECT_EQ(ErrorOf([&] { t_.SetSchema({}); }), "Cannot perform this operation on an open dataset");
  EXPECT_EQ(t_.FieldCount(), 3);
  EXPECT_EQ(ErrorOf([&] { t_.PostRecord(); }), "Dataset not in edit or insert mode");

  fs::create_directory(PathOf("dir"));
  EXPECT_EQ(ErrorOf([&] { t_.SaveAs(PathOf("dir")); }),
            "Cannot create file \"" + PathOf("dir") + "\". " + SystemReason(EISDIR));
  EXPECT_EQ(t_.FileName(), PathOf("new"));
}

TEST_F(RecordTableTest, FiresEventsInOrderAndKeepsRefusedRecordsPending) {
  Open(t_, "1\r\n2\r\n");
  Lines log;
  bool refuse = true;
  t_.BeforePost = [&](RecordTable& t) {
    log.push_back("BeforePost " + t.FieldText("A"));
    return !refuse;
  };
  t_.AfterPost = [&](RecordTable& t) { log.push_back("AfterPost " + t.FieldText("A")); };
  t_.AfterEdit = [&](RecordTable&) { log.push_back("AfterEdit"); };
  t_.AfterDelete = [&](RecordTable&) { log.push_back("AfterDelete"); };
  t_.OnNewRecord = [&](RecordTable& t) {
    log.push_back("OnNewRecord");
    t.SetFieldText("C", "def");
  };

  t_.BeginEdit();
  t_.SetFieldText("A", "x");
  t_.SetPosition(2);
  EXPECT_EQ(t_.State(), DataSetState::Edit);
  EXPECT_EQ(t_.Position(), 1);
  EXPECT_FALSE(t_.BeginInsert());
  EXPECT_EQ(t_.State(), DataSetState::Edit);
  EXPECT_EQ(t_.RecordText(), "x  ");
  EXPECT_EQ(t_.LineAt(0), "1");
  EXPECT_FALSE(t_.Modified());
  refuse = false;
  t_.SetPosition(2);
  EXPECT_EQ(t_.FieldText("A"), "2");

  t_.BeginInsert();
  EXPECT_FALSE(t_.PendingRecordChanged());  // defaults of OnNewRecord are no change
  t_.SetFieldText("A", "n");
  t_.PostRecord();
  t_.DeleteRecord();
  EXPECT_EQ(log, (Lines{"AfterEdit", "BeforePost x", "BeforePost x", "BeforePost x", "AfterPost x",
                        "OnNewRecord", "BeforePost n", "AfterPost n", "AfterDelete"}));
}

TEST_F(RecordTableTest, OpensOnGivenLinesWithoutReadingTheFile) {
  Write("data", "file\r\n");
  t_.SetSchema(kSchema);
  t_.SetFileName(PathOf("data"));
  t_.OpenWithLines({"abc1234", "de", "fghijklmnopqr"});
  EXPECT_EQ(t_.State(), DataSetState::Browse);
  EXPECT_EQ(AllLines(t_), (Lines{"abc1234", "de", "fghijklmnopqr"}));
  EXPECT_EQ(t_.Position(), 1);
  EXPECT_EQ(t_.FieldText("B"), "1234");
  EXPECT_EQ(t_.RecordSize(), 12);
  EXPECT_FALSE(t_.Modified());
  EXPECT_EQ(ErrorOf([&] { t_.OpenWithLines({"x"}); }),
            "Cannot perform this operation on an open dataset");
  EXPECT_EQ(t_.RecordCount(), 3);
  t_.Close();
  EXPECT_EQ(Read("data"), "file\r\n");  // unchanged lines are not written back

  // The file is not even looked at, and a store writes the given lines.
  t_.SetFileName(PathOf("new"));
  t_.OpenWithLines({"1", "2"});
  t_.BeginAppend();
  t_.SetFieldText("A", "3");
  t_.PostRecord();
  t_.Close();
  EXPECT_EQ(Read("new"), "1\r\n2\r\n3  \r\n");

  t_.OpenWithLines({});
  EXPECT_EQ(t_.RecordCount(), 0);
  EXPECT_EQ(t_.Position(), 0);
}

}  // namespace
}  // namespace velmora
