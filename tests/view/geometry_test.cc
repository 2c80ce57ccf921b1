// The arithmetic of the pictures: tick steps and labels, the local map, the
// sky, the running clock of a log, and lines thinned to their pixels.
#include <gtest/gtest.h>

#include <clocale>

#include "table_text.h"
#include "view/geometry.h"
#include "view/plot_frame.h"
#include "view/svg_writer.h"

using namespace quorval;

namespace {

using namespace view;

TEST(NiceTicks, StepsAreOneTwoOrFiveTimesAPowerOfTen) {
  struct Case {
    double span;
    int intervals;
    double step;
  } cases[] = {{10, 5, 2}, {1, 5, 0.2}, {7, 8, 1}, {1000, 4, 500}, {0.03, 3, 0.01}, {3, 6, 0.5}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(NiceStep(c.span, c.intervals), c.step) << c.span;

  const ValueRange range = NiceRange(0.3, 9.7, 5);
  EXPECT_DOUBLE_EQ(range.low, 0);
  EXPECT_DOUBLE_EQ(range.high, 10);
  const std::vector<double> ticks = TicksOf(-0.3, 0.3, 0.1);
  ASSERT_EQ(ticks.size(), 7u);
  EXPECT_EQ(TickLabel(ticks[3], 0.1), "0.0");  // not "-0.0"
  EXPECT_EQ(TickLabel(ticks[6], 0.1), "0.3");
  EXPECT_EQ(TickLabel(-2, 1), "-2");
}

TEST(NiceTicks, ClockStepsAndTimeOfDayLabels) {
  EXPECT_EQ(NiceTimeStep(3600, 6), 600);
  EXPECT_EQ(NiceTimeStep(40, 5), 10);
  EXPECT_EQ(NiceTimeStep(100000, 4), 43200);
  EXPECT_EQ(NiceTimeStep(2, 4), 0.5);
  EXPECT_EQ(TimeOfDayLabel(45310, 600), "12:35");
  EXPECT_EQ(TimeOfDayLabel(86400 + 61, 30), "00:01:01");  // the next day
  EXPECT_EQ(TimeOfDayLabel(3725.5, 0.5), "01:02:05.5");
}

TEST(LocalMap, NorthIsUpEastIsRightOnOneScale) {
  const LocalProjection projection = ProjectionAbout(11, 60);
  const MapOffset north = Project(projection, 11, 60.01);
  EXPECT_NEAR(north.north, 0.01 * kMetresPerDegree, 1e-6);
  EXPECT_EQ(north.east, 0);
  const MapOffset east = Project(projection, 11.01, 60);
  EXPECT_NEAR(east.east, 0.01 * kMetresPerDegree * 0.5, 1e-6);  // cos 60° = 1/2
  // Across the 180th meridian a point east of the centre stays east of it.
  EXPECT_NEAR(Project(ProjectionAbout(179.9, 0), -179.9, 0).east, 0.2 * kMetresPerDegree, 1e-6);

  // 2 km by 1 km into 400 by 300 pixels: 5 m a pixel by the width, and the
  // map's room around the track.
  const PlotArea area{100, 50, 400, 300};
  const MapFrame frame = FitMap(-1000, 1000, -500, 500, area);
  EXPECT_DOUBLE_EQ(frame.metresPerPixel, 5 * 1.08);
  const ScenePoint centre = MapPixel(frame, 0, 0);
  EXPECT_DOUBLE_EQ(centre.x, 300);
  EXPECT_DOUBLE_EQ(centre.y, 200);
  const ScenePoint up = MapPixel(frame, 0, 540);
  EXPECT_DOUBLE_EQ(up.x, 300);
  EXPECT_DOUBLE_EQ(up.y, 100);
  const ScenePoint right = MapPixel(frame, 540, 0);
  EXPECT_DOUBLE_EQ(right.x, 400);
  EXPECT_DOUBLE_EQ(right.y, 200);
}

TEST(Sky, ZenithAtTheCentreNorthUpEastRight) {
  const SkyFrame sky{200, 200, 100};
  struct Case {
    double azimuth, elevation, x, y;
  } cases[] = {{123, 90, 200, 200}, {0, 0, 200, 100}, {90, 0, 300, 200}, {180, 45, 200, 250}, {270, 60, 200 - 100.0 / 3, 200}};
  for (const Case& c : cases) {
    const ScenePoint p = SkyPixel(sky, c.azimuth, c.elevation);
    EXPECT_NEAR(p.x, c.x, 1e-9) << c.azimuth << " " << c.elevation;
    EXPECT_NEAR(p.y, c.y, 1e-9) << c.azimuth << " " << c.elevation;
  }
}

TEST(Timeline, RunsOnPastMidnightAndCountsRowsWithoutTimes) {
  std::string text = view_test::Header(1);
  for (const double time : {86390.0, 86399.0, 5.0}) {
    view_test::Epoch e;
    e.time = time;
    text += view_test::Row(e, 1);
  }
  const Timeline past = TimelineOf(view_test::TableOf(text));
  EXPECT_EQ(past.x, (std::vector<double>{86390, 86399, 86405}));
  EXPECT_TRUE(past.clock);

  view_test::Epoch timeless;
  timeless.time = 0;
  const std::string untimed = view_test::Header(1) + view_test::Row(timeless, 1) + view_test::Row(timeless, 1);
  const Timeline rows = TimelineOf(view_test::TableOf(untimed));
  EXPECT_EQ(rows.x, (std::vector<double>{1, 2}));
  EXPECT_FALSE(rows.clock);
}

TEST(Thinning, KeepsFirstLowestHighestAndLastOfEachPixelColumn) {
  ColumnThinner line;
  for (const ScenePoint p : std::vector<ScenePoint>{{10.1, 5}, {10.2, 9}, {10.3, 7}, {10.4, 1}, {10.5, 6}, {11.2, 3}}) {
    line.Add(p);
  }
  const std::vector<ScenePoint> kept = line.Take();
  const std::vector<double> ys = {5, 9, 1, 6, 3};
  ASSERT_EQ(kept.size(), ys.size());
  for (size_t i = 0; i < ys.size(); ++i) EXPECT_EQ(kept[i].y, ys[i]) << i;
}

TEST(SvgText, EscapesTextAndWritesPointsWhateverTheLocale) {
  Scene scene;
  scene.width = 200;
  scene.height = 100;
  scene.items.emplace_back(Polyline{{{1, 2}, {3.5, 4.25}}, {255, 0, 0}, 1.5, false});
  AddText(scene, 10, 20, "a&b <\xff>", 12, HAnchor::kStart, VAnchor::kBaseline);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr ||
                      std::setlocale(LC_ALL, "German_Germany.1252") != nullptr;  // Windows' name
  const std::string svg = SvgText(scene);
  std::setlocale(LC_ALL, "C");
  EXPECT_NE(svg.find("<polyline points=\"1,2 3.5,4.25\" fill=\"none\" stroke=\"#ff0000\" stroke-width=\"1.5\""),
            std::string::npos) << svg;
  EXPECT_NE(svg.find(">a&amp;b &lt;?&gt;</text>"), std::string::npos) << svg;
  if (!german) GTEST_SKIP() << "no de_DE.UTF-8 locale here to check that '.' stays the decimal point";
}

}  // namespace
