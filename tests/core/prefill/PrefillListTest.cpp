#include "core/prefill/PrefillList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace zeltra {
namespace {

using namespace std::string_literals;

TEST(PrefillList, LookupRules) {
  struct Case {
    const char* name;
    std::string text;
    std::string call;
    std::string exchange;
  };
  const std::string longExchange(300, 'x');
  const Case cases[] = {
      {"plain", "SP9ABC=K\nSP5ZZZ=M\n", "SP5ZZZ", "M"},
      {"first line wins", "SP9ABC=K\nSP9ABC=M\n", "SP9ABC", "K"},
      {"letter case ignored", "sp9abc=K\n", "Sp9AbC", "K"},
      {"everything after the first =", "SP9ABC=K=2\n", "SP9ABC", "K=2"},
      {"empty exchange", "SP9ABC=\nSP9ABC=K\n", "SP9ABC", ""},
      {"unknown call", "SP9ABC=K\n", "SP9ABD", ""},
      {"lines without = ignored", "SP9ABC\nSP9ABC=K\n", "SP9ABC", "K"},
      {"empty call matches a line starting with =", "X=1\n=Q\n=R\n", "", "Q"},
      {"CR line ends", "A=1\rB=2\rC=3", "B", "2"},
      {"CR LF line ends", "A=1\r\nB=2\r\n", "B", "2"},
      {"mixed line ends", "A=1\r\nB=2\nC=3\rD=4\n\rE=5", "E", "5"},
      {"no final line end", "A=1\nB=2", "B", "2"},
      {"blanks around the call are no part of it", " SP9ABC\t= 599 K\n", "SP9ABC", " 599 K"},
      {"and around the call asked for", "SP9ABC=K\n", " SP9ABC ", "K"},
      {"blanks inside a call are", "SP9 ABC=K\n", "SP9ABC", ""},
      {"Notepad's \"Unicode\": UTF-16 with its mark",
       "\xFF\xFES\0P\0"
       "9\0A\0B\0C\0=\0K\0\r\0\n\0X\0=\0\x42\x01\r\0\n\0"s,
       "X", "\xC5\x82"},
      {"UTF-16 big-endian", "\xFE\xFF\0S\0P\0=\0K"s, "sp", "K"},
      {"NUL inside a line", "A\0B=1\nA=2\n"s, "A\0B"s, "1"},
      {"NUL inside an exchange", "A=1\0002\n"s, "A", "1\0002"s},
      {"long line kept whole", "A=" + longExchange + "\n", "A", longExchange},
      {"empty text", "", "A", ""},
      {"UTF-8 byte-order mark skipped", "\xEF\xBB\xBFSP9ABC=K\n", "SP9ABC", "K"},
      {"only a leading mark skipped",
       "A=1\n\xEF\xBB\xBF"
       "B=2\n",
       "B", ""},
      {"a mark alone", "\xEF\xBB\xBF", "", ""},
      {"part of a mark is text", "\xEF\xBBX=1\n", "\xEF\xBBX", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PrefillList::FromText(c.text).LookupExchange(c.call), c.exchange);
  }
}

// Each text ends exactly where its buffer does, with nothing behind it that
// could stop a read past the end.
TEST(PrefillList, NeverReadsPastTheText) {
  const std::string texts[] = {"A=1\r", "A=1\r\n", "\r", "A=1", "\xEF\xBB", "B=\r\r"};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    const auto buffer = std::make_unique<char[]>(text.size());
    std::copy(text.begin(), text.end(), buffer.get());
    const PrefillList list = PrefillList::FromText(std::string_view(buffer.get(), text.size()));
    EXPECT_EQ(list.LookupExchange(text[0] == 'A' ? "A" : "B"), text[0] == 'A' ? "1" : "");
  }
}

class PrefillFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        std::filesystem::temp_directory_path() /
        ("zeltra-prefill-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path Write(const std::string& text) {
    const auto path = folder / "Zeltra.txt";
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  std::filesystem::path folder;
};

TEST_F(PrefillFileTest, MissingFileOrFolderGivesAnEmptyList) {
  EXPECT_EQ(PrefillList::FromFile(folder / "Zeltra.txt").size(), 0u);
  std::filesystem::create_directory(folder / "Zeltra.txt");
  EXPECT_EQ(PrefillList::FromFile(folder / "Zeltra.txt").LookupExchange(""), "");
}

TEST_F(PrefillFileTest, ReadsTheFileAsBytes) {
  const auto path = Write("SP9ABC=K\r\nSP5ZZZ=\xd3\r\nX\0Y=1"s);
  const PrefillList list = PrefillList::FromFile(path);
  EXPECT_EQ(list.LookupExchange("SP5ZZZ"), "\xd3");
  EXPECT_EQ(list.LookupExchange("X\0Y"s), "1");
  EXPECT_EQ(PrefillList::FromFile(Write("")).size(), 0u);
}

TEST_F(PrefillFileTest, ReadsAFileOfSeveralMegabytes) {
  std::string text;
  for (int i = 0; i < 200000; ++i)
    text += "SP" + std::to_string(i) + "=" + std::to_string(i % 7) + "\n";
  text += "LONG=" + std::string(5'000'000, 'L') + "\n";
  const PrefillList list = PrefillList::FromFile(Write(text));
  EXPECT_EQ(list.size(), 200001u);
  EXPECT_EQ(list.LookupExchange("sp199999"), "2");  // 199999 % 7
  EXPECT_EQ(list.LookupExchange("LONG").size(), 5'000'000u);
}

}  // namespace
}  // namespace zeltra
