#include "RecordTable.h"

#include <utility>

#include "PlainText.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <stdexcept>

#include "AtomicFile.h"
#include "RecordLayout.h"
#include "TextFile.h"

namespace velmora {

namespace {

constexpr int kDefaultWidth = 250;

char UpperLatin(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperLatin(x) == UpperLatin(y);
         });
}

// A width that is not a whole number of characters takes the fallback.
int ParseWidth(std::string_view text, int fallback) {
  text = WithoutControls(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int width = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || width < 0) {
    return fallback;
  }
  return width;
}

std::string FullPath(const std::string& path) {
  std::error_code error;
  const auto full = std::filesystem::absolute(path, error);
  return error ? path : full.lexically_normal().string();
}

}  // namespace

// Properties

void RecordTable::SetSchema(std::vector<std::string> lines) {
  CheckInactive();
  schema_ = std::move(lines);
}

void RecordTable::SetFileName(std::string path) {
  CheckInactive();
  fileName_ = std::move(path);
}

void RecordTable::SetFileMustExist(bool value) {
  CheckInactive();
  fileMustExist_ = value;
}

void RecordTable::SetTrimSpace(bool value) {
  CheckInactive();
  trimSpace_ = value;
}

// Opening and closing

void RecordTable::SetActive(bool value) {
  if (value == Active()) return;
  if (value) {
    std::error_code error;
    // Nothing is held while closed, so this creates the file empty.
    if (!fileMustExist_ && !std::filesystem::exists(fileName_, error)) WriteFile(fileName_);
    std::vector<std::string> lines;
    try {
      lines = ReadTextLines(fileName_);
    } catch (const VelmoraError& e) {
      throw DataSetError("Cannot open file \"" + fileName_ + "\". " + e.what());
    }
    Load(std::move(lines));
    return;
  }
  CancelRecord();
  // A failed write keeps the table open, so that its lines are not lost.
  if (modified_) WriteFile(fileName_);
  state_ = DataSetState::Inactive;
  lineTexts_.clear();
  fields_.clear();
  recordSize_ = 0;
  index_ = -1;
  modified_ = false;
  record_.clear();
}

void RecordTable::OpenWithLines(std::vector<std::string> lines) {
  CheckInactive();
  Load(std::move(lines));
}

std::vector<std::string> RecordTable::CloseTakingLines() {
  std::vector<std::string> lines;
  if (!Active()) return lines;
  CancelRecord();
  // A failed write keeps the table open, as Close does.
  if (modified_) WriteFile(fileName_);
  modified_ = false;
  lines.swap(lineTexts_);
  SetActive(false);
  return lines;
}

void RecordTable::Load(std::vector<std::string> lines) {
  lineTexts_ = std::move(lines);
  BuildFields();
  modified_ = false;
  index_ = -1;
  record_.clear();
  state_ = DataSetState::Browse;
  // An open table stands on its first record.
  MoveFirst();
}

void RecordTable::BuildFields() {
  size_t longest = 0;
  for (const auto& line : lineTexts_) longest = std::max(longest, line.size());
  const int lineWidth = longest == 0 ? kDefaultWidth : static_cast<int>(longest);

  fields_.clear();
  if (schema_.empty()) fields_.push_back({"Line", lineWidth, 0});
  int offset = 0;
  for (const auto& entry : schema_) {
    if (WithoutControls(entry).empty()) continue;
    const size_t equals = entry.find('=');
    const std::string_view text = entry;
    FieldDef field;
    field.name = std::string(WithoutControls(text.substr(0, equals)));
    field.width =
        equals == std::string::npos ? lineWidth : ParseWidth(text.substr(equals + 1), lineWidth);
    // The first entry of a name decides its width.
    const auto first = std::find_if(fields_.begin(), fields_.end(), [&](const FieldDef& f) {
      return SameName(f.name, field.name);
    });
    if (first != fields_.end()) field.width = first->width;
    field.offset = offset;
    offset += field.width;
    fields_.push_back(std::move(field));
  }
  int size = 0;
  for (const auto& field : fields_) size += field.width;
  recordSize_ = size == 0 ? kDefaultWidth : size;
}

