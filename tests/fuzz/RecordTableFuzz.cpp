// Opens any bytes as a working file of lines, walks it, edits a field, saves it and
// opens it again: the table must hold together whatever the file holds.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "AtomicFile.h"
#include "RecordLayout.h"
#include "RecordTable.h"
#include "VelmoraError.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// One private folder for the life of the process, removed at its end.
struct PrivateFolder {
  PrivateFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmora-fuzz-XXXXXX").string();
    Require(::mkdtemp(pattern.data()) != nullptr);
    path = pattern;
  }
  ~PrivateFolder() { std::filesystem::remove_all(path); }
  std::string path;
};

const std::string& Folder() {
  static const PrivateFolder folder;
  return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte chooses the field to edit and where; the rest is the file.
  if (size == 0) return 0;
  const unsigned choice = data[0];
  const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string path = Folder() + "/record2";
  const std::string copy = Folder() + "/record21";
  velmora::WriteFileAtomically(path, file, false);

  velmora::RecordTable table;
  table.SetSchema(velmora::LineSchema(velmora::Side::Customers));
  table.SetFileName(path);
  table.Open();
  const int count = table.RecordCount();
  Require(table.RecordSize() == static_cast<int>(velmora::kRecordLength));
  int walked = 0;
  for (table.MoveFirst(); walked < count; table.SetPosition(table.Position() + 1)) {
    Require(table.Position() == walked + 1);
    for (int f = 0; f < table.FieldCount(); ++f) {
      const std::string text = table.FieldText(table.Field(f).name);
      Require(text.size() <= static_cast<size_t>(table.Field(f).width));
    }
    ++walked;
  }
  Require(walked == count);

  const auto& field = velmora::kLineLayout[choice % velmora::kLineFieldCount];
  const std::string value(file.substr(0, field.span.width + 2));
  if (count > 0) {
    table.SetPosition(1 + static_cast<int>(choice) % count);
    table.BeginEdit();
  } else {
    table.BeginAppend();
  }
  table.SetFieldText(field.customerName, value);
  table.PostRecord();
  const int after = table.RecordCount();
  Require(after == (count > 0 ? count : 1));
  const std::string stored = table.FieldText(field.customerName);
  table.SaveAs(copy);
  table.Close();

  velmora::RecordTable again;
  again.SetSchema(velmora::LineSchema(velmora::Side::Customers));
  again.SetFileName(copy);
  again.SetTrimSpace(true);
  again.Open();
  // A line may be split anew where the file held a CR or LF inside a field value.
  if (value.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos) {
    Require(again.RecordCount() == after);
  }
  again.Close();
  return 0;
}
