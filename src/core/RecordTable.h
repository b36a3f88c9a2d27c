#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "VelmoraError.h"

namespace velmora {

enum class DataSetState { Inactive, Browse, Edit, Insert };

struct FieldDef {
  std::string name;
  int width = 0;
  int offset = 0;  // sum of the widths of the fields before it
};

// A cursor-based table of text records over a plain text file: one record per
// line, every field a fixed run of characters declared by Schema ("Name=Width").
// The whole file is held in memory; it is read at open and written whole at
// close after changes and by SaveAs. Bytes pass through untouched (the
// program's files are Windows-1253).
class RecordTable {
 public:
  using Event = std::function<void(RecordTable&)>;
  // Answers whether the pending record may be stored.
  using Gate = std::function<bool(RecordTable&)>;

  RecordTable() = default;
  RecordTable(const RecordTable&) = delete;
  RecordTable& operator=(const RecordTable&) = delete;

  // Events. A BeforePost gate that answers false refuses the record: it stays
  // pending, and PostRecord (or the move that stored it first) answers false.
  Gate BeforePost;
  // Runs once a store or a deletion has changed the lines (Lines() shows them
  // as they will stand) and before it is final. A handler that throws undoes
  // it: the record stays pending, or the deleted line comes back where it was,
  // and the exception reaches the caller. The place to write the lines to disk.
  Event BeforeCommit;
  Event AfterPost;
  Event AfterDelete;
  Event AfterEdit;
  Event OnNewRecord;

  // Properties: all but Active may be changed only while closed,
  // otherwise "Cannot perform this operation on an open dataset".
  const std::vector<std::string>& Schema() const { return schema_; }
  void SetSchema(std::vector<std::string> lines);
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string path);
  bool FileMustExist() const { return fileMustExist_; }
  void SetFileMustExist(bool value);
  bool TrimSpace() const { return trimSpace_; }
  void SetTrimSpace(bool value);

  bool Active() const { return state_ != DataSetState::Inactive; }
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  // Opens on lines the caller has just written to FileName itself, sparing the
  // read of the same bytes.
  void OpenWithLines(std::vector<std::string> lines);
  // Closes as Close does, handing over the lines instead of dropping them; empty
  // when the table was closed already.
  std::vector<std::string> CloseTakingLines();
  DataSetState State() const { return state_; }
  bool Modified() const { return modified_; }

  // Fields built from Schema at open.
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  const FieldDef& Field(int index) const;
  // Case-insensitive lookup; "Field '%s' not found" when absent.
  int FieldIndex(const std::string& name) const;
  int RecordSize() const { return recordSize_; }

  // Navigation. Moving while editing or inserting first stores the pending record,
  // or drops it when nothing was written into it (see PendingRecordChanged); a
  // pending record that BeforePost refuses keeps the cursor where it was.
  void MoveFirst();
  int RecordCount() const { return static_cast<int>(lineTexts_.size()); }
  // 1-based; 0 when there is no current record.
  int Position() const;
  void SetPosition(int position);
  // 0-based index of the current line; -1 before the first.
  int CurrentIndex() const { return index_; }

  // The current (or pending) record's field; empty text when the field is null.
  std::string FieldText(const std::string& name) const;
  void SetFieldText(const std::string& name, const std::string& text);
  // The text of the current (or pending) record, at most RecordSize characters.
  const std::string& RecordText() const { return record_; }
  // True once SetFieldText ran on the pending record since BeginEdit/Insert/Append;
  // values set by OnNewRecord do not count.
  bool PendingRecordChanged() const { return pendingChanged_; }

  void BeginEdit();
  // False when the pending record before it was refused.
  bool BeginInsert();
  bool BeginAppend();
  // False when BeforePost refused the record, which stays pending.
  bool PostRecord();
  void CancelRecord();
  void DeleteRecord();

  // Writes the lines to path, which becomes the table's file.
  void SaveAs(const std::string& path);

  // Random access for views bound to the table: the stored line at index i and
  // one field of it, read by the same rules as FieldText. The cursor stays put.
  const std::string& LineAt(int index) const;
  // All stored lines, in order.
  const std::vector<std::string>& Lines() const { return lineTexts_; }
  std::string FieldTextAt(int index, int fieldIndex) const;
  // The same as a view into the line, valid until the line changes.
  std::string_view FieldViewAt(int index, int fieldIndex) const;
  // Where the pending new record will be stored: its line index once posted.
  int PendingInsertIndex() const;

 private:
  void CheckInactive() const;
  void CheckActive() const;
  // Stores a changed pending record and drops an unchanged one; false when the
  // record was refused.
  bool CheckBrowseMode();
  bool BeginNewRecord(bool append);
  void BuildFields();
  void Load(std::vector<std::string> lines);
  void WriteFile(const std::string& path) const;
  // The record text of a line: the line, at most RecordSize characters.
  std::string_view RecordOfLine(std::string_view line) const;
  // Record text -> stored line: up to the first NUL, cut to RecordSize.
  std::string RecordToLine(const std::string& record) const;
  void Load(int index);
  // Re-reads the current record, or the last one when it is past the end.
  void Refresh();
  void RemoveLine(int index);
  std::string ReadField(std::string_view record, const FieldDef& field) const;
  std::string_view FieldView(std::string_view record, const FieldDef& field) const;
  void Fire(const Event& event);

  std::vector<std::string> schema_;
  std::string fileName_;
  bool fileMustExist_ = true;
  bool trimSpace_ = true;

  DataSetState state_ = DataSetState::Inactive;
  std::vector<std::string> lineTexts_;
  std::vector<FieldDef> fields_;
  int recordSize_ = 0;
  int index_ = -1;
  bool modified_ = false;
  bool appending_ = false;
  bool pendingChanged_ = false;
  std::string record_;
};

}  // namespace velmora
