// The views drawn by the Qt painter on the offscreen platform, checked by a
// few pixels; the table's window; and quorval-plot run as a user runs it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QApplication>
#include <QImage>
#include <QTabBar>
#include <cstdlib>
#include <string>

#include "support/program_process.h"
#include "support/temp_folder.h"
#include "view_qt/plot_window.h"
#include "view/png_encoder.h"
#include "view_qt/scene_painter.h"
#include "view/table_text.h"

using namespace quorval;

namespace {

using namespace view;
using view_test::Epoch;

// Two epochs a kilometre apart northwards, with one used satellite at the
// zenith, SNR 45 (the band from 40 to 49).
std::string TwoEpochs() {
  Epoch south, north;
  south.lat = 48.0;
  north.lat = 48.009;
  north.time = south.time + 1;
  south.satellites = north.satellites = {{7, 0, 90, 45, 1}};
  return view_test::Header(12) + view_test::Row(south, 12) + view_test::Row(north, 12);
}

QRgb Pixel(const QImage& image, ScenePoint at) {
  return image.pixel(static_cast<int>(at.x), static_cast<int>(at.y)) & 0xFFFFFF;
}

TEST(PaintedViews, TrackMarksStartAndEndWhereTheArithmeticSays) {
  const PlotTable table = view_test::TableOf(TwoEpochs());
  Scene scene;
  ASSERT_TRUE(BuildView(ViewKind::kTrack, table, 800, 600, scene).drawn);
  const QImage image = SceneImage(scene);
  ASSERT_EQ(image.size(), QSize(800, 600));

  LocalProjection projection;
  MapFrame frame;
  ASSERT_TRUE(TrackFrame(table, 800, 600, projection, frame));
  const MapOffset south = Project(projection, 11.5, 48.0);
  const MapOffset north = Project(projection, 11.5, 48.009);
  const ScenePoint start = MapPixel(frame, south.east, south.north);
  const ScenePoint end = MapPixel(frame, north.east, north.north);
  EXPECT_EQ(Pixel(image, start), 0x1E9E3Au);  // the start's green
  EXPECT_EQ(Pixel(image, end), 0xD02020u);    // the end's red
  EXPECT_EQ(Pixel(image, {start.x, (start.y + end.y) / 2}), 0x1F5FD0u);  // a GPS fix's blue
}

TEST(PaintedViews, SkyPutsTheZenithSatelliteFilledAtTheCentre) {
  const PlotTable table = view_test::TableOf(TwoEpochs());
  Scene scene;
  ASSERT_TRUE(BuildView(ViewKind::kSky, table, 800, 600, scene).drawn);
  const QImage image = SceneImage(scene);
  const SkyFrame sky = SkyFrameFor(table, 800, 600);
  EXPECT_EQ(Pixel(image, {sky.centreX, sky.centreY}), 0x4CAF50u);
  // Just inside the rim at the top, west of north: the sky's white.
  EXPECT_EQ(Pixel(image, SkyPixel(sky, 350, 3)), 0xFFFFFFu);
}

class PlotWindowTest : public ::testing::Test {
 protected:
  TempFolder folder;
};

// The Win32 window's own PNG encoder, read back by Qt's decoder: a drawn
// view and pictures whose runs cross rows or are shorter than a match.
TEST(PngEncoder, QtReadsBackEveryPixel) {
  const PlotTable table = view_test::TableOf(TwoEpochs());
  Scene scene;
  ASSERT_TRUE(BuildView(ViewKind::kSky, table, 640, 480, scene).drawn);
  QImage noise(7, 3, QImage::Format_RGB888);
  for (int y = 0; y < noise.height(); ++y) {
    for (int x = 0; x < noise.width(); ++x) noise.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x ^ y) * 13));
  }
  QImage flat(300, 2, QImage::Format_RGB888);
  flat.fill(qRgb(255, 255, 255));
  flat.setPixel(299, 0, qRgb(0, 0, 0));
  for (const QImage& image : {SceneImage(scene).convertToFormat(QImage::Format_RGB888), noise, flat,
                              QImage(1, 1, QImage::Format_RGB888)}) {
    const std::string png = PngBytes(image.constBits(), image.width(), image.height(),
                                     static_cast<size_t>(image.bytesPerLine()));
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG"))
        << image.width() << "x" << image.height();
    EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB888), image) << image.width() << "x" << image.height();
  }
}

