// Feeds arbitrary bytes to the spreadsheet readers as a file of every kind the
// import offers, and as the report of the child that reads .xls files, then
// turns whatever sheet comes out into working lines. Any input must end in a
// sheet or a failure: never a crash, a leak or a hang.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include "SheetImport.h"
#include "SpreadsheetReader.h"
#include "SheetReport.h"

namespace {

// One temporary file per extension, made once for the whole run.
class TemporaryFile {
 public:
  explicit TemporaryFile(const char* extension) {
    path_ = "/tmp/velmora-fuzz-XXXXXX";
    path_ += extension;
    const int fd = mkstemps(path_.data(), static_cast<int>(std::string(extension).size()));
    if (fd < 0) abort();
    close(fd);
  }
  ~TemporaryFile() { unlink(path_.c_str()); }

  const std::string& Write(const uint8_t* data, size_t size) const {
    FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file) abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) abort();
    std::fclose(file);
    return path_;
  }

 private:
  std::string path_;
};

void Import(const velmora::SheetReadResult& read) {
  if (const auto* failure = std::get_if<velmora::SheetReadFailure>(&read)) {
    (void)velmora::SheetReadFailureMessage(*failure);
    return;
  }
  const auto& sheet = std::get<velmora::Sheet>(read);
  for (const velmora::Side side : {velmora::Side::Customers, velmora::Side::Suppliers})
    (void)velmora::SheetToLines(sheet, side, "094019245");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TemporaryFile files[] = {TemporaryFile(".xlsx"), TemporaryFile(".ods"),
                                        TemporaryFile(".csv")};
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // .xls workbooks are read by FreeXL in a helper process, whose faults cost a
  // refusal; what this process reads of them is the helper's report, which comes
  // in pieces cut anywhere.
  const velmora::SheetReadResult whole = velmora::DecodeSheetResult(bytes);
  Import(whole);
  velmora::SheetReportReader pieces;
  const std::size_t cut = size == 0 ? 0 : data[0] % size;
  if (pieces.Feed(bytes.substr(0, cut))) pieces.Feed(bytes.substr(cut));
  if (velmora::EncodeSheetResult(std::move(pieces).Finish()) != velmora::EncodeSheetResult(whole))
    __builtin_trap();
  if (bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return 0;
  for (const TemporaryFile& file : files) Import(velmora::ReadFirstSheet(file.Write(data, size)));
  return 0;
}
