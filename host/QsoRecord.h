#pragma once

// The host's side of the two records, byte by byte, as a logging program
// builds them. It deliberately shares no code with the plug-in's own record
// types, so that a drift in either shows up in the tests.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zeltra::host {

inline constexpr std::size_t kQsoDataSize = 5916;
inline constexpr std::size_t kPluginInfoSize = 520;
inline constexpr std::size_t kShortStringSize = 256;

// Offsets of the TQSOData fields the plug-in reads.
enum class QsoField : std::size_t {
  TableName = 12,
  CallSign = 268,
  Band = 540,
  Mode = 796,
  Continent = 1052,
  ReportReceived = 1308,
  MainPrefix = 2332,
  DXCCPrefix = 2588,
  TitleSuffix = 3868,
  MyContinent = 4124,
  MyDXCCPrefix = 4636,
};

inline constexpr std::size_t kConnectionOffset = 0;
inline constexpr std::size_t kInfoNameOffset = 0;
inline constexpr std::size_t kInfoNumber1Offset = 256;
inline constexpr std::size_t kInfoKindOffset = 260;
inline constexpr std::size_t kInfoNumber2Offset = 516;

// A short string read from raw bytes: length byte, then the characters.
inline std::string ReadShortString(const unsigned char* at) {
  return std::string(reinterpret_cast<const char*>(at + 1), at[0]);
}

// A TQSOData as raw bytes.
class QsoRecord {
 public:
  QsoRecord() { bytes_.fill(0); }

  QsoRecord& Set(QsoField field, std::string_view text) {
    unsigned char* at = bytes_.data() + static_cast<std::size_t>(field);
    const std::size_t length = text.size() < kShortStringSize ? text.size() : kShortStringSize - 1;
    at[0] = static_cast<unsigned char>(length);
    std::memcpy(at + 1, text.data(), length);
    return *this;
  }

  QsoRecord& SetConnection(std::uint32_t handle) {
    std::memcpy(bytes_.data() + kConnectionOffset, &handle, sizeof handle);
    return *this;
  }

  std::string Get(QsoField field) const {
    return ReadShortString(bytes_.data() + static_cast<std::size_t>(field));
  }

  const unsigned char* data() const { return bytes_.data(); }
  unsigned char* data() { return bytes_.data(); }
  std::array<unsigned char, kQsoDataSize>& bytes() { return bytes_; }
  const std::array<unsigned char, kQsoDataSize>& bytes() const { return bytes_; }

 private:
  std::array<unsigned char, kQsoDataSize> bytes_;
};

}  // namespace zeltra::host
