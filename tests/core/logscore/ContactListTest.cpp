#include "core/logscore/ContactList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeltra {
namespace {

std::vector<std::string> CallsInReplayOrder(const std::vector<std::string>& calls) {
  ContactList contacts;
  for (std::size_t i = 0; i < calls.size(); ++i)
    contacts.Add(i + 1, Contact{calls[i], "14", "RTTY", "EU", "SP", std::to_string(i)});
  std::vector<std::string> order;
  for (const std::uint32_t index : contacts.ByCallSign().Indexes())
    order.push_back(std::string(contacts.CallSignAt(index)) + "#" +
                    contacts.At(index).reportReceived);
  return order;
}

TEST(ContactList, ReplayOrderIsByCallByteForByteThenLogOrder) {
  EXPECT_EQ(CallsInReplayOrder({"SP9ABC", "DL1ABC", "SP9ABC", "SP9AB", "sp9abc", "SP9ABC"}),
            (std::vector<std::string>{"DL1ABC#1", "SP9AB#3", "SP9ABC#0", "SP9ABC#2", "SP9ABC#5",
                                      "sp9abc#4"}));
  // Calls alike in their first eight bytes; a call with a NUL byte after
  // a shorter one; bytes above 127 after the letters.
  EXPECT_EQ(CallsInReplayOrder({"SP9ABCDEFX", "SP9ABCDEF", "SP9ABCDEFA", std::string("AB\0", 3),
                                "AB", "SP\xC5", "SP9ABCDEFA"}),
            (std::vector<std::string>{"AB#4", std::string("AB\0#3", 5), "SP9ABCDEF#1",
                                      "SP9ABCDEFA#2", "SP9ABCDEFA#6", "SP9ABCDEFX#0", "SP\xC5#5"}));
  // An empty call first, a first byte above 127 last, whatever their order
  // in the log.
  EXPECT_EQ(CallsInReplayOrder({"\xFF", "K1AB", "", std::string("\0", 1),
                                "\xC5"
                                "A",
                                "", "0A"}),
            (std::vector<std::string>{"#2", "#5", std::string("\0#3", 3), "0A#6", "K1AB#1",
                                      "\xC5"
                                      "A#4",
                                      "\xFF#0"}));
  // Many duplicates of one call keep their log order.
  std::vector<std::string> many(50, "W1AW");
  const auto order = CallsInReplayOrder(many);
  for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], "W1AW#" + std::to_string(i));
}

TEST(ContactList, KeepsEachTextWholeUpToWhatTheRecordHolds) {
  // The plug-in's record holds 255 bytes a text: so much is kept, and no more.
  ContactList contacts;
  const std::string longest(255, 'a');
  const std::string longer(300, 'b');
  contacts.Add(7, Contact{longest, "14", "RTTY", "EU", "SP", longer});
  contacts.Add(8, Contact{"", "", "", "", "", ""});
  contacts.Add(9, Contact{"W1AW", "21", std::string(1, '\0'), "NA", "K", "599"});
  const Contact first = contacts.At(0);
  EXPECT_EQ(first.callSign, longest);
  EXPECT_EQ(first.reportReceived, longer.substr(0, 255));
  EXPECT_EQ(first.band, "14");
  EXPECT_EQ(contacts.At(1).callSign, "");
  EXPECT_EQ(contacts.At(2).mode, std::string(1, '\0'));
  EXPECT_EQ(contacts.At(2).reportReceived, "599");
  EXPECT_EQ(contacts.PositionAt(2), 9u);
  EXPECT_EQ(contacts.CallSignAt(0), longest);
}

TEST(ContactList, ManyContactsAndTwoListsJoinedKeepEveryText) {
  // Enough of the longest contacts to fill several of the largest blocks,
  // in two lists joined: each contact whole, in order, renumbered.
  const auto contactNumber = [](std::size_t i) {
    const std::string number = std::to_string(i);
    return Contact{number + std::string(255 - number.size(), 'c'),
                   "14",
                   "RTTY",
                   "EU",
                   std::string(i % 256, 'p'),
                   std::string(255, 'r')};
  };
  constexpr std::size_t kEach = 3000;  // each about 800 bytes: over two megabytes a list
  ContactList first;
  ContactList second;
  for (std::size_t i = 0; i < kEach; ++i) first.Add(i + 1, contactNumber(i));
  for (std::size_t i = kEach; i < 2 * kEach; ++i) second.Add(i + 1 - kEach, contactNumber(i));
  first.Join(std::move(second), kEach);
  ASSERT_EQ(first.size(), 2 * kEach);
  for (std::size_t i = 0; i < first.size(); ++i) {
    const Contact want = contactNumber(i);
    const Contact got = first.At(i);
    ASSERT_EQ(got.callSign, want.callSign) << i;
    ASSERT_EQ(got.dxccPrefix, want.dxccPrefix) << i;
    ASSERT_EQ(got.reportReceived, want.reportReceived) << i;
    ASSERT_EQ(first.PositionAt(i), i + 1) << i;
  }
  // A list joined, its room given back, goes on taking contacts after
  // what it took in.
  first.ShrinkToFit();
  first.Add(9999, contactNumber(7));
  EXPECT_EQ(first.At(2 * kEach).callSign, contactNumber(7).callSign);
  ContactList empty;
  empty.Join(std::move(first), 0);
  EXPECT_EQ(empty.size(), 2 * kEach + 1);
  EXPECT_EQ(empty.At(kEach).callSign, contactNumber(kEach).callSign);
}

}  // namespace
}  // namespace zeltra
