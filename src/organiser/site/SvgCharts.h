#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zeltra::organiser {

// One part of each column of a chart (a band), with its colour.
struct ChartPart {
  std::string name;
  std::string_view colour;  // "#1f77b4"
};

// Columns of numbers over a row of labels, each column's parts stacked:
// QSOs per hour by band, or QSOs per band. A chart with one part and
// cumulative set draws a line over the columns instead: the QSOs so far.
struct ColumnChart {
  std::string id;            // unique in its page: names the chart's title and description
  std::string title;         // "QSOs per hour by band"
  std::string description;   // what it shows, in words, for a reader who cannot see it
  std::string labelHeading;  // the labels' heading in the table of numbers: "Hour (UTC)"
  std::vector<ChartPart> parts;
  std::vector<std::string> labels;                 // one per column, short, under the columns
  std::vector<std::string> tableLabels;            // the same in full for the table; empty: labels
  std::vector<std::vector<std::uint64_t>> values;  // per column, one per part
  bool cumulative = false;
};

// The chart as inline SVG in a figure: an image with an accessible name,
// a legend, and its numbers as a table beneath it. Every text is escaped.
void WriteColumnChart(std::ostream& out, const ColumnChart& chart);

// A chart's scale: lines across at every step up to the top. The step is
// 1, 2 or 5 times a power of ten, the smallest that reaches the largest
// value within eight steps, so that the top stands at most a quarter above
// the highest bar (11 QSOs: steps of 2 up to 12).
struct Scale {
  std::uint64_t top = 1;
  std::uint64_t step = 1;
};
Scale ScaleFor(std::uint64_t largest);

}  // namespace zeltra::organiser
