#include "core/session/ContestSession.h"

#include <gtest/gtest.h>

#include "odbc/OdbcLogQuery.h"
#include "support/Contacts.h"

namespace zeltra {
namespace {

using testing::Contact;

class ContestSessionTest : public ::testing::Test {
 protected:
  std::int32_t Add(const Contact& contact) {
    testing::Load(current, contact);
    return session.AddQSO();
  }

  TQSOData current{};
  // These cases never reach the log, so the query has no connection.
  ContestSession session{current,
                         PrefillList::FromText("SP9ABC=K\nW1AW=" + std::string(300, 'w')),
                         std::make_unique<OdbcLogQuery>(nullptr),
                         {}};
};

TEST_F(ContestSessionTest, PreviewThenRecordGivesTheSamePointsAndCountsOnce) {
  testing::Load(current, {.callSign = "W1AW", .continent = "NA", .dxccPrefix = "K"});
  EXPECT_EQ(session.GetScore(), 10);
  EXPECT_EQ(session.summary().scoreLine, "");
  EXPECT_EQ(session.AddQSO(), 10);
  EXPECT_EQ(session.summary().scoreLine, "Score: 10*(0+1+1)=20");
  EXPECT_EQ(session.summary().table.Cell(1, 4), "1");
}

TEST_F(ContestSessionTest, DuplicateStillRewritesTheSummary) {
  Add({.callSign = "SP9ABC", .dxccPrefix = "SP", .report = "599K"});
  Summary& shown = const_cast<Summary&>(session.summary());
  shown.table.SetCell(1, 7, "stale");
  EXPECT_EQ(Add({.callSign = "SP9ABC", .dxccPrefix = "SP", .report = "599K"}), kDuplicate);
  EXPECT_EQ(session.summary().table.Cell(1, 7), "1");
  EXPECT_EQ(session.summary().scoreLine, "Score: 2*(1+1+1)=6");
}

TEST_F(ContestSessionTest, GrabNumberAnswersFromThePrefillList) {
  current.CallSign.assign("sp9abc");
  EXPECT_EQ(session.GrabNumber(), "K");
  current.CallSign.assign("SP1XYZ");
  EXPECT_EQ(session.GrabNumber(), "");
  current.CallSign.assign("W1AW");
  EXPECT_EQ(session.GrabNumber().size(), 300u);  // the entry point cuts it to 255
}

}  // namespace
}  // namespace zeltra
