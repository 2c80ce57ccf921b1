// What every view draws around its data: the title naming the table and the
// view, axes with ticks and labels, a legend, the note of damaged rows, the
// message that there is nothing to draw; and lines thinned to what the
// pixels can show.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "view/geometry.h"
#include "view/plot_table.h"
#include "view/scene.h"

namespace quorval::view {

constexpr Colour kInk{0x22, 0x22, 0x22};
constexpr Colour kGrid{0xE2, 0xE4, 0xE8};
constexpr Colour kFrame{0x80, 0x80, 0x80};
constexpr Colour kWarning{0xB0, 0x20, 0x20};
constexpr double kTitleSize = 17;
constexpr double kLabelSize = 13;
constexpr double kTickSize = 11;

void AddLine(Scene& scene, double x1, double y1, double x2, double y2, Colour colour, double width = 1);
void AddText(Scene& scene, double x, double y, const std::string& text, double size, HAnchor h,
             VAnchor v, Colour colour = kInk, bool bold = false, double angle = 0);

// The title ("TABLE - View"), a line of detail under it and, when rows were
// left out, a line that says so; returns TitleBottom, where the drawing may
// begin below them.
double TitleBottom(const PlotTable& table);
double AddTitle(Scene& scene, const PlotTable& table, const char* viewTitle, const std::string& detail);

// A count with its noun, singular for one: "1 row", "2 rows".
std::string CountOf(size_t count, const char* noun);

// The area for the data below `top`, with room for tick labels and axis
// names and, at the right, legendWidth pixels for a legend.
PlotArea AreaBelow(const Scene& scene, double top, double legendWidth);

// Says in the picture why there is nothing to draw.
void AddNothingToShow(Scene& scene, const PlotArea& area, const std::string& message);

// A frame around the area, grid lines and tick labels at the given values;
// an empty axis name leaves the name out.
struct AxisTicks {
  std::vector<double> values;
  std::vector<std::string> labels;
};
AxisTicks NumberTicks(double low, double high, double step);
void AddXAxis(Scene& scene, const PlotArea& area, const LinearScale& scale, const AxisTicks& ticks,
              const std::string& name);
void AddYAxis(Scene& scene, const PlotArea& area, const LinearScale& scale, const AxisTicks& ticks,
              const std::string& name);
void AddAreaFrame(Scene& scene, const PlotArea& area);

// A legend of lines or marks with their labels, in columns of at most
// `rows` entries, starting at the top left corner given.
enum class LegendMark { kLine, kDashed, kFilled, kOpen, kSquare };
struct LegendEntry {
  std::string label;
  Colour colour;
  LegendMark mark = LegendMark::kLine;
};
double LegendWidth(const std::vector<LegendEntry>& entries, int rows, const std::string& heading = "");
double AddLegend(Scene& scene, double left, double top, const std::string& heading,
                 const std::vector<LegendEntry>& entries, int rows);  // returns the bottom

// The time of each row on one running clock: the time of day, continued past
// midnight; the row number where the table has no times.
struct Timeline {
  std::vector<double> x;
  bool clock = true;
  double low = 0, high = 1;
};
Timeline TimelineOf(const PlotTable& table);
AxisTicks TimeTicks(const Timeline& timeline, int intervals);
std::string TimelineName(const Timeline& timeline);
std::string TimelineSpan(const Timeline& timeline);  // "21:30:00 to 09:12:00 UTC, 11.7 h"

// Of every run of points in one pixel column, keeps the first, the lowest,
// the highest and the last: a line through hundreds of thousands of epochs
// draws as it would with all of them, from a few points per column.
struct ColumnThinner {
  std::vector<ScenePoint> points;
  void Add(ScenePoint p);
  std::vector<ScenePoint> Take();

 private:
  void Flush();
  bool open_ = false;
  double column_ = 0;
  ScenePoint first_, low_, high_, last_;
  bool lowFirst_ = true;
};

// Leaves out points within half a pixel of the last one kept (the final
// point always stays): the same track, drawn with what the pixels can show.
struct NearThinner {
  std::vector<ScenePoint> points;
  void Add(ScenePoint p);
  std::vector<ScenePoint> Take();

 private:
  bool pending_ = false;
  ScenePoint last_;
};

}  // namespace quorval::view
