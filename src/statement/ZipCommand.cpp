#include "ZipCommand.h"

#include <filesystem>
#include <system_error>

#include "Cp1253.h"

namespace velmora {

ZipOutcome MakeZipCopy(Questions& questions, const ZipClock& clock) {
  const auto source = questions.ChooseOpenFile(FileKind::Statement, "");
  if (!source) return {};
  // A name the Greek code page cannot spell is not proposed; the user types one.
  const Cp1253Text proposed(Utf8ToCp1253(ZipEntryName(*source)).value_or(std::string()));
  // The filter alone: a dialog that added ".zip" itself would give "A.zip.zip".
  // Beside the file it packs, where the user will look for it.
  const auto chosen = questions.ChooseSaveFile(
      FileKind::ZipCopy, proposed, "*.zip", std::filesystem::path(*source).parent_path().string());
  if (!chosen) return {};
  const std::string archive = ZipArchivePath(*chosen);
  std::error_code error;
  if (std::filesystem::exists(archive, error) &&
      questions.AskYesNo(ZipReplaceQuestion(*chosen)) == Questions::Answer::No)
    return {};
  if (const auto failure = WriteZipCopy(*source, archive, clock())) {
    questions.Report(*failure);
    return {};
  }
  return {archive};
}

}  // namespace velmora
