#include "RecordTable.h"

#include <utility>

#include "PlainText.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <stdexcept>
#include <typeinfo>

#include "AtomicFile.h"
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

// Key field names: separated by commas or blanks, each possibly in double quotes.
std::vector<std::string> SplitKeyNames(std::string_view names) {
  std::vector<std::string> result;
  size_t i = 0;
  while (i < names.size()) {
    if (names[i] == ',' || IsBlankOrControl(names[i])) {
      ++i;
    } else if (names[i] == '"') {
      const size_t close = names.find('"', i + 1);
      const size_t end = close == std::string_view::npos ? names.size() : close;
      result.emplace_back(names.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      size_t end = i;
      while (end < names.size() && names[end] != ',' && !IsBlankOrControl(names[end])) ++end;
      result.emplace_back(names.substr(i, end - i));
      i = end;
    }
  }
  return result;
}

bool KeyMatches(std::string_view field, std::string_view key, int options) {
  field = WithoutControls(field);
  if (field.size() < key.size()) return false;
  if (field.size() != key.size() && (options & PartialKey) == 0) return false;
  if ((options & CaseInsensitive) == 0) return field.substr(0, key.size()) == key;
  return std::equal(key.begin(), key.end(), field.begin(),
                    [](char x, char y) { return UpperLatin(x) == UpperLatin(y); });
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

void RecordTable::SetReadOnly(bool value) {
  CheckInactive();
  readOnly_ = value;
}

void RecordTable::SetFiltered(bool value) {
  if (!Active()) {
    filtered_ = value;
    return;
  }
  CheckBrowseMode();
  filtered_ = value;
  MoveFirst();
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
  if (!readOnly_ && modified_) WriteFile(fileName_);
  state_ = DataSetState::Inactive;
  lineTexts_.clear();
  lineIds_.clear();
  fields_.clear();
  recordSize_ = 0;
  index_ = -1;
  lastRecordId_ = 0;
  modified_ = false;
  record_.clear();
  bof_ = eof_ = true;
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
  if (!readOnly_ && modified_) WriteFile(fileName_);
  modified_ = false;
  lines.swap(lineTexts_);
  SetActive(false);
  return lines;
}

void RecordTable::Load(std::vector<std::string> lines) {
  lineTexts_ = std::move(lines);
  lineIds_.resize(lineTexts_.size());
  for (size_t i = 0; i < lineIds_.size(); ++i) lineIds_[i] = static_cast<int32_t>(i + 1);
  lastRecordId_ = static_cast<int32_t>(lineIds_.size());
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

void RecordTable::SetFieldReadOnly(const std::string& name, bool value) {
  fields_[static_cast<size_t>(FieldIndex(name))].readOnly = value;
}

std::string RecordTable::ReadField(std::string_view record, const FieldDef& field) const {
  return std::string(FieldView(record, field));
}

std::string_view RecordTable::FieldView(std::string_view record, const FieldDef& field) const {
  const auto offset = static_cast<size_t>(field.offset);
  if (offset >= record.size()) return {};
  std::string_view text = record.substr(offset, static_cast<size_t>(field.width));
  if (trimSpace_) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  }
  return text;
}

std::string RecordTable::FieldText(const std::string& name) const {
  if (!Active()) return {};
  return ReadField(record_, fields_[static_cast<size_t>(FieldIndex(name))]);
}

bool RecordTable::FieldIsNull(const std::string& name) const {
  if (!Active()) return true;
  return static_cast<size_t>(fields_[static_cast<size_t>(FieldIndex(name))].offset) >=
         record_.size();
}

void RecordTable::SetFieldText(const std::string& name, const std::string& text) {
  CheckActive();
  const FieldDef& field = fields_[static_cast<size_t>(FieldIndex(name))];
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) {
    throw DataSetError("Dataset not in edit or insert mode");
  }
  if (field.readOnly) throw DataSetError("Field '" + field.name + "' cannot be modified");
  if (OnValidateField) OnValidateField(field, text);

  const auto start = static_cast<size_t>(field.offset);
  const auto width = static_cast<size_t>(field.width);
  // Blanks the field and any gap between the end of the text and the field.
  if (record_.size() < start + width) record_.resize(start + width, ' ');
  std::fill_n(record_.begin() + static_cast<std::ptrdiff_t>(start), width, ' ');
  record_.replace(start, std::min(text.size(), width), text, 0, width);
  pendingChanged_ = true;
}

// Reading lines

std::string_view RecordTable::RecordOf(int index, std::string& converted) const {
  return RecordOfLine(lineTexts_[static_cast<size_t>(index)], converted);
}

std::string_view RecordTable::RecordOfLine(const std::string& line, std::string& converted) const {
  std::string_view record = line;
  // A plain table's record text is its stored line, so it is read in place.
  if (typeid(*this) != typeid(RecordTable)) {
    converted = LineToRecord(line);
    record = converted;
  }
  return record.substr(0, static_cast<size_t>(recordSize_));
}

void RecordTable::Load(int index) {
  std::string converted;
  record_.assign(RecordOf(index, converted));
  index_ = index;
}

bool RecordTable::Accepts(int index) {
  Load(index);
  return !filtered_ || !OnFilterRecord || OnFilterRecord(*this);
}

bool RecordTable::Seek(int index, int step) {
  const int oldIndex = index_;
  std::string oldRecord = record_;
  for (int i = index; i >= 0 && i < RecordCount(); i += step) {
    if (Accepts(i)) return true;
  }
  index_ = oldIndex;
  record_ = std::move(oldRecord);
  return false;
}

void RecordTable::Refresh() {
  const bool found = index_ >= 0 && (Seek(index_, 1) || Seek(index_ - 1, -1));
  if (!found) {
    index_ = -1;
    record_.clear();
  }
  bof_ = eof_ = !found;
}

std::string RecordTable::RecordToLine(const std::string& record) const {
  return record.substr(0, std::min(record.find('\0'), static_cast<size_t>(recordSize_)));
}

std::string RecordTable::LineToRecord(const std::string& line) const { return line; }

const std::string& RecordTable::LineAt(int index) const {
  return lineTexts_.at(static_cast<size_t>(index));
}

int32_t RecordTable::RecordIdAt(int index) const { return lineIds_.at(static_cast<size_t>(index)); }

std::string RecordTable::FieldTextAt(int index, int fieldIndex) const {
  std::string converted;
  return std::string(FieldViewAt(index, fieldIndex, converted));
}

std::string_view RecordTable::FieldViewAt(int index, int fieldIndex, std::string& converted) const {
  if (index < 0 || index >= RecordCount()) throw std::out_of_range("FieldTextAt: no such line");
  return FieldView(RecordOf(index, converted), Field(fieldIndex));
}

std::string_view RecordTable::FieldViewOfLine(const std::string& line, int fieldIndex,
                                              std::string& converted) const {
  return FieldView(RecordOfLine(line, converted), Field(fieldIndex));
}

// Navigation

void RecordTable::MoveFirst() {
  CheckActive();
  CheckBrowseMode();
  if (Seek(0, 1)) {
    bof_ = true;
    eof_ = false;
  } else {
    index_ = -1;
    record_.clear();
    bof_ = eof_ = true;
  }
}

void RecordTable::MoveLast() {
  CheckActive();
  CheckBrowseMode();
  if (Seek(RecordCount() - 1, -1)) {
    bof_ = false;
    eof_ = true;
  } else {
    index_ = -1;
    record_.clear();
    bof_ = eof_ = true;
  }
}

void RecordTable::MoveNext() {
  CheckActive();
  CheckBrowseMode();
  if (Seek(index_ + 1, 1)) {
    bof_ = eof_ = false;
  } else {
    eof_ = true;
  }
}

void RecordTable::MovePrior() {
  CheckActive();
  CheckBrowseMode();
  if (index_ > 0 && Seek(index_ - 1, -1)) {
    bof_ = eof_ = false;
  } else {
    bof_ = true;
  }
}

int RecordTable::Position() const {
  return Active() && index_ >= 0 && index_ < RecordCount() ? index_ + 1 : 0;
}

void RecordTable::SetPosition(int position) {
  CheckActive();
  CheckBrowseMode();
  if (position < 1 || position > RecordCount() || position == Position()) return;
  index_ = position - 1;
  Refresh();
}

int32_t RecordTable::RecordId() const {
  if (state_ == DataSetState::Inactive || state_ == DataSetState::Insert) return 0;
  return index_ >= 0 && index_ < RecordCount() ? lineIds_[static_cast<size_t>(index_)] : 0;
}

void RecordTable::GotoRecordId(int32_t id) {
  CheckActive();
  CheckBrowseMode();
  const auto found = std::find(lineIds_.begin(), lineIds_.end(), id);
  if (found == lineIds_.end()) throw DataSetError("Bookmark not found");
  index_ = static_cast<int>(found - lineIds_.begin());
  Refresh();
}

void RecordTable::Resync(bool check) {
  CheckActive();
  CheckBrowseMode();
  if (index_ < 0 || index_ >= RecordCount()) {
    if (check) throw DataSetError("No Records");
    record_.clear();
    return;
  }
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
  CheckCanModify();
  state_ = DataSetState::Edit;
  pendingChanged_ = false;
  Fire(AfterEdit);
}

void RecordTable::BeginInsert() { BeginNewRecord(false); }

void RecordTable::BeginAppend() { BeginNewRecord(true); }

void RecordTable::BeginNewRecord(bool append) {
  CheckActive();
  CheckCanModify();
  CheckBrowseMode();
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
}

int RecordTable::PendingInsertIndex() const {
  if (state_ != DataSetState::Insert) return -1;
  return appending_ || index_ < 0 || index_ >= RecordCount() ? RecordCount() : index_;
}

void RecordTable::PostRecord() {
  CheckActive();
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) {
    throw DataSetError("Dataset not in edit or insert mode");
  }
  Fire(BeforePost);
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
    lineIds_.insert(lineIds_.begin() + place, lastRecordId_ + 1);
  }
  modified_ = true;
  try {
    Fire(BeforeCommit);
  } catch (...) {
    if (editing) {
      lineTexts_[static_cast<size_t>(at)] = std::move(replaced);
    } else {
      lineTexts_.erase(lineTexts_.begin() + place);
      lineIds_.erase(lineIds_.begin() + place);
    }
    modified_ = wasModified;
    throw;
  }
  if (!editing) ++lastRecordId_;
  index_ = at;
  state_ = DataSetState::Browse;
  appending_ = false;
  pendingChanged_ = false;
  Refresh();
  Fire(AfterPost);
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
  CheckCanModify();
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
  const int32_t removedId = lineIds_[static_cast<size_t>(at)];
  RemoveLine(at);
  try {
    Fire(BeforeCommit);
  } catch (...) {
    lineTexts_.insert(lineTexts_.begin() + place, std::move(removed));
    lineIds_.insert(lineIds_.begin() + place, removedId);
    modified_ = wasModified;
    index_ = at;
    Refresh();
    throw;
  }
  Fire(AfterDelete);
}

