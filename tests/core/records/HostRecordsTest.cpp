#include "core/records/HostRecords.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "QsoRecord.h"

namespace zeltra {
namespace {

using namespace std::string_literals;

constexpr unsigned char kPattern = 0xA5;

TEST(PluginInfo, WritesOnlyTheIntegersAndTheTexts) {
  std::array<unsigned char, sizeof(TPluginInfo)> buffer;
  buffer.fill(kPattern);
  DescribePlugin(buffer.data());

  EXPECT_EQ(host::ReadShortString(buffer.data() + host::kInfoNameOffset), "Zeltra RTTY Contest");
  EXPECT_EQ(host::ReadShortString(buffer.data() + host::kInfoKindOffset), "kavrel_contest");
  const std::array<unsigned char, 4> one = {1, 0, 0, 0};
  EXPECT_EQ(std::memcmp(buffer.data() + host::kInfoNumber1Offset, one.data(), 4), 0);
  EXPECT_EQ(std::memcmp(buffer.data() + host::kInfoNumber2Offset, one.data(), 4), 0);
  for (std::size_t i = 20; i <= 255; ++i) EXPECT_EQ(buffer[i], kPattern) << i;
  for (std::size_t i = 275; i <= 515; ++i) EXPECT_EQ(buffer[i], kPattern) << i;
}

// The host-side record builder names offsets on its own; both views must
// agree on every field.
TEST(QsoData, HostAndPluginAgreeOnEveryField) {
  struct Field {
    host::QsoField hostField;
    ShortString TQSOData::*pluginField;
  };
  const Field fields[] = {
      {host::QsoField::TableName, &TQSOData::TableName},
      {host::QsoField::CallSign, &TQSOData::CallSign},
      {host::QsoField::Band, &TQSOData::Band},
      {host::QsoField::Mode, &TQSOData::Mode},
      {host::QsoField::Continent, &TQSOData::Continent},
      {host::QsoField::ReportReceived, &TQSOData::ReportReceived},
      {host::QsoField::MainPrefix, &TQSOData::MainPrefix},
      {host::QsoField::DXCCPrefix, &TQSOData::DXCCPrefix},
      {host::QsoField::TitleSuffix, &TQSOData::TitleSuffix},
      {host::QsoField::MyContinent, &TQSOData::MyContinent},
      {host::QsoField::MyDXCCPrefix, &TQSOData::MyDXCCPrefix},
  };
  static_assert(sizeof(TQSOData) == host::kQsoDataSize);
  int n = 0;
  for (const Field& field : fields) {
    host::QsoRecord record;
    const std::string text = "field " + std::to_string(++n);
    record.Set(field.hostField, text);
    TQSOData data;
    std::memcpy(&data, record.data(), sizeof data);
    EXPECT_EQ((data.*field.pluginField).str(), text);
  }
  host::QsoRecord record;
  record.SetConnection(0x12345678);
  TQSOData data;
  std::memcpy(&data, record.data(), sizeof data);
  EXPECT_EQ(data.Connection, 0x12345678u);
}

TEST(ShortString, HoldsAnyByteAndCutsAt255) {
  ShortString field;
  std::memset(field.bytes, kPattern, sizeof field.bytes);

  field.assign("a\0b"s);
  EXPECT_EQ(field.str(), "a\0b"s);
  EXPECT_EQ(field.bytes[4], kPattern);  // bytes after the text are kept

  const std::string longText(300, 'x');
  field.assign(longText);
  EXPECT_EQ(field.bytes[0], 255);
  EXPECT_EQ(field.str(), longText.substr(0, 255));

  field.assign("");
  EXPECT_EQ(field.str(), "");
  EXPECT_EQ(field.bytes[1], 'x');
}

}  // namespace
}  // namespace zeltra
