#include "organiser/site/SvgCharts.h"

#include <algorithm>
#include <limits>

#include "organiser/site/HtmlText.h"
#include "organiser/site/PageFrame.h"

namespace zeltra::organiser {
namespace {

// The drawing's size in its own units; the page scales it to its width.
constexpr int kWidth = 720;
constexpr int kHeight = 260;
constexpr int kLeft = 52;
constexpr int kRight = 12;
constexpr int kTop = 12;
constexpr int kBottom = 36;
constexpr int kPlotWidth = kWidth - kLeft - kRight;
constexpr int kPlotHeight = kHeight - kTop - kBottom;
constexpr std::uint64_t kMostSteps = 8;
constexpr std::size_t kMostLabels = 12;
constexpr int kBarShareOfColumn = 80;  // per cent
constexpr double kWidestBar = 48;
constexpr int kLabelGap = 6;
constexpr int kLabelBaseline = 18;

// A coordinate with one decimal, as SVG reads it.
std::string At(double value) {
  const long long tenths = static_cast<long long>(value * 10 + (value < 0 ? -0.5 : 0.5));
  std::string text = std::to_string(tenths / 10);
  if (tenths % 10 != 0) text += "." + std::to_string((tenths < 0 ? -tenths : tenths) % 10);
  return text;
}

std::uint64_t ColumnTotal(const std::vector<std::uint64_t>& column) {
  std::uint64_t total = 0;
  for (const std::uint64_t value : column) total += value;
  return total;
}

// Lines across the plot at each step of the scale, with their values.
void WriteScale(std::ostream& out, const Scale& scale) {
  const std::uint64_t steps = scale.top / scale.step;
  out << "<g class=\"scale\">";
  for (std::uint64_t step = 0; step <= steps; ++step) {
    const double y =
        kTop + kPlotHeight -
        static_cast<double>(kPlotHeight) * static_cast<double>(step) / static_cast<double>(steps);
    out << "<line x1=\"" << kLeft << "\" x2=\"" << kWidth - kRight << "\" y1=\"" << At(y)
        << "\" y2=\"" << At(y) << "\"/><text x=\"" << kLeft - kLabelGap << "\" y=\"" << At(y + 4)
        << "\" text-anchor=\"end\">" << scale.step * step << "</text>";
  }
  out << "</g>";
}

void WriteLabels(std::ostream& out, const ColumnChart& chart, double columnWidth) {
  const std::size_t count = chart.labels.size();
  const std::size_t every = std::max<std::size_t>(1, (count + kMostLabels - 1) / kMostLabels);
  out << "<g class=\"labels\">";
  for (std::size_t i = 0; i < count; i += every)
    out << "<text x=\"" << At(kLeft + columnWidth * (static_cast<double>(i) + 0.5)) << "\" y=\""
        << kTop + kPlotHeight + kLabelBaseline << "\" text-anchor=\"middle\">"
        << Html(chart.labels[i]) << "</text>";
  out << "</g>";
}

void WriteColumns(std::ostream& out, const ColumnChart& chart, std::uint64_t top,
                  double columnWidth) {
  const double barWidth = std::min(columnWidth * kBarShareOfColumn / 100, kWidestBar);
  for (std::size_t i = 0; i < chart.values.size(); ++i) {
    const double x = kLeft + columnWidth * static_cast<double>(i) + (columnWidth - barWidth) / 2;
    double base = kTop + kPlotHeight;
    for (std::size_t part = 0; part < chart.parts.size() && part < chart.values[i].size(); ++part) {
      const std::uint64_t value = chart.values[i][part];
      if (value == 0) continue;
      const double height =
          static_cast<double>(kPlotHeight) * static_cast<double>(value) / static_cast<double>(top);
      base -= height;
      out << "<rect x=\"" << At(x) << "\" y=\"" << At(base) << "\" width=\"" << At(barWidth)
          << "\" height=\"" << At(height) << "\" fill=\"" << chart.parts[part].colour << "\"/>";
    }
  }
}

void WriteLine(std::ostream& out, const ColumnChart& chart, std::uint64_t top, double columnWidth) {
  out << "<polyline fill=\"none\" stroke-width=\"2\" stroke=\""
      << (chart.parts.empty() ? std::string_view("#1f4e99") : chart.parts.front().colour)
      << "\" points=\"" << kLeft << "," << kTop + kPlotHeight;
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < chart.values.size(); ++i) {
    sum += ColumnTotal(chart.values[i]);
    out << " " << At(kLeft + columnWidth * static_cast<double>(i + 1)) << ","
        << At(kTop + kPlotHeight -
              static_cast<double>(kPlotHeight) * static_cast<double>(sum) /
                  static_cast<double>(top));
  }
  out << "\"/>";
}

void WriteNumbers(std::ostream& out, const ColumnChart& chart) {
  out << "<details><summary>The chart's numbers</summary>";
  WriteWideStart(out, chart.title + ": the numbers");
  out << "<table><caption>" << Html(chart.title) << "</caption><thead><tr><th scope=\"col\">"
      << Html(chart.labelHeading) << "</th>";
  if (!chart.cumulative || chart.parts.size() > 1)
    for (const ChartPart& part : chart.parts)
      out << "<th scope=\"col\">" << Html(part.name) << "</th>";
  out << "<th scope=\"col\">" << (chart.cumulative ? "So far" : "All")
      << "</th></tr></thead><tbody>";
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < chart.values.size() && i < chart.labels.size(); ++i) {
    const std::string& label =
        i < chart.tableLabels.size() ? chart.tableLabels[i] : chart.labels[i];
    out << "<tr><th scope=\"row\">" << Html(label) << "</th>";
    if (!chart.cumulative || chart.parts.size() > 1)
      for (const std::uint64_t value : chart.values[i]) out << "<td>" << value << "</td>";
    const std::uint64_t total = ColumnTotal(chart.values[i]);
    sum += total;
    out << "<td>" << (chart.cumulative ? sum : total) << "</td></tr>";
  }
  out << "</tbody></table></div></details>";
}

}  // namespace