TEST_F(PlotWindowTest, ShowsTheFourViewsAndExportsTheOneOnScreen) {
  PlotWindow window;
  ASSERT_TRUE(window.OpenTable(QString::fromStdString(folder.Write("day1-103+000.csv", TwoEpochs()))));
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Quorval - day1-103+000.csv"));
  auto* tabs = window.findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(3), QStringLiteral("Satellites and DOP"));

  tabs->setCurrentIndex(1);
  QApplication::processEvents();
  EXPECT_EQ(window.CurrentView(), ViewKind::kSky);
  const QImage shown = window.Canvas()->grab().toImage();
  const SkyFrame sky = SkyFrameFor(window.Table(), shown.width(), shown.height());
  EXPECT_EQ(Pixel(shown, {sky.centreX, sky.centreY}), 0x4CAF50u);

  const std::string png = folder / "sky.png";
  EXPECT_EQ(window.ExportView(QString::fromStdString(png)), QString());
  const QImage exported(QString::fromStdString(png));
  EXPECT_EQ(exported.size(), shown.size());
  EXPECT_EQ(Pixel(exported, {sky.centreX, sky.centreY}), 0x4CAF50u);
  const std::string svg = folder / "sky.svg";
  EXPECT_EQ(window.ExportView(QString::fromStdString(svg)), QString());
  EXPECT_EQ(ReadBytes(svg).rfind("<?xml", 0), 0u);
  EXPECT_EQ(window.ExportView(QString::fromStdString(folder / "gone/sky.png")),
            QString::fromStdString("Cannot write '" + (folder / "gone/sky.png") + "': No such file or directory"));
}

TEST_F(PlotWindowTest, ATableThatCannotBeReadIsSaidInTheView) {
  PlotWindow window;
  EXPECT_FALSE(window.OpenTable(QString::fromStdString(folder / "missing.csv")));
  window.show();
  Scene scene = window.Canvas()->CurrentScene();
  bool said = false;
  for (const SceneItem& item : scene.items) {
    const auto* text = std::get_if<SceneText>(&item);
    said = said || (text != nullptr && text->text.find("cannot open") != std::string::npos);
  }
  EXPECT_TRUE(said);
}

// quorval-plot as a separate process without a display.
struct PlotRun {
  const char* scenario;
  std::string table;  // written as table.csv; empty: none
  std::string arguments;
  int status;
  const char* said;  // on standard error (standard output for --help)
  const char* picture;  // the first bytes of the picture written, or null
};

class PlotProgram : public ::testing::TestWithParam<PlotRun> {};

TEST_P(PlotProgram, ExitsAndSaysAsDocumented) {
  const PlotRun& run = GetParam();
  TempFolder folder, captures;
  if (!run.table.empty()) folder.Write("table.csv", run.table);
  test_support::Spawn spawn{{}};
  spawn.program = QUORVAL_PLOT_PATH;
  for (size_t at = 0; at < run.arguments.size();) {
    const size_t blank = std::min(run.arguments.find(' ', at), run.arguments.size());
    spawn.args.push_back(run.arguments.substr(at, blank - at));
    at = blank + 1;
  }
  spawn.unset = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};  // no display at all
  const test_support::Result result = test_support::RunProgram(spawn, folder, captures);
  EXPECT_EQ(result.status, run.status);
  const std::string said = result.out + result.err;
  EXPECT_NE(said.find(run.said), std::string::npos) << said;
  const std::string picture = ReadBytes(folder / "p.png") + ReadBytes(folder / "p.svg");
  if (run.picture == nullptr) {
    EXPECT_EQ(picture, "");
  } else {
    EXPECT_EQ(picture.rfind(run.picture, 0), 0u) << picture.substr(0, 16);
  }
}

Epoch AtNullIsland() {
  Epoch e;
  e.lon = e.lat = 0;
  return e;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, PlotProgram,
    ::testing::Values(
        PlotRun{"Help", "", "--help", 0, "Usage: quorval-plot TABLE --view VIEW -o PICTURE", nullptr},
        PlotRun{"NoView", TwoEpochs(), "table.csv -o p.png", 1, "no --view given", nullptr},
        PlotRun{"UnknownFormat", TwoEpochs(), "table.csv --view sky -o p.jpg", 1,
                "the picture 'p.jpg' must end in .png or .svg", nullptr},
        PlotRun{"NoTable", "", "table.csv --view sky -o p.svg", 2,
                "quorval-plot: cannot open 'table.csv': No such file or directory", nullptr},
        PlotRun{"PngWithoutADisplay", TwoEpochs(), "table.csv --view=signal -o p.png --size 640x480", 0, "",
                "\x89PNG"},
        PlotRun{"Svg", TwoEpochs(), "table.csv --view sats -o p.svg", 0, "", "<?xml"},
        PlotRun{"DamagedRow", TwoEpochs() + "1,2,3\r\n", "table.csv --view track -o p.svg", 4,
                "quorval-plot: table.csv: 1 damaged row left out (line 4: it has 3 of the header's 84 values)",
                "<?xml"},
        PlotRun{"NoPositions", view_test::Header(1) + view_test::Row(AtNullIsland(), 1), "table.csv --view track -o p.png", 4,
                "table.csv: no usable positions", "\x89PNG"},
        PlotRun{"UnwritablePicture", TwoEpochs(), "table.csv --view sky -o gone/p.svg", 3,
                "quorval-plot: cannot write 'gone/p.svg': No such file or directory", nullptr}),
    [](const ::testing::TestParamInfo<PlotRun>& info) { return std::string(info.param.scenario); });

}  // namespace