void RecordTable::WriteFile(const std::string& path) const {
  try {
    WriteLinesAtomically(path, lineTexts_, /*durable=*/false);
  } catch (const VelmoraError& e) {
    throw DataSetError("Cannot create file \"" + FullPath(path) + "\". " + e.what());
  }
}

// Fields

const FieldDef& RecordTable::Field(int index) const {
  return fields_.at(static_cast<size_t>(index));
}

int RecordTable::FieldIndex(const std::string& name) const {
  for (size_t i = 0; i < fields_.size(); ++i) {
    if (SameName(fields_[i].name, name)) return static_cast<int>(i);
  }
  throw DataSetError("Field '" + name + "' not found");
}

std::string RecordTable::ReadField(std::string_view record, const FieldDef& field) const {
  return std::string(FieldView(record, field));
}

// The same rule as LineFieldText, for any schema.
std::string_view RecordTable::FieldView(std::string_view record, const FieldDef& field) const {
  const std::string_view text =
      ColumnSpan{static_cast<size_t>(field.offset), static_cast<size_t>(field.width)}.In(record);
  return trimSpace_ ? WithoutTrailingBlanks(text) : text;
}

std::string RecordTable::FieldText(const std::string& name) const {
  if (!Active()) return {};
  return ReadField(record_, fields_[static_cast<size_t>(FieldIndex(name))]);
}

void RecordTable::SetFieldText(const std::string& name, const std::string& text) {
  CheckActive();
  const FieldDef& field = fields_[static_cast<size_t>(FieldIndex(name))];
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) {
    throw DataSetError("Dataset not in edit or insert mode");
  }

  const auto start = static_cast<size_t>(field.offset);
  const auto width = static_cast<size_t>(field.width);
  // Blanks the field and any gap between the end of the text and the field.
  if (record_.size() < start + width) record_.resize(start + width, ' ');
  std::fill_n(record_.begin() + static_cast<std::ptrdiff_t>(start), width, ' ');
  record_.replace(start, std::min(text.size(), width), text, 0, width);
  pendingChanged_ = true;
}

// Reading lines

std::string_view RecordTable::RecordOfLine(std::string_view line) const {
  return line.substr(0, static_cast<size_t>(recordSize_));
}

void RecordTable::Load(int index) {
  record_.assign(RecordOfLine(lineTexts_[static_cast<size_t>(index)]));
  index_ = index;
}

void RecordTable::Refresh() {
  if (index_ >= RecordCount()) index_ = RecordCount() - 1;
  if (index_ < 0) {
    index_ = -1;
    record_.clear();
    return;
  }
  Load(index_);
}

std::string RecordTable::RecordToLine(const std::string& record) const {
  return record.substr(0, std::min(record.find('\0'), static_cast<size_t>(recordSize_)));
}

const std::string& RecordTable::LineAt(int index) const {
  return lineTexts_.at(static_cast<size_t>(index));
}

std::string RecordTable::FieldTextAt(int index, int fieldIndex) const {
  return std::string(FieldViewAt(index, fieldIndex));
}

std::string_view RecordTable::FieldViewAt(int index, int fieldIndex) const {
  if (index < 0 || index >= RecordCount()) throw std::out_of_range("FieldTextAt: no such line");
  return FieldView(RecordOfLine(lineTexts_[static_cast<size_t>(index)]), Field(fieldIndex));
}

// Navigation

void RecordTable::MoveFirst() {
  CheckActive();
  if (!CheckBrowseMode()) return;
  if (RecordCount() > 0) {
    Load(0);
  } else {
    index_ = -1;
    record_.clear();
  }
}

int RecordTable::Position() const {
  return Active() && index_ >= 0 && index_ < RecordCount() ? index_ + 1 : 0;
}

void RecordTable::SetPosition(int position) {
  CheckActive();
  if (!CheckBrowseMode()) return;
  if (position < 1 || position > RecordCount() || position == Position()) return;
  index_ = position - 1;
  Refresh();
}

// Editing

