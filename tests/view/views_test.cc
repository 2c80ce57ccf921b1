// The four views as display lists: where the data lands, and what a view
// says when its table gives it nothing to draw.
#include <gtest/gtest.h>

#include <string>

#include "table_text.h"
#include "view/views.h"

using namespace quorval;

namespace {

using namespace view;
using view_test::Epoch;
using view_test::Header;
using view_test::Row;
using view_test::TableOf;

bool HasText(const Scene& scene, const std::string& text, bool asStart = false) {
  for (const SceneItem& item : scene.items) {
    const auto* t = std::get_if<SceneText>(&item);
    if (t != nullptr && (asStart ? t->text.starts_with(text) : t->text == text)) return true;
  }
  return false;
}

// The marks drawn at a point, to a hundredth of a pixel.
std::vector<Marker> MarksAt(const Scene& scene, ScenePoint at) {
  std::vector<Marker> marks;
  for (const SceneItem& item : scene.items) {
    const auto* m = std::get_if<Marker>(&item);
    if (m != nullptr && std::abs(m->centre.x - at.x) < 0.01 && std::abs(m->centre.y - at.y) < 0.01) marks.push_back(*m);
  }
  return marks;
}

std::string TableText(const std::vector<Epoch>& epochs) {
  std::string text = Header(2);
  for (const Epoch& e : epochs) text += Row(e, 2);
  return text;
}

TEST(TrackView, StartsWhereTheProjectionPutsTheFirstPositionNorthAbove) {
  Epoch south, north;
  south.lat = 48.0;
  north.lat = 48.01;
  north.time = south.time + 1;
  const PlotTable table = TableOf(TableText({south, north}), "day1.csv");
  Scene scene;
  ASSERT_TRUE(BuildView(ViewKind::kTrack, table, 800, 600, scene).drawn);
  EXPECT_TRUE(HasText(scene, "day1.csv \u2014 Track"));

  LocalProjection projection;
  MapFrame frame;
  ASSERT_TRUE(TrackFrame(table, 800, 600, projection, frame));
  const MapOffset first = Project(projection, south.lon, south.lat);
  const MapOffset last = Project(projection, north.lon, north.lat);
  const ScenePoint start = MapPixel(frame, first.east, first.north);
  const ScenePoint end = MapPixel(frame, last.east, last.north);
  EXPECT_DOUBLE_EQ(start.x, end.x);
  EXPECT_NEAR(start.y - end.y, 0.01 * kMetresPerDegree / frame.metresPerPixel, 1e-9);
  ASSERT_EQ(MarksAt(scene, start).size(), 1u);
  EXPECT_EQ(MarksAt(scene, start)[0].shape, MarkerShape::kCircle);
  ASSERT_EQ(MarksAt(scene, end).size(), 1u);
  EXPECT_EQ(MarksAt(scene, end)[0].shape, MarkerShape::kSquare);
}

TEST(SkyView, ASatelliteAtTheZenithIsMarkedAtTheCentreFilledWhenUsed) {
  Epoch used, unused;
  used.satellites = {{7, 200, 90, 45, 1}};
  unused.satellites = {{9, 0, 90, 45, 0}};
  for (const Epoch& e : {used, unused}) {
    const PlotTable table = TableOf(TableText({e}));
    Scene scene;
    ASSERT_TRUE(BuildView(ViewKind::kSky, table, 800, 600, scene).drawn);
    const SkyFrame sky = SkyFrameFor(table, 800, 600);
    std::vector<Marker> marks;  // the path's mark and the last place's, not the rings
    for (const Marker& m : MarksAt(scene, {sky.centreX, sky.centreY})) {
      if (m.radius < 10) marks.push_back(m);
    }
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].fill.a != 0, e.satellites[0].used != 0);
    EXPECT_TRUE(HasText(scene, "N"));
  }
}

// The counts under a view's title, singular for one.
TEST(ViewTitles, CountOneRowOrSatelliteInTheSingular) {
  Epoch one, two;
  one.satellites = two.satellites = {{7, 200, 45, 40, 1}};
  two.satellites.push_back({9, 90, 30, 35, 1});
  const struct { ViewKind view; std::vector<Epoch> epochs; std::string detail; } cases[] = {
      {ViewKind::kTrack, {one}, "1 row, 1 with"}, {ViewKind::kSky, {one}, "1 satellite over 1 row;"},
      {ViewKind::kSky, {one, two}, "2 satellites over 2 rows;"}, {ViewKind::kSats, {one}, "1 row;"},
      {ViewKind::kSignal, {one}, "1 satellite with a signal;"}};
  for (const auto& c : cases) {
    Scene scene;
    BuildView(c.view, TableOf(TableText(c.epochs)), 800, 600, scene);
    EXPECT_TRUE(HasText(scene, c.detail, true)) << c.detail;
  }
}

struct NothingCase {
  const char* scenario;
  ViewKind view;
  std::string table;
  std::string said;
};

class NothingToDraw : public ::testing::TestWithParam<NothingCase> {};

TEST_P(NothingToDraw, TheViewSaysWhyInItsPicture) {
  const NothingCase& c = GetParam();
  Scene scene;
  const ViewOutcome outcome = BuildView(c.view, TableOf(c.table), 800, 600, scene);
  EXPECT_FALSE(outcome.drawn);
  EXPECT_EQ(outcome.problem, c.said);
  EXPECT_TRUE(HasText(scene, c.said));
}

Epoch AtNullIsland() {
  Epoch e;
  e.lon = e.lat = 0;
  return e;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NothingToDraw,
    ::testing::Values(
        NothingCase{"NoRows", ViewKind::kSats, Header(2), "the table has a header but no rows"},
        NothingCase{"NotATable", ViewKind::kSignal, "a,b\r\n1,2\r\n",
                    "not a Quorval table: its header has no column 'TimeOfDay(s)'"},
        NothingCase{"AllRowsDamaged", ViewKind::kSky, Header(2) + "1,2\r\n", "the table has no whole row"},
        NothingCase{"NoPositions", ViewKind::kTrack, TableText({AtNullIsland(), AtNullIsland()}),
                    "no usable positions: no row has a position other than 0\u00B0, 0\u00B0"},
        NothingCase{"NoSatellites", ViewKind::kSky, TableText({Epoch{}}),
                    "no satellites: no row places a satellite in the sky"},
        NothingCase{"NoSignal", ViewKind::kSignal, TableText({Epoch{}}),
                    "no satellite signal: no row has an SNR above 0"}),
    [](const ::testing::TestParamInfo<NothingCase>& info) { return std::string(info.param.scenario); });

}  // namespace