void RecordTable::RemoveLine(int index) {
  lineTexts_.erase(lineTexts_.begin() + index);
  lineIds_.erase(lineIds_.begin() + index);
  modified_ = true;
  index_ = std::min(index, RecordCount() - 1);
  Refresh();
}

void RecordTable::CheckBrowseMode() {
  if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
  if (pendingChanged_) {
    PostRecord();
  } else {
    CancelRecord();
  }
}

// Whole-table operations

bool RecordTable::FindRecord(const std::string& keyFields,
                             const std::vector<std::string>& keyValues, int options) {
  CheckActive();
  CheckBrowseMode();
  if (RecordCount() == 0 || WithoutControls(keyFields).empty()) return false;

  std::vector<const FieldDef*> fields;
  for (const auto& name : SplitKeyNames(keyFields)) {
    fields.push_back(&fields_[static_cast<size_t>(FieldIndex(name))]);
  }
  if (keyValues.size() != fields.size()) {
    throw std::invalid_argument("FindRecord: one key value is needed per key field");
  }
  std::vector<std::string_view> keys;
  for (const auto& value : keyValues) keys.push_back(WithoutControls(value));

  const auto matches = [&](std::string_view record) {
    for (size_t k = 0; k < fields.size(); ++k) {
      const auto offset = static_cast<size_t>(fields[k]->offset);
      const std::string_view text =
          offset < record.size() ? record.substr(offset, static_cast<size_t>(fields[k]->width))
                                 : std::string_view();
      if (!KeyMatches(text, keys[k], options)) return false;
    }
    return true;
  };

  const bool filtering = filtered_ && OnFilterRecord;
  const int oldIndex = index_;
  std::string oldRecord = filtering ? record_ : std::string();
  for (int i = 0; i < RecordCount(); ++i) {
    if (filtering) {
      if (!Accepts(i) || !matches(record_)) continue;
    } else {
      std::string converted;
      if (!matches(RecordOf(i, converted))) continue;
      Load(i);
    }
    bof_ = eof_ = false;
    return true;
  }
  if (filtering) {
    index_ = oldIndex;
    record_ = std::move(oldRecord);
  }
  return false;
}

