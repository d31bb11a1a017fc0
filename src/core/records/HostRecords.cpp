#include "core/records/HostRecords.h"

#include <cstring>
#include <string_view>

namespace zeltra {
namespace {

constexpr std::string_view kPluginName = "Zeltra RTTY Contest";
constexpr std::string_view kPluginKind = "kavrel_contest";
constexpr std::int32_t kPluginNumber = 1;

void WriteInt32(unsigned char* at, std::int32_t value) {
  std::memcpy(at, &value, sizeof value);
}

void WriteText(unsigned char* at, std::string_view text) {
  at[0] = static_cast<unsigned char>(text.size());
  std::memcpy(at + 1, text.data(), text.size());
}

}  // namespace

void DescribePlugin(unsigned char* info) {
  WriteInt32(info + offsetof(TPluginInfo, Number1), kPluginNumber);
  WriteText(info + offsetof(TPluginInfo, Name), kPluginName);
  WriteText(info + offsetof(TPluginInfo, Kind), kPluginKind);
  WriteInt32(info + offsetof(TPluginInfo, Number2), kPluginNumber);
}

}  // namespace zeltra
