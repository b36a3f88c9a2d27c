// The form kept against a crash, read from any bytes: what it gives is written
// and read back to the same form.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FormFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto form = velmora::ParseFormFile(text);
  if (form && velmora::ParseFormFile(velmora::ComposeFormFile(*form)) != form) std::abort();
  return 0;
}