void RecordTable::SaveAs(const std::string& path) {
  CheckActive();
  WriteFile(path);
  fileName_ = path;
  modified_ = false;
}

void RecordTable::RemoveBlankLines() {
  CheckActive();
  CheckCanModify();
  CheckBrowseMode();
  for (int i = RecordCount() - 1; i >= 0; --i) {
    // An AfterDelete handler may have shortened the table meanwhile.
    if (i >= RecordCount() || !WithoutControls(lineTexts_[static_cast<size_t>(i)]).empty())
      continue;
    RemoveLine(i);
    Fire(AfterDelete);
  }
  MoveFirst();
}

void RecordTable::NormaliseAndSave() {
  CheckActive();
  CheckCanModify();
  for (auto& line : lineTexts_) {
    std::string normal = RecordToLine(LineToRecord(line));
    if (normal != line) {
      line = std::move(normal);
      modified_ = true;
    }
  }
  WriteFile(fileName_);
  modified_ = false;
  if (state_ == DataSetState::Browse && index_ >= 0) Load(index_);
}

// Checks and events

void RecordTable::CheckInactive() const {
  if (Active()) throw DataSetError("Cannot perform this operation on an open dataset");
}

void RecordTable::CheckActive() const {
  if (!Active()) throw DataSetError("Cannot perform this operation on a closed dataset");
}

void RecordTable::CheckCanModify() const {
  if (readOnly_) throw DataSetError("Cannot modify a read-only dataset");
}

void RecordTable::Fire(const Event& event) {
  if (event) event(*this);
}

}  // namespace velmora