void RecordTable::BeginEdit() {
  CheckActive();
  if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return;
  if (index_ < 0 || index_ >= RecordCount()) {
    BeginInsert();
    return;
  }
  state_ = DataSetState::Edit;
  pendingChanged_ = false;
  Fire(AfterEdit);
}

bool RecordTable::BeginInsert() { return BeginNewRecord(false); }

bool RecordTable::BeginAppend() { return BeginNewRecord(true); }

bool RecordTable::BeginNewRecord(bool append) {
  CheckActive();
  if (!CheckBrowseMode()) return false;
  state_ = DataSetState::Insert;
  appending_ = append;
  record_.clear();
  try {
    Fire(OnNewRecord);
  } catch (...) {
    CancelRecord();
    throw;
  }
  // Values filled in by OnNewRecord are defaults, not the user's changes.
  pendingChanged_ = false;
  return true;
}

int RecordTable::PendingInsertIndex() const {
  if (state_ != DataSetState::Insert) return -1;
  return appending_ || index_ < 0 || index_ >= RecordCount() ? RecordCount() : index_;
}

bool RecordTable::PostRecord() {
  CheckActive();
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) {
    throw DataSetError("Dataset not in edit or insert mode");
  }
  if (BeforePost && !BeforePost(*this)) return false;
  std::string line = RecordToLine(record_);
  const bool wasModified = modified_;
  const bool editing = state_ == DataSetState::Edit;
  const int at = editing ? index_ : PendingInsertIndex();
  const auto place = static_cast<std::ptrdiff_t>(at);
  std::string replaced;
  if (editing) {
    replaced = std::exchange(lineTexts_[static_cast<size_t>(at)], std::move(line));
  } else {
    lineTexts_.insert(lineTexts_.begin() + place, std::move(line));
  }
  modified_ = true;
  try {
    Fire(BeforeCommit);
  } catch (...) {
    if (editing) {
      lineTexts_[static_cast<size_t>(at)] = std::move(replaced);
    } else {
      lineTexts_.erase(lineTexts_.begin() + place);
    }
    modified_ = wasModified;
    throw;
  }
  index_ = at;
  state_ = DataSetState::Browse;
  appending_ = false;
  pendingChanged_ = false;
  Refresh();
  Fire(AfterPost);
  return true;
}

void RecordTable::CancelRecord() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  state_ = DataSetState::Browse;
  appending_ = false;
  pendingChanged_ = false;
  Refresh();
}

void RecordTable::DeleteRecord() {
  CheckActive();
  if (state_ == DataSetState::Insert) {
    CancelRecord();
    return;
  }
  CancelRecord();
  if (index_ < 0 || index_ >= RecordCount()) {
    throw DataSetError("Cannot perform this operation on an empty dataset");
  }
  const int at = index_;
  const auto place = static_cast<std::ptrdiff_t>(at);
  const bool wasModified = modified_;
  std::string removed = lineTexts_[static_cast<size_t>(at)];
  RemoveLine(at);
  try {
    Fire(BeforeCommit);
  } catch (...) {
    lineTexts_.insert(lineTexts_.begin() + place, std::move(removed));
    modified_ = wasModified;
    index_ = at;
    Refresh();
    throw;
  }
  Fire(AfterDelete);
}

void RecordTable::RemoveLine(int index) {
  lineTexts_.erase(lineTexts_.begin() + index);
  modified_ = true;
  index_ = std::min(index, RecordCount() - 1);
  Refresh();
}

bool RecordTable::CheckBrowseMode() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return true;
  if (pendingChanged_) return PostRecord();
  CancelRecord();
  return true;
}

// Whole-table operations

void RecordTable::SaveAs(const std::string& path) {
  CheckActive();
  WriteFile(path);
  fileName_ = path;
  modified_ = false;
}

// Checks and events

void RecordTable::CheckInactive() const {
  if (Active()) throw DataSetError("Cannot perform this operation on an open dataset");
}

void RecordTable::CheckActive() const {
  if (!Active()) throw DataSetError("Cannot perform this operation on a closed dataset");
}

void RecordTable::Fire(const Event& event) {
  if (event) event(*this);
}

}  // namespace velmora
