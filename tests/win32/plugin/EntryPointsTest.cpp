#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>

#include "win32/support/TestHost.h"
#include "win32/ui/StatisticsWindowIds.h"

namespace zeltra::testing {
namespace {

using host::QsoField;
using host::QsoRecord;

constexpr unsigned char kPattern = 0x5A;

std::string Grab(host::PluginModule& plugin, const QsoRecord& record) {
  std::array<unsigned char, host::kShortStringSize> answer;
  answer.fill(kPattern);
  plugin.GrabNumber(record.data(), answer.data());
  return host::ReadShortString(answer.data());
}

TEST_F(PluginTest, GetInfoWritesNameKindAndIntegersOnly) {
  std::array<unsigned char, host::kPluginInfoSize> info;
  info.fill(kPattern);
  plugin->GetInfo(reinterpret_cast<TPluginInfo*>(info.data()));
  EXPECT_EQ(host::ReadShortString(info.data() + host::kInfoNameOffset), "Zeltra RTTY Contest");
  EXPECT_EQ(host::ReadShortString(info.data() + host::kInfoKindOffset), "kavrel_contest");
  std::int32_t number1 = 0;
  std::int32_t number2 = 0;
  std::memcpy(&number1, info.data() + host::kInfoNumber1Offset, 4);
  std::memcpy(&number2, info.data() + host::kInfoNumber2Offset, 4);
  EXPECT_EQ(number1, 1);
  EXPECT_EQ(number2, 1);
  for (std::size_t i = 20; i <= 255; ++i) ASSERT_EQ(info[i], kPattern) << i;
  for (std::size_t i = 275; i <= 515; ++i) ASSERT_EQ(info[i], kPattern) << i;
}

TEST_F(PluginTest, WithoutAWindowEveryEntryPointAnswersAsNothingExists) {
  WritePrefillFile("SP9ABC=K\n");
  const QsoRecord contact = Contact("SP9ABC", "14", "EU", "SP", "599K");
  for (int phase = 0; phase < 3; ++phase) {
    SCOPED_TRACE(phase == 0 ? "before _Run" : phase == 1 ? "after _Release" : "after 2nd _Release");
    EXPECT_EQ(plugin->GetScore(contact.data()), 0);
    EXPECT_EQ(plugin->AddQSO(contact.data()), 0);
    EXPECT_EQ(Grab(*plugin, contact), "");
    if (phase == 0) {
      HWND window = Run(Station());
      ASSERT_TRUE(IsWindow(window));
      EXPECT_EQ(plugin->AddQSO(contact.data()), 2);
    }
    plugin->Release();
    host::PumpMessages();
  }
}

TEST_F(PluginTest, RunCreatesTheTopmostStatisticsWindowOnce) {
  HWND window = Run(Station("SP9XYZ"));
  ASSERT_TRUE(IsWindow(window));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(WindowText(window), "Zeltra RTTY Contest in SP9XYZ");
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  EXPECT_STREQ(className, win32::kStatisticsWindowClass);
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

  // A second _Run shows the same window and takes nothing from its record.
  EXPECT_EQ(Run(Station("OTHER")), window);
  EXPECT_EQ(WindowText(window), "Zeltra RTTY Contest in SP9XYZ");
}

TEST_F(PluginTest, EmptyTitleSuffixLeavesATrailingBlank) {
  HWND window = Run(Station(""));
  EXPECT_EQ(WindowText(window), "Zeltra RTTY Contest in ");
}

TEST_F(PluginTest, ContactsAreScoredAndSummed) {
  HWND window = Run(Station());
  struct Step {
    QsoRecord contact;
    std::int32_t score;
    std::int32_t added;
  };
  const Step steps[] = {
      {Contact("SP9ABC", "14", "EU", "SP", "599K"), 2, 2},
      {Contact("DL1AAA", "14", "EU", "DL", "599 001"), 5, 5},
      {Contact("W1AW", "14", "NA", "K", "599"), 10, 10},
      {Contact("SP9ABC", "14", "EU", "SP", "599K"), -1, -1},
      {Contact("SP9ABC", "14", "EU", "SP", "599K", "CW"), 2, 2},
      {Contact("sp9abc", "14", "EU", "SP", "599K"), 2, 2},
      {Contact("JA1XYZ", "21", "AS", "JA", "599 m"), 10, 10},
      {Contact("VK2AB", "10", "OC", "VK", "599"), 10, 10},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.contact.Get(QsoField::CallSign));
    EXPECT_EQ(plugin->GetScore(step.contact.data()), step.score);
    EXPECT_EQ(plugin->AddQSO(step.contact.data()), step.added);
  }
  // Points 2+5+10+2+2+10+10 = 41; voivodeships 14|K| and 21|M|; DXCC 14: SP DL K,
  // 21: JA, 10: VK; continents EU NA AS OC.
  EXPECT_EQ(ScoreLine(window), "Score: 41*(2+5+4)=451");
}

TEST_F(PluginTest, HostRecordsAreNeverWritten) {
  WritePrefillFile("SP9ABC=K\n");
  QsoRecord record = Contact("SP9ABC", "14", "EU", "SP", "599K");
  const auto before = record.bytes();
  Run(record);
  plugin->GetScore(record.data());
  plugin->AddQSO(record.data());
  Grab(*plugin, record);
  EXPECT_EQ(record.bytes(), before);
}

TEST_F(PluginTest, GrabNumberAnswersFromThePrefillFileCutTo255) {
  WritePrefillFile("SP9ABC=K\r\nsp5zzz=M\rLONG=" + std::string(400, 'x') + "\nSP9ABC=B");
  Run(Station());
  EXPECT_EQ(Grab(*plugin, Contact("SP9ABC", "14", "EU", "SP", "")), "K");
  EXPECT_EQ(Grab(*plugin, Contact("SP5ZZZ", "14", "EU", "SP", "")), "M");
  EXPECT_EQ(Grab(*plugin, Contact("LONG", "14", "EU", "SP", "")), std::string(255, 'x'));
  EXPECT_EQ(Grab(*plugin, Contact("NOBODY", "14", "EU", "SP", "")), "");
}

TEST_F(PluginTest, OddPrefillFilesLeaveTheListEmptyOrUsable) {
  struct Case {
    const char* name;
    void (*prepare)();
    const char* call;
    std::string exchange;
  };
  const Case cases[] = {
      {"no file", [] {}, "SP9ABC", ""},
      {"a folder of that name",
       [] { std::filesystem::create_directories(PluginsFolder() / L"Zeltra.txt"); }, "SP9ABC", ""},
      {"empty file", [] { WritePrefillFile(""); }, "SP9ABC", ""},
      {"NUL bytes", [] { WritePrefillFile(std::string("A\0=1\nSP9ABC=\0K\n", 15)); }, "SP9ABC",
       std::string("\0K", 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(PluginsFolder());
    c.prepare();
    HWND window = Run(Station());
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(Grab(*plugin, Contact(c.call, "14", "EU", "SP", "")), c.exchange);
    plugin->Release();
    host::PumpMessages();
  }
}

TEST_F(PluginTest, ReleaseDestroysTheWindowOnceMessagesArePumped) {
  HWND window = Run(Station());
  plugin->AddQSO(Contact("W1AW", "14", "NA", "K", "599").data());
  plugin->Release();
  plugin->Release();
  EXPECT_TRUE(IsWindow(window));  // destruction is deferred
  host::PumpMessages();
  EXPECT_FALSE(IsWindow(window));

  // A new _Run starts over with a fresh window and empty statistics.
  HWND second = Run(Station());
  ASSERT_TRUE(IsWindow(second));
  EXPECT_EQ(plugin->AddQSO(Contact("W1AW", "14", "NA", "K", "599").data()), 10);
  EXPECT_EQ(ScoreLine(second), "Score: 10*(0+1+1)=20");
}

TEST_F(PluginTest, RandomRecordsGiveDefinedAnswers) {
  WritePrefillFile("A=1\n=2\n");
  Run(Station());
  std::mt19937 random(5916);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 500; ++round) {
    QsoRecord record;
    for (unsigned char& b : record.bytes()) b = static_cast<unsigned char>(byte(random));
    if (round % 2 == 0) record.Set(QsoField::CallSign, round % 4 == 0 ? "A" : "");
    const auto before = record.bytes();
    const std::int32_t score = plugin->GetScore(record.data());
    const std::int32_t added = plugin->AddQSO(record.data());
    std::array<unsigned char, host::kShortStringSize> answer{};
    plugin->GrabNumber(record.data(), answer.data());
    ASSERT_TRUE(score == 2 || score == 5 || score == 10 || score == -1) << score;
    ASSERT_EQ(added, score);
    ASSERT_EQ(plugin->AddQSO(record.data()), -1);
    ASSERT_EQ(record.bytes(), before);
    const char* expected = round % 4 == 0 ? "1" : round % 4 == 2 ? "2" : nullptr;
    if (expected != nullptr) {
      ASSERT_EQ(host::ReadShortString(answer.data()), expected);
    }
  }
  host::PumpMessages();
}

}  // namespace
}  // namespace zeltra::testing
