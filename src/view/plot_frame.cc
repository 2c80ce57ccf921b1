#include "view/plot_frame.h"

#include <algorithm>
#include <cmath>

namespace quorval::view {

namespace {

constexpr double kLeftMargin = 74;    // y tick labels and the axis name
constexpr double kBottomMargin = 52;  // x tick labels and the axis name
constexpr double kRightMargin = 22;
constexpr double kLegendRow = 18;
constexpr double kLegendMarkWidth = 26;
constexpr Colour kDetail{0x55, 0x5B, 0x66};

}  // namespace

double EstimatedTextWidth(const std::string& text, double size) {
  // Liberation Sans: about 0.56 em a character on average (digits 0.556).
  int characters = 0;
  for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return characters * size * 0.56;
}

void AddLine(Scene& scene, double x1, double y1, double x2, double y2, Colour colour, double width) {
  Polyline line;
  line.points = {{x1, y1}, {x2, y2}};
  line.colour = colour;
  line.width = width;
  scene.items.emplace_back(std::move(line));
}

void AddText(Scene& scene, double x, double y, const std::string& text, double size, HAnchor h,
             VAnchor v, Colour colour, bool bold, double angle) {
  SceneText item;
  item.at = {x, y};
  item.text = text;
  item.size = size;
  item.colour = colour;
  item.h = h;
  item.v = v;
  item.bold = bold;
  item.angle = angle;
  scene.items.emplace_back(std::move(item));
}

double TitleBottom(const PlotTable& table) { return table.damagedRows > 0 ? 82 : 65; }

double AddTitle(Scene& scene, const PlotTable& table, const char* viewTitle, const std::string& detail) {
  AddText(scene, scene.width / 2, 12, table.name + " \u2014 " + viewTitle, kTitleSize, HAnchor::kMiddle,
          VAnchor::kTop, kInk, true);
  AddText(scene, scene.width / 2, 36, detail, 12, HAnchor::kMiddle, VAnchor::kTop, kDetail);
  const std::string damage = DescribeDamage(table);
  if (!damage.empty()) {
    AddText(scene, scene.width / 2, 53, damage, 12, HAnchor::kMiddle, VAnchor::kTop, kWarning);
  }
  return TitleBottom(table);
}

std::string CountOf(size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

PlotArea AreaBelow(const Scene& scene, double top, double legendWidth) {
  PlotArea area;
  area.left = kLeftMargin;
  area.top = top;
  area.width = std::max(scene.width - kLeftMargin - kRightMargin - legendWidth, 10.0);
  area.height = std::max(scene.height - top - kBottomMargin, 10.0);
  return area;
}

void AddNothingToShow(Scene& scene, const PlotArea& area, const std::string& message) {
  SceneRect box;
  box.x = area.left;
  box.y = area.top;
  box.width = area.width;
  box.height = area.height;
  box.stroke = kFrame;
  box.fill = Colour{0xF6, 0xF6, 0xF7};
  scene.items.emplace_back(box);
  AddText(scene, area.left + area.width / 2, area.top + area.height / 2, message, 15, HAnchor::kMiddle,
          VAnchor::kMiddle, kWarning, true);
}

AxisTicks NumberTicks(double low, double high, double step) {
  AxisTicks ticks;
  ticks.values = TicksOf(low, high, step);
  for (const double value : ticks.values) ticks.labels.push_back(TickLabel(value, step));
  return ticks;
}

void AddXAxis(Scene& scene, const PlotArea& area, const LinearScale& scale, const AxisTicks& ticks,
              const std::string& name) {
  for (size_t i = 0; i < ticks.values.size(); ++i) {
    const double x = scale(ticks.values[i]);
    AddLine(scene, x, area.top, x, area.Bottom(), kGrid);
    AddLine(scene, x, area.Bottom(), x, area.Bottom() + 5, kFrame);
    if (!ticks.labels[i].empty()) {
      AddText(scene, x, area.Bottom() + 8, ticks.labels[i], kTickSize, HAnchor::kMiddle, VAnchor::kTop);
    }
  }
  if (!name.empty()) {
    AddText(scene, area.left + area.width / 2, area.Bottom() + 27, name, kLabelSize, HAnchor::kMiddle,
            VAnchor::kTop);
  }
}

void AddYAxis(Scene& scene, const PlotArea& area, const LinearScale& scale, const AxisTicks& ticks,
              const std::string& name) {
  for (size_t i = 0; i < ticks.values.size(); ++i) {
    const double y = scale(ticks.values[i]);
    AddLine(scene, area.left, y, area.Right(), y, kGrid);
    AddLine(scene, area.left - 5, y, area.left, y, kFrame);
    AddText(scene, area.left - 8, y, ticks.labels[i], kTickSize, HAnchor::kEnd, VAnchor::kMiddle);
  }
  if (!name.empty()) {
    AddText(scene, area.left - 58, area.top + area.height / 2, name, kLabelSize, HAnchor::kMiddle,
            VAnchor::kMiddle, kInk, false, -90);
  }
}

void AddAreaFrame(Scene& scene, const PlotArea& area) {
  SceneRect frame;
  frame.x = area.left;
  frame.y = area.top;
  frame.width = area.width;
  frame.height = area.height;
  frame.stroke = kFrame;
  scene.items.emplace_back(frame);
}

double LegendWidth(const std::vector<LegendEntry>& entries, int rows, const std::string& heading) {
  double widest = 0;
  for (const LegendEntry& entry : entries) widest = std::max(widest, EstimatedTextWidth(entry.label, kTickSize));
  const int columns = rows > 0 ? static_cast<int>((entries.size() + static_cast<size_t>(rows) - 1) / static_cast<size_t>(rows)) : 1;
  return std::max(std::max(columns, 1) * (kLegendMarkWidth + widest + 12),
                  EstimatedTextWidth(heading, kTickSize + 1) * 1.1 + 8);
}

double AddLegend(Scene& scene, double left, double top, const std::string& heading,
                 const std::vector<LegendEntry>& entries, int rows) {
  double y = top;
  if (!heading.empty()) {
    AddText(scene, left, y, heading, kTickSize + 1, HAnchor::kStart, VAnchor::kTop, kInk, true);
    y += kLegendRow + 2;
  }
  const double columnWidth = LegendWidth(entries, 0);
  rows = std::max(rows, 1);
  double bottom = y;
  for (size_t i = 0; i < entries.size(); ++i) {
    const LegendEntry& entry = entries[i];
    const double x = left + static_cast<double>(i / static_cast<size_t>(rows)) * columnWidth;
    const double middle = y + static_cast<double>(i % static_cast<size_t>(rows)) * kLegendRow + kLegendRow / 2;
    if (entry.mark == LegendMark::kLine || entry.mark == LegendMark::kDashed) {
      AddLine(scene, x, middle, x + kLegendMarkWidth - 6, middle, entry.colour, 2.5);
      std::get<Polyline>(scene.items.back()).dashed = entry.mark == LegendMark::kDashed;
    } else {
      Marker mark;
      mark.centre = {x + (kLegendMarkWidth - 6) / 2, middle};
      mark.radius = 4.5;
      if (entry.mark == LegendMark::kSquare) mark.shape = MarkerShape::kSquare;
      mark.stroke = entry.colour;
      mark.strokeWidth = 1.5;
      if (entry.mark != LegendMark::kOpen) mark.fill = entry.colour;
      scene.items.emplace_back(mark);
    }
    AddText(scene, x + kLegendMarkWidth, middle, entry.label, kTickSize, HAnchor::kStart, VAnchor::kMiddle);
    bottom = std::max(bottom, middle + kLegendRow / 2);
  }
  return bottom;
}

Timeline TimelineOf(const PlotTable& table) {
  Timeline timeline;
  const size_t rows = table.Rows();
  timeline.x.resize(rows);
  double days = 0;
  for (size_t i = 0; i < rows; ++i) {
    // A time far below the one before is the next day's: the log ran past midnight.
    if (i > 0 && table.time[i] < table.time[i - 1] - 43200) days += 86400;
    timeline.x[i] = table.time[i] + days;
  }
  const auto [low, high] = std::minmax_element(timeline.x.begin(), timeline.x.end());
  if (rows > 1 && *low == *high) {
    // No times in the log (no GGA time field): the epochs in their order.
    timeline.clock = false;
    for (size_t i = 0; i < rows; ++i) timeline.x[i] = static_cast<double>(i + 1);
    timeline.low = 1;
    timeline.high = static_cast<double>(rows);
    return timeline;
  }
  timeline.low = rows > 0 ? *low : 0;
  timeline.high = rows > 0 ? *high : 1;
  if (timeline.high == timeline.low) {
    timeline.low -= 1;
    timeline.high += 1;
  }
  return timeline;
}

AxisTicks TimeTicks(const Timeline& timeline, int intervals) {
  if (!timeline.clock) {
    return NumberTicks(timeline.low, timeline.high,
                       std::max(1.0, NiceStep(timeline.high - timeline.low, intervals)));
  }
  const double step = NiceTimeStep(timeline.high - timeline.low, intervals);
  AxisTicks ticks;
  ticks.values = TicksOf(timeline.low, timeline.high, step);
  for (const double value : ticks.values) ticks.labels.push_back(TimeOfDayLabel(value, step));
  return ticks;
}

std::string TimelineSpan(const Timeline& timeline) {
  if (!timeline.clock) return "rows 1 to " + TickLabel(timeline.high, 1);
  const double seconds = timeline.high - timeline.low;
  const std::string length = seconds < 120    ? FixedText(seconds, 0) + " s"
                             : seconds < 7200 ? FixedText(seconds / 60, 0) + " min"
                                              : FixedText(seconds / 3600, 1) + " h";
  return TimeOfDayLabel(timeline.low, 1) + " to " + TimeOfDayLabel(timeline.high, 1) + " UTC, " + length;
}

std::string TimelineName(const Timeline& timeline) {
  return timeline.clock ? "time of day (UTC)" : "row (the table has no times)";
}

void ColumnThinner::Add(ScenePoint p) {
  const double column = std::floor(p.x);
  if (open_ && column == column_) {
    if (p.y < low_.y) {
      low_ = p;
      lowFirst_ = false;
    }
    if (p.y > high_.y) {
      high_ = p;
      lowFirst_ = true;
    }
    last_ = p;
    return;
  }
  if (open_) Flush();
  open_ = true;
  column_ = column;
  first_ = low_ = high_ = last_ = p;
}

void ColumnThinner::Flush() {
  const auto put = [this](ScenePoint p) {
    if (points.empty() || points.back().x != p.x || points.back().y != p.y) points.push_back(p);
  };
  put(first_);
  put(lowFirst_ ? low_ : high_);
  put(lowFirst_ ? high_ : low_);
  put(last_);
}

std::vector<ScenePoint> ColumnThinner::Take() {
  if (open_) Flush();
  open_ = false;
  std::vector<ScenePoint> taken;
  taken.swap(points);
  return taken;
}

void NearThinner::Add(ScenePoint p) {
  if (!points.empty() && std::fabs(p.x - points.back().x) < 0.5 && std::fabs(p.y - points.back().y) < 0.5) {
    last_ = p;
    pending_ = true;
    return;
  }
  points.push_back(p);
  pending_ = false;
}

std::vector<ScenePoint> NearThinner::Take() {
  if (pending_) points.push_back(last_);
  pending_ = false;
  std::vector<ScenePoint> taken;
  taken.swap(points);
  return taken;
}

}  // namespace quorval::view
