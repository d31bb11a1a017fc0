#include "organiser/site/ActivityCharts.h"

#include <array>
#include <string_view>
#include <vector>

#include "organiser/results/CheckReport.h"
#include "organiser/results/Plural.h"

namespace zeltra::organiser {
namespace {

// One colour a band, told apart on screen and on a grey printer alike.
constexpr std::array<std::string_view, kBands.size()> kBandColours = {
    "#1f4e99", "#e07000", "#2a8a3a", "#6b6b6b", "#c0282d",
    "#7b4fa8", "#0e8a8a", "#a05a2c", "#c2417e"};
constexpr std::string_view kOtherBandColour = "#999999";

std::string BandName(std::size_t band) {
  return std::string(kBands[band].text) + " MHz";
}

// The bands that hold a QSO among these hours, as the chart's parts; and
// for each, its place in HourOfQsos::byBand (kBands.size(): any other).
struct Parts {
  std::vector<ChartPart> parts;
  std::vector<std::size_t> bands;
};

Parts PartsOf(const std::vector<HourOfQsos>& hours) {
  std::array<bool, kBands.size()> present{};
  bool other = false;
  for (const HourOfQsos& hour : hours) {
    for (std::size_t band = 0; band < kBands.size(); ++band)
      present[band] = present[band] || hour.byBand[band] > 0;
    other = other || hour.otherBands > 0;
  }
  Parts parts;
  for (std::size_t band = 0; band < kBands.size(); ++band)
    if (present[band]) {
      parts.parts.push_back({BandName(band), kBandColours[band]});
      parts.bands.push_back(band);
    }
  if (other) {
    parts.parts.push_back({"other bands", kOtherBandColour});
    parts.bands.push_back(kBands.size());
  }
  return parts;
}

// Each hour's columns, its short label ("10") and its full one.
ColumnChart HoursChart(const LogActivity& activity, std::string id, std::string title,
                       bool byBand) {
  const std::vector<HourOfQsos> hours = BusiestHours(activity, kChartHours);
  ColumnChart chart;
  chart.id = std::move(id);
  chart.title = std::move(title);
  chart.labelHeading = "Hour (UTC)";
  const Parts parts = PartsOf(hours);
  if (byBand) chart.parts = parts.parts;
  std::uint64_t shown = 0;
  std::uint64_t busiest = 0;
  for (const HourOfQsos& hour : hours) {
    const std::string full = TimeText(hour.hour * kMinutesPerHour);
    chart.labels.push_back(full.substr(11, 2));
    chart.tableLabels.push_back(full);
    std::vector<std::uint64_t> column;
    if (byBand) {
      for (const std::size_t band : parts.bands)
        column.push_back(band < kBands.size() ? hour.byBand[band] : hour.otherBands);
    } else {
      column.push_back(hour.Total());
    }
    shown += hour.Total();
    busiest = std::max(busiest, hour.Total());
    chart.values.push_back(std::move(column));
  }
  if (hours.empty()) {
    chart.description = "No QSOs.";
    return chart;
  }
  chart.description = "From " + chart.tableLabels.front() + " to " + chart.tableLabels.back() +
                      " UTC, " + Plural(hours.size(), "hour") + ": " +
                      (byBand ? "at most " + Plural(busiest, "QSO") + " in an hour, " : "") +
                      Plural(shown, "QSO") + " in all";
  if (shown < activity.qsos)
    chart.description +=
        " (" + std::to_string(activity.qsos - shown) + " more at times outside these hours)";
  chart.description += ". The numbers are in the table below.";
  return chart;
}

}  // namespace

ColumnChart HourChart(const LogActivity& activity, std::string id, std::string title) {
  return HoursChart(activity, std::move(id), std::move(title), true);
}

ColumnChart QsosSoFarChart(const LogActivity& activity, std::string id, std::string title) {
  ColumnChart chart = HoursChart(activity, std::move(id), std::move(title), false);
  chart.cumulative = true;
  chart.parts = {{"QSOs", kBandColours.front()}};
  return chart;
}

ColumnChart BandChart(const LogActivity& activity, std::string id, std::string title) {
  ColumnChart chart;
  chart.id = std::move(id);
  chart.title = std::move(title);
  chart.labelHeading = "Band";
  chart.parts = {{"QSOs", kBandColours.front()}};
  const auto byBand = activity.QsosByBand();
  std::uint64_t other = 0;
  for (const HourOfQsos& hour : activity.hours) other += hour.otherBands;
  std::string words;
  for (std::size_t band = 0; band < kBands.size(); ++band) {
    if (byBand[band] == 0) continue;
    chart.labels.push_back(std::string(kBands[band].text));
    chart.tableLabels.push_back(BandName(band));
    chart.values.push_back({byBand[band]});
    words += (words.empty() ? "" : ", ") + BandName(band) + " " + std::to_string(byBand[band]);
  }
  if (other > 0) {
    chart.labels.push_back("other");
    chart.tableLabels.push_back("other bands");
    chart.values.push_back({other});
    words += (words.empty() ? "" : ", ") + std::string("other bands ") + std::to_string(other);
  }
  chart.description = words.empty() ? "No QSOs." : "QSOs by band: " + words + ".";
  return chart;
}

}  // namespace zeltra::organiser