Scale ScaleFor(std::uint64_t largest) {
  if (largest == 0) return {};
  for (std::uint64_t power = 1; power <= std::numeric_limits<std::uint64_t>::max() / 10;
       power *= 10)
    for (const std::uint64_t step : {1u, 2u, 5u}) {
      const std::uint64_t size = step * power;
      const std::uint64_t steps = largest / size + (largest % size != 0 ? 1 : 0);
      if (steps <= kMostSteps && size <= std::numeric_limits<std::uint64_t>::max() / steps)
        return {size * steps, size};
    }
  // Beyond the round numbers a 64-bit count holds: one step, the largest.
  return {largest, largest};
}

void WriteColumnChart(std::ostream& out, const ColumnChart& chart) {
  std::uint64_t largest = 0;
  std::uint64_t sum = 0;
  for (const auto& column : chart.values) {
    sum += ColumnTotal(column);
    largest = std::max(largest, chart.cumulative ? sum : ColumnTotal(column));
  }
  const Scale scale = ScaleFor(largest);
  const std::uint64_t top = scale.top;
  const double columnWidth =
      chart.values.empty() ? kPlotWidth : kPlotWidth / static_cast<double>(chart.values.size());
  const std::string id = Html(chart.id);
  out << "<figure class=\"chart\"><figcaption>" << Html(chart.title) << "</figcaption>";
  WriteWideStart(out, chart.title);
  out << "<svg role=\"img\" viewBox=\"0 0 " << kWidth << " " << kHeight << "\" width=\"" << kWidth
      << "\" height=\"" << kHeight << "\" aria-labelledby=\"" << id << "-title " << id
      << "-desc\"><title id=\"" << id << "-title\">" << Html(chart.title) << "</title><desc id=\""
      << id << "-desc\">" << Html(chart.description) << "</desc>";
  WriteScale(out, scale);
  if (chart.cumulative)
    WriteLine(out, chart, top, columnWidth);
  else
    WriteColumns(out, chart, top, columnWidth);
  WriteLabels(out, chart, columnWidth);
  out << "</svg></div>";
  if (chart.parts.size() > 1) {
    out << "<ul class=\"legend\">";
    for (const ChartPart& part : chart.parts)
      out << "<li><span class=\"swatch\" style=\"background:" << part.colour << "\"></span>"
          << Html(part.name) << "</li>";
    out << "</ul>";
  }
  WriteNumbers(out, chart);
  out << "</figure>\n";
}

}  // namespace zeltra::organiser
