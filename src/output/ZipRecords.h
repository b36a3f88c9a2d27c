#pragma once

#include <cstddef>
#include <cstdint>

namespace velmora {

// The fixed parts of a ZIP archive's records, as the writer of the ZIP copy and
// the check of a workbook's archive both know them: each record's signature and
// its size before the names and extras that follow it.
inline constexpr std::uint32_t kZipLocalHeaderSignature = 0x04034B50;
inline constexpr std::uint32_t kZipCentralRecordSignature = 0x02014B50;
inline constexpr std::uint32_t kZipEndRecordSignature = 0x06054B50;
inline constexpr std::size_t kZipLocalHeaderSize = 30;
inline constexpr std::size_t kZipCentralRecordSize = 46;
inline constexpr std::size_t kZipEndRecordSize = 22;

}  // namespace velmora
