#include "core/session/ContestSession.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/session/HostContact.h"
#include "odbc/OdbcLogQuery.h"
#include "support/Contacts.h"

namespace zeltra {
namespace {

using testing::ContactFields;

class ContestSessionTest : public ::testing::Test {
 protected:
  std::int32_t Add(const ContactFields& fields) {
    return session.AddQSO(fields.contact(), fields.own());
  }

  std::vector<int> bandsShown;
  // These cases never reach the log, so the query has no connection.
  ContestSession session{
      PrefillList::FromText("SP9ABC=K\nW1AW=" + std::string(300, 'w')),
      std::make_unique<OdbcLogQuery>(nullptr),
      {},
      {.pumpMessages = {}, .summaryChanged = {}, .bandToShow = [this](const Band& band) {
         bandsShown.push_back(band.number);
       }}};
};

TEST_F(ContestSessionTest, PreviewThenRecordGivesTheSamePointsAndCountsOnce) {
  const ContactFields w1aw{.callSign = "W1AW", .continent = "NA", .dxccPrefix = "K"};
  EXPECT_EQ(session.GetScore(w1aw.contact(), w1aw.own()), 10);
  EXPECT_EQ(session.summary().scoreLine, "");
  EXPECT_EQ(Add(w1aw), 10);
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
  EXPECT_EQ(session.GrabNumber("sp9abc"), "K");
  EXPECT_EQ(session.GrabNumber("SP1XYZ"), "");
  EXPECT_EQ(session.GrabNumber("W1AW").size(), 300u);  // the entry point cuts it to 255
}

// Each recorded contact on one of the contest's bands moves the voivodeship
// window to it; a preview, a duplicate or another band does not.
TEST_F(ContestSessionTest, RecordedContactsRaiseTheirBand) {
  Add({.callSign = "A1", .band = "21"});
  Add({.callSign = "A2", .band = " 14"});
  Add({.callSign = "A3", .band = "50"});
  Add({.callSign = "A4", .band = "   "});
  Add({.callSign = "A1", .band = "21"});  // a duplicate
  const ContactFields preview{.callSign = "A5", .band = "28"};
  session.GetScore(preview.contact(), preview.own());
  Add({.callSign = "A6", .band = "1.8"});
  EXPECT_EQ(bandsShown, (std::vector<int>{7, 5, 1}));
}

TEST_F(ContestSessionTest, TheHostsRecordAsValues) {
  TQSOData record{};
  record.CallSign.assign("SP9ABC");
  record.Band.assign(" 14");
  record.Mode.assign("RTTY");
  record.Continent.assign("eu");
  record.DXCCPrefix.assign("SP");
  record.ReportReceived.assign("599 K");
  record.MyContinent.assign("EU");
  record.MyDXCCPrefix.assign("DL");
  record.MainPrefix.assign("SN");
  const Contact contact = ContactOf(record);
  EXPECT_EQ(contact.callSign, "SP9ABC");
  EXPECT_EQ(contact.band, " 14");
  EXPECT_EQ(contact.mode, "RTTY");
  EXPECT_EQ(contact.continent, "eu");
  EXPECT_EQ(contact.dxccPrefix, "SP");
  EXPECT_EQ(contact.reportReceived, "599 K");
  EXPECT_EQ(OwnStationOf(record).continent, "EU");
  EXPECT_EQ(OwnStationOf(record).dxccPrefix, "DL");
}

TEST_F(ContestSessionTest, AnyRecordBytesGiveADefinedResult) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> shortLength(0, 4);
  TQSOData record{};
  for (int round = 0; round < 3000; ++round) {
    auto* raw = reinterpret_cast<unsigned char*>(&record);
    for (std::size_t i = 0; i < sizeof record; ++i)
      raw[i] = static_cast<unsigned char>(byte(random));
    // Most rounds get short texts from a tiny alphabet, so that duplicates
    // and shared multipliers really occur among the random records.
    if (round % 4 != 0) {
      for (ShortString* field : {&record.CallSign, &record.Band, &record.Mode}) {
        field->bytes[0] = static_cast<unsigned char>(shortLength(random));
        for (int i = 1; i <= field->bytes[0]; ++i)
          field->bytes[i] = static_cast<unsigned char>("aA\0|"[byte(random) % 4]);
      }
    }
    const Contact contact = ContactOf(record);
    const OwnStation own = OwnStationOf(record);
    const std::int32_t preview = session.GetScore(contact, own);
    const std::int32_t recorded = session.AddQSO(contact, own);
    EXPECT_TRUE(preview == kDuplicate || preview == 2 || preview == 5 || preview == 10);
    EXPECT_EQ(recorded, preview);
    EXPECT_EQ(session.AddQSO(contact, own), kDuplicate);
  }
  std::int64_t qsos = 0;
  for (const BandStatistic& statistic : session.scorer().statistics().items())
    qsos += statistic.qsos;
  EXPECT_EQ(static_cast<std::size_t>(qsos), session.scorer().contacts().size());
}

}  // namespace
}  // namespace zeltra
