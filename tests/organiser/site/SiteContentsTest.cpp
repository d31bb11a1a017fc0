#include "organiser/site/SiteContents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeltra::organiser {
namespace {

// A log of a batch: scored (points times one multiplier) or failed.
CheckedLog Log(const std::string& call, const std::string& categories,
               std::optional<std::int64_t> points, const std::string& continent = "EU",
               const std::string& dxcc = "SP") {
  CheckedLog log;
  log.log.callSign = call;
  log.log.file = call + ".log";
  log.log.categories = categories;
  log.log.own = {continent, dxcc};
  if (points) {
    LogScore score;
    score.points = *points;
    score.dxccs = 1;
    log.log.score = score;
  } else {
    log.log.failure = "not read";
  }
  return log;
}

TEST(SiteContents, ABatchIsRankedByScoreOverallAndInEachCategory) {
  const std::vector<CheckedLog> logs = {
      Log("SP1AAA", "SINGLE-OP", 100),
      Log("SP2BBB", "SINGLE-OP", std::nullopt),
      Log("DL3CCC", "MULTI-ONE", 200, "EU", "DL"),
      Log("W1DDD", "SINGLE-OP", 50, "NA", "K"),
      Log("CON", "MULTI-ONE", 150, "EU", "SP"),
      // The only log of its continent and country, and it failed: it leads
      // neither.
      Log("JA1EEE", "SINGLE-OP", std::nullopt, "AS", "JA"),
  };
  const SiteContents site = SiteContentsOf(logs, {}, nullptr, false);
  struct Expected {
    std::string call;
    std::optional<std::size_t> rank;
    std::optional<std::size_t> categoryRank;
    std::string page;
  };
  const std::vector<Expected> expected = {
      {"DL3CCC", 1, 1, "entrants/DL3CCC.html"},   {"CON", 2, 2, "entrants/CON_.html"},
      {"SP1AAA", 3, 1, "entrants/SP1AAA.html"},   {"W1DDD", 4, 2, "entrants/W1DDD.html"},
      {"SP2BBB", std::nullopt, std::nullopt, ""}, {"JA1EEE", std::nullopt, std::nullopt, ""},
  };
  ASSERT_EQ(site.ranked.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(expected[i].call);
    EXPECT_EQ(site.ranked[i].log->log.callSign, expected[i].call);
    EXPECT_EQ(site.ranked[i].rank, expected[i].rank);
    EXPECT_EQ(site.ranked[i].categoryRank, expected[i].categoryRank);
    EXPECT_EQ(site.ranked[i].page, expected[i].page);
  }
  // Categories in name order, each by its rank; the failed log in none.
  std::vector<std::string> byCategory;
  for (const SiteEntry* entry : site.byCategory) byCategory.push_back(entry->log->log.callSign);
  EXPECT_EQ(byCategory, (std::vector<std::string>{"DL3CCC", "CON", "SP1AAA", "W1DDD"}));

  std::vector<std::string> continents;
  for (const Leader& leader : LeadersByContinent(site))
    continents.push_back(leader.group + " " + leader.entry->log->log.callSign);
  EXPECT_EQ(continents, (std::vector<std::string>{"EU DL3CCC", "NA W1DDD"}));
  std::vector<std::string> countries;
  for (const Leader& leader : LeadersByCountry(site))
    countries.push_back(leader.group + " " + leader.entry->log->log.callSign);
  EXPECT_EQ(countries, (std::vector<std::string>{"DL DL3CCC", "K W1DDD", "SP CON"}));
  EXPECT_EQ(RankingScore(site.ranked[0], false), 200);
  EXPECT_EQ(RankingScore(site.ranked[4], false), std::nullopt);
  // With the check, a log the check did not take part in is not ranked.
  EXPECT_EQ(RankingScore(site.ranked[0], true), std::nullopt);
}

}  // namespace
}  // namespace zeltra::organiser
