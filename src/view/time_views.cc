// The views over time: the signal of each satellite, and the satellite
// counts with the dilution of precision.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "text/csv_columns.h"
#include "view/plot_frame.h"
#include "view/views.h"

namespace quorval::view {

namespace {

// Twenty colours that tell lines apart; a log with more satellites than
// that repeats them, in the order of the ids.
constexpr Colour kPalette[] = {
    {0x1F, 0x77, 0xB4}, {0xFF, 0x7F, 0x0E}, {0x2C, 0xA0, 0x2C}, {0xD6, 0x27, 0x28}, {0x94, 0x67, 0xBD},
    {0x8C, 0x56, 0x4B}, {0xE3, 0x77, 0xC2}, {0x7F, 0x7F, 0x7F}, {0xBC, 0xBD, 0x22}, {0x17, 0xBE, 0xCF},
    {0x39, 0x3B, 0x79}, {0xAD, 0x49, 0x4A}, {0x63, 0x79, 0x39}, {0x84, 0x3C, 0x39}, {0x7B, 0x41, 0x73},
    {0x6B, 0xAE, 0xD6}, {0xE6, 0x55, 0x0D}, {0x74, 0xC4, 0x76}, {0x75, 0x6B, 0xB1}, {0x36, 0x36, 0x36},
};
constexpr int kPaletteSize = sizeof kPalette / sizeof kPalette[0];
constexpr double kLegendRow = 18;

// Pixels per time tick, so that the clock labels do not touch.
int TimeIntervals(const PlotArea& area) { return std::max(2, static_cast<int>(area.width / 95)); }

void AddSeries(Scene& scene, std::vector<ScenePoint> points, Colour colour, double width,
               bool dashed = false) {
  if (points.size() == 1) {
    Marker dot;
    dot.centre = points[0];
    dot.radius = width;
    dot.stroke = kNoColour;
    dot.fill = colour;
    scene.items.emplace_back(dot);
  } else if (points.size() > 1) {
    scene.items.emplace_back(Polyline{std::move(points), colour, width, dashed});
  }
}

// One column of the table over time as a thinned line, values above `top`
// drawn on the top edge. Columns that often equal another (numused and
// numsvsinfix, hdop and GGAhdop) are dashed over it, so both show.
template <typename T>
void AddColumnSeries(Scene& scene, const std::vector<T>& values, const Timeline& timeline,
                     const LinearScale& x, const LinearScale& y, double top, Colour colour,
                     bool dashed = false) {
  ColumnThinner line;
  for (size_t i = 0; i < values.size(); ++i) {
    line.Add({x(timeline.x[i]), y(std::min(static_cast<double>(values[i]), top))});
  }
  AddSeries(scene, line.Take(), colour, dashed ? 2 : 1.6, dashed);
}

}  // namespace

ViewOutcome BuildSignalView(const PlotTable& table, Scene& scene) {
  const double top = TitleBottom(table);
  // The satellites with a signal, by id; each keeps its colour.
  std::vector<int> indexOf(65536, -1);
  std::vector<int16_t> ids;
  int strongest = 0;
  for (const SatelliteSlot& slot : table.satelliteSlots) {
    if (slot.svid == 0 || slot.sgnl <= 0) continue;
    strongest = std::max<int>(strongest, slot.sgnl);
    int& index = indexOf[static_cast<uint16_t>(slot.svid)];
    if (index < 0) {
      index = 0;
      ids.push_back(slot.svid);
    }
  }
  if (ids.empty()) {
    AddTitle(scene, table, "Signal", "");
    const std::string problem = "no satellite signal: no row has an SNR above 0";
    AddNothingToShow(scene, AreaBelow(scene, top, 0), problem);
    return {false, problem};
  }
  std::sort(ids.begin(), ids.end());
  std::vector<LegendEntry> legend;
  for (size_t i = 0; i < ids.size(); ++i) {
    indexOf[static_cast<uint16_t>(ids[i])] = static_cast<int>(i);
    legend.push_back({std::to_string(ids[i]), kPalette[i % kPaletteSize], LegendMark::kLine});
  }
  const int legendRows = std::max(1, static_cast<int>((scene.height - top - 90) / kLegendRow));
  const PlotArea area = AreaBelow(scene, top, LegendWidth(legend, legendRows, "satellite") + 16);
  const Timeline timeline = TimelineOf(table);
  AddTitle(scene, table, "Signal",
           CountOf(ids.size(), "satellite") + " with a signal; " + TimelineSpan(timeline));

  const ValueRange snr = NiceRange(0, std::max(strongest, 10), 6);
  const LinearScale x{timeline.low, timeline.high, area.left, area.Right()};
  const LinearScale y{0, snr.high, area.Bottom(), area.top};
  AddXAxis(scene, area, x, TimeTicks(timeline, TimeIntervals(area)), TimelineName(timeline));
  AddYAxis(scene, area, y, NumberTicks(0, snr.high, NiceStep(snr.high, 6)), "SNR (dB-Hz)");
  AddAreaFrame(scene, area);

  // A satellite's line breaks where it is out of view or not tracked.
  std::vector<ColumnThinner> lines(ids.size());
  std::vector<size_t> lastRow(ids.size(), SIZE_MAX - 1);
  for (size_t row = 0; row < table.Rows(); ++row) {
    const SatelliteSlot* rowSlots = table.SlotsOf(row);
    for (int s = 0; s < table.slotCount; ++s) {
      const SatelliteSlot& slot = rowSlots[s];
      if (slot.svid == 0 || slot.sgnl <= 0) continue;
      const auto index = static_cast<size_t>(indexOf[static_cast<uint16_t>(slot.svid)]);
      if (lastRow[index] == row) continue;  // listed twice in one row
      if (lastRow[index] + 1 != row) AddSeries(scene, lines[index].Take(), legend[index].colour, 1.3);
      lines[index].Add({x(timeline.x[row]), y(slot.sgnl)});
      lastRow[index] = row;
    }
  }
  for (size_t i = 0; i < ids.size(); ++i) AddSeries(scene, lines[i].Take(), legend[i].colour, 1.3);
  AddLegend(scene, area.Right() + 18, area.top, "satellite", legend, legendRows);
  return {true, ""};
}

ViewOutcome BuildSatsView(const PlotTable& table, Scene& scene) {
  const double top = TitleBottom(table);
  const Timeline timeline = TimelineOf(table);
  // Each line is named by its column, as the table's header names it.
  const auto count = [](const char* what, ColumnSource source) {
    return std::string(what) + " (" + EpochColumnName(source, ColumnFormat::kInteger) + ")";
  };
  const auto dop = [](ColumnSource source) { return EpochColumnName(source, ColumnFormat::kFixed); };
  const std::vector<LegendEntry> counts = {
      {count("in fix", ColumnSource::kSatellitesInFix), kPalette[0], LegendMark::kLine},
      {count("used", ColumnSource::kSatellitesUsed), kPalette[2], LegendMark::kDashed},
      {count("in view", ColumnSource::kSatellitesInView), kPalette[1], LegendMark::kLine},
  };
  const std::vector<LegendEntry> dops = {
      {dop(ColumnSource::kGgaHdop), kPalette[4], LegendMark::kLine},
      {dop(ColumnSource::kPdop), kPalette[3], LegendMark::kLine},
      {dop(ColumnSource::kHdop), kPalette[9], LegendMark::kDashed},
      {dop(ColumnSource::kVdop), kPalette[5], LegendMark::kLine},
  };
  const double legendWidth = std::max(LegendWidth(counts, 4), LegendWidth(dops, 4)) + 16;
  const PlotArea whole = AreaBelow(scene, top, legendWidth);
  constexpr double kGap = 18;
  PlotArea upper = whole, lower = whole;
  upper.height = (whole.height - kGap) / 2;
  lower.top = upper.Bottom() + kGap;
  lower.height = upper.height;

  // A receiver without a fix reports dilution values such as 99.9; where a
  // few of those would flatten the rest, the axis ends above nearly all
  // values and the few are drawn on its top edge.
  std::vector<float> all;
  all.reserve(table.Rows() * 4);
  for (const auto* column : {&table.ggaHdop, &table.pdop, &table.hdop, &table.vdop}) {
    all.insert(all.end(), column->begin(), column->end());
  }
  const float highest = *std::max_element(all.begin(), all.end());
  auto at99 = all.begin() + static_cast<ptrdiff_t>(all.size() * 99 / 100);
  std::nth_element(all.begin(), at99, all.end());
  double dopTop = NiceRange(0, std::max(highest, 1.0f), 5).high;
  std::string clipped;
  if (highest > 10 && highest > 2 * *at99) {
    dopTop = NiceRange(0, std::max(*at99 * 1.25, 2.0), 5).high;
    clipped = "; dilution values above " + TickLabel(dopTop, 1) + " are drawn on the top edge";
  }
  int most = 1;
  for (const auto* column : {&table.numsvsinfix, &table.numused, &table.numsvsview}) {
    most = std::max<int>(most, *std::max_element(column->begin(), column->end()));
  }
  AddTitle(scene, table, "Satellites and DOP", CountOf(table.Rows(), "row") + "; " +
                                                   TimelineSpan(timeline) + clipped);

  const LinearScale x{timeline.low, timeline.high, whole.left, whole.Right()};
  const AxisTicks timeTicks = TimeTicks(timeline, TimeIntervals(whole));
  AxisTicks unlabelled = timeTicks;
  std::fill(unlabelled.labels.begin(), unlabelled.labels.end(), std::string());
  const double countTop = NiceRange(0, most + 1, 5).high;  // the most seen below the top edge
  const LinearScale countY{0, countTop, upper.Bottom(), upper.top};
  AddXAxis(scene, upper, x, unlabelled, "");
  AddYAxis(scene, upper, countY, NumberTicks(0, countTop, std::max(1.0, NiceStep(countTop, 5))), "satellites");
  AddAreaFrame(scene, upper);
  AddColumnSeries(scene, table.numsvsview, timeline, x, countY, countTop, counts[2].colour);
  AddColumnSeries(scene, table.numsvsinfix, timeline, x, countY, countTop, counts[0].colour);
  AddColumnSeries(scene, table.numused, timeline, x, countY, countTop, counts[1].colour, true);
  AddLegend(scene, whole.Right() + 18, upper.top, "satellites", counts, 4);

  const LinearScale dopY{0, dopTop, lower.Bottom(), lower.top};
  AddXAxis(scene, lower, x, timeTicks, TimelineName(timeline));
  AddYAxis(scene, lower, dopY, NumberTicks(0, dopTop, NiceStep(dopTop, 5)), "dilution of precision");
  AddAreaFrame(scene, lower);
  AddColumnSeries(scene, table.pdop, timeline, x, dopY, dopTop, dops[1].colour);
  AddColumnSeries(scene, table.vdop, timeline, x, dopY, dopTop, dops[3].colour);
  AddColumnSeries(scene, table.ggaHdop, timeline, x, dopY, dopTop, dops[0].colour);
  AddColumnSeries(scene, table.hdop, timeline, x, dopY, dopTop, dops[2].colour, true);
  AddLegend(scene, whole.Right() + 18, lower.top, "dilution", dops, 4);
  return {true, ""};
}

}  // namespace quorval::view
