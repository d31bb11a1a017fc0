#include "organiser/site/SiteContents.h"

#include <gtest/gtest.h>

#include <sstream>

#include "organiser/site/IndexPage.h"
#include "organiser/site/RankingPage.h"

#include <string>
#include <vector>

namespace zeltra::organiser {
namespace {

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++count;
  return count;
}

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

// A ranking of thousands is whole on pages of its own, a thousand logs a
// page, each page linked to the ones beside it; the home page shows its
// first.
TEST(SiteContents, ALongRankingIsSplitIntoPages) {
  constexpr std::size_t kLogs = 2500;
  std::vector<CheckedLog> logs;
  for (std::size_t i = 0; i < kLogs; ++i)
    logs.push_back(
        Log("SP" + std::to_string(i) + "AA", "SINGLE-OP", static_cast<std::int64_t>(kLogs - i)));
  const SiteContents site = SiteContentsOf(logs, {}, nullptr, false);
  ASSERT_EQ(site.rankings.size(), 2u);  // overall and the one category
  const Ranking& overall = site.rankings.front();
  EXPECT_EQ(overall.entries.size(), kLogs);
  EXPECT_EQ(overall.PageCount(), 3u);
  EXPECT_EQ(overall.PageFile(0), "ALL.html");
  EXPECT_EQ(overall.PageFile(2), "ALL.3.html");
  EXPECT_EQ(site.rankings[1].name, "SINGLE-OP");

  std::ostringstream page;
  WriteRankingPage(page, site, overall, 1);
  const std::string html = page.str();
  EXPECT_EQ(Count(html, "<tr><td class=\"n\">"), kLogsPerPage);
  EXPECT_NE(html.find("<tr><td class=\"n\">1001</td><th scope=\"row\"><a "
                      "href=\"../entrants/SP1000AA.html\">"),
            std::string::npos);
  EXPECT_NE(html.find("Page 2 of 3 · <a href=\"ALL.html\">the page before</a> · <a "
                      "href=\"ALL.3.html\">the page after</a>"),
            std::string::npos);
  std::ostringstream last;
  WriteRankingPage(last, site, overall, 2);
  EXPECT_EQ(Count(last.str(), "<tr><td class=\"n\">"), kLogs - 2 * kLogsPerPage);

  std::ostringstream home;
  WriteIndexPage(home, site);
  EXPECT_EQ(Count(home.str(), "<tr><td class=\"n\">"), 2 * kTopOnHomePage);
  EXPECT_NE(home.str().find("<a href=\"results/ALL.html\">The whole ranking: All logs, by score "
                            "(2500 logs)</a>"),
            std::string::npos);

  // The check flags every log, and finds many clocks off: the home page
  // shows the first hundred of each and counts the rest.
  CheckSummary summary;
  for (const CheckedLog& log : logs) {
    summary.logsToLookAt.push_back({.log = &log,
                                    .concern = Concern::kBandsInOneMinute,
                                    .count = 3,
                                    .of = 0,
                                    .usualPerMille = 0,
                                    .other = nullptr,
                                    .sentSerials = std::nullopt,
                                    .detail = {}});
    if (summary.clocksOff.size() < 150)
      summary.clocksOff.push_back(
          {.call = log.log.callSign, .offset = 12, .pairs = 40, .agreeing = 38});
  }
  SiteContents checkedSite = SiteContentsOf(logs, {}, &summary, true);
  std::ostringstream checkedHome;
  WriteIndexPage(checkedHome, checkedSite);
  EXPECT_EQ(Count(checkedHome.str(), "on two bands within one minute"), 100u);
  EXPECT_EQ(Count(checkedHome.str(), "12 minutes fast"), 100u);
  EXPECT_NE(checkedHome.str().find("And 2400 more logs: the log check's summary lists them all."),
            std::string::npos);
  EXPECT_NE(checkedHome.str().find("And 50 more logs: the log check's summary lists them all."),
            std::string::npos);
}

// An overlay ranks its logs again beside their main category, places of
// its own; each log also has its place in its category within its DXCC
// country and, a Polish station's, within its voivodeship.
TEST(SiteContents, OverlaysAndCountriesRankTheirOwn) {
  std::vector<CheckedLog> logs = {Log("SP1AAA", "SINGLE-OP", 300),
                                  Log("DL2BBB", "SINGLE-OP", 250, "EU", "DL"),
                                  Log("SP3CCC", "SINGLE-OP", 200), Log("SP4DDD", "MULTI-OP", 150),
                                  Log("DL5EEE", "SINGLE-OP", 100, "EU", "DL")};
  logs[0].voivodeship = 'K';
  logs[2].voivodeship = 'K';
  logs[3].voivodeship = 'K';  // in another category
  for (const std::size_t rookie : {1u, 2u, 3u})
    logs[rookie].log.declared.values[static_cast<std::size_t>(CategoryKey::kOverlay)] = "ROOKIE";
  const SiteContents site = SiteContentsOf(logs, {}, nullptr, false);
  std::vector<std::string> rankings;
  for (const Ranking& ranking : site.rankings) {
    std::string text = ranking.title + ":";
    for (std::size_t i = 0; i < ranking.entries.size(); ++i)
      text += " " + std::to_string(ranking.places[i]) + " " + ranking.entries[i]->log->log.callSign;
    rankings.push_back(text);
  }
  EXPECT_EQ(rankings, (std::vector<std::string>{
                          "All logs, by score: 1 SP1AAA 2 DL2BBB 3 SP3CCC 4 SP4DDD 5 DL5EEE",
                          "MULTI-OP: 1 SP4DDD", "SINGLE-OP: 1 SP1AAA 2 DL2BBB 3 SP3CCC 4 DL5EEE",
                          "Overlay: ROOKIE: 1 DL2BBB 2 SP3CCC 3 SP4DDD"}));
  std::vector<std::string> countries;
  for (const SiteEntry& entry : site.ranked)
    countries.push_back(entry.log->log.callSign + " " +
                        std::to_string(entry.countryRank.value_or(0)));
  EXPECT_EQ(countries,
            (std::vector<std::string>{"SP1AAA 1", "DL2BBB 1", "SP3CCC 2", "SP4DDD 1", "DL5EEE 2"}));
  std::vector<std::size_t> voivodeships;
  for (const SiteEntry& entry : site.ranked)
    voivodeships.push_back(entry.voivodeshipRank.value_or(0));
  EXPECT_EQ(voivodeships, (std::vector<std::size_t>{1, 0, 2, 1, 0}));
}

}  // namespace
}  // namespace zeltra::organiser
