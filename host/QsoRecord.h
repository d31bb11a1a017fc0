#pragma once

// The host's side of the two records, byte by byte, as a logging program
// builds them, at the offsets of the host authors' header. It shares no
// code with the plug-in's own record types, so that a drift in either shows
// up in the tests.

#include "zeltra_plugin.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zeltra::host {

inline constexpr std::size_t kQsoDataSize = sizeof(::TQSOData);
inline constexpr std::size_t kPluginInfoSize = sizeof(::TPluginInfo);
inline constexpr std::size_t kShortStringSize = sizeof(ZeltraShortString);

// Offsets of the TQSOData fields the plug-in reads.
enum class QsoField : std::size_t {
  TableName = offsetof(::TQSOData, TableName),
  CallSign = offsetof(::TQSOData, CallSign),
  Band = offsetof(::TQSOData, Band),
  Mode = offsetof(::TQSOData, Mode),
  Continent = offsetof(::TQSOData, Continent),
  ReportReceived = offsetof(::TQSOData, ReportReceived),
  MainPrefix = offsetof(::TQSOData, MainPrefix),
  DXCCPrefix = offsetof(::TQSOData, DXCCPrefix),
  TitleSuffix = offsetof(::TQSOData, TitleSuffix),
  MyContinent = offsetof(::TQSOData, MyContinent),
  MyDXCCPrefix = offsetof(::TQSOData, MyDXCCPrefix),
};

inline constexpr std::size_t kConnectionOffset = offsetof(::TQSOData, Connection);
inline constexpr std::size_t kInfoNameOffset = offsetof(::TPluginInfo, Name);
inline constexpr std::size_t kInfoNumber1Offset = offsetof(::TPluginInfo, Number1);
inline constexpr std::size_t kInfoKindOffset = offsetof(::TPluginInfo, Kind);
inline constexpr std::size_t kInfoNumber2Offset = offsetof(::TPluginInfo, Number2);

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

  // The record as the plug-in's functions take it.
  const ::TQSOData* data() const { return reinterpret_cast<const ::TQSOData*>(bytes_.data()); }
  std::array<unsigned char, kQsoDataSize>& bytes() { return bytes_; }
  const std::array<unsigned char, kQsoDataSize>& bytes() const { return bytes_; }

 private:
  std::array<unsigned char, kQsoDataSize> bytes_;
};

}  // namespace zeltra::host
