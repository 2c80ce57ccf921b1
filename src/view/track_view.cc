#include <algorithm>
#include <cmath>

#include "view/plot_frame.h"
#include "view/views.h"

namespace quorval::view {

namespace {

constexpr double kLegendRows = 14;

// The GGA fix quality's colours, as GNSS tools commonly show them.
struct Quality {
  const char* label;
  Colour colour;
};
constexpr Quality kQualities[] = {
    {"0 no fix", {0x9A, 0x9A, 0x9A}},    {"1 GPS fix", {0x1F, 0x5F, 0xD0}},
    {"2 DGPS", {0x00, 0x9C, 0xA6}},      {"3 PPS", {0x7B, 0x3F, 0xB8}},
    {"4 RTK fixed", {0x1E, 0x9E, 0x3A}}, {"5 RTK float", {0xE0, 0x8A, 0x00}},
    {"6 estimated", {0xC0, 0x39, 0x9A}}, {"7 manual", {0x6B, 0x4A, 0x2B}},
    {"8 simulation", {0x55, 0x55, 0x55}},
};
constexpr Quality kOtherQuality{"other", {0x30, 0x30, 0x30}};
constexpr int kQualityCount = sizeof kQualities / sizeof kQualities[0];
constexpr Colour kStart{0x1E, 0x9E, 0x3A};
constexpr Colour kEnd{0xD0, 0x20, 0x20};

const Quality& QualityOf(int16_t gpsqual) {
  return gpsqual >= 0 && gpsqual < kQualityCount ? kQualities[gpsqual] : kOtherQuality;
}

std::string Distance(double metres) {
  if (metres >= 1000) return FixedText(metres / 1000, metres >= 10000 ? 0 : 1) + " km";
  return FixedText(metres, 0) + " m";
}

// The longest of 1, 2 or 5 times a power of ten metres not above `most`.
double ScaleBarLength(double most) {
  const double power = std::pow(10.0, std::floor(std::log10(most)));
  for (const double multiple : {5.0, 2.0, 1.0}) {
    if (multiple * power <= most) return multiple * power;
  }
  return power;
}

struct Extent {
  double lon0 = 0, lat0 = 0;
  double eastLow = 0, eastHigh = 0, northLow = 0, northHigh = 0;
  size_t positions = 0;
};

// The track's centre and extent: longitudes are taken relative to the first
// position, so that a track across the 180th meridian has one centre.
Extent ExtentOf(const PlotTable& table) {
  Extent extent;
  double firstLon = 0, lonLow = 0, lonHigh = 0, latLow = 0, latHigh = 0;
  for (size_t i = 0; i < table.Rows(); ++i) {
    if (!HasPosition(table.lon[i], table.lat[i])) continue;
    if (extent.positions++ == 0) {
      firstLon = table.lon[i];
      latLow = latHigh = table.lat[i];
    }
    const double lon = WrapLongitude(table.lon[i] - firstLon);
    lonLow = std::min(lonLow, lon);
    lonHigh = std::max(lonHigh, lon);
    latLow = std::min(latLow, table.lat[i]);
    latHigh = std::max(latHigh, table.lat[i]);
  }
  extent.lon0 = WrapLongitude(firstLon + (lonLow + lonHigh) / 2);
  extent.lat0 = (latLow + latHigh) / 2;
  const LocalProjection projection = ProjectionAbout(extent.lon0, extent.lat0);
  extent.eastHigh = (lonHigh - lonLow) / 2 * projection.metresPerDegreeEast;
  extent.eastLow = -extent.eastHigh;
  extent.northHigh = (latHigh - latLow) / 2 * kMetresPerDegree;
  extent.northLow = -extent.northHigh;
  return extent;
}

std::vector<LegendEntry> LegendOf(const PlotTable& table) {
  bool seen[kQualityCount + 1] = {};
  for (size_t i = 0; i < table.Rows(); ++i) {
    if (!HasPosition(table.lon[i], table.lat[i])) continue;
    const int16_t q = table.gpsqual[i];
    seen[q >= 0 && q < kQualityCount ? q : kQualityCount] = true;
  }
  std::vector<LegendEntry> entries;
  for (int q = 0; q <= kQualityCount; ++q) {
    if (!seen[q]) continue;
    const Quality& quality = q < kQualityCount ? kQualities[q] : kOtherQuality;
    entries.push_back({quality.label, quality.colour, LegendMark::kLine});
  }
  entries.push_back({"start", kStart, LegendMark::kFilled});
  entries.push_back({"end", kEnd, LegendMark::kSquare});
  return entries;
}

PlotArea TrackArea(const PlotTable& table, const Scene& scene, const std::vector<LegendEntry>& legend) {
  return AreaBelow(scene, TitleBottom(table), std::max(LegendWidth(legend, kLegendRows, "fix quality"), 110.0) + 16);
}

// Beside the map, below the legend, where it hides none of the track.
void AddScaleBar(Scene& scene, double x, double y, double room, const MapFrame& frame) {
  const double metres = ScaleBarLength(room * frame.metresPerPixel);
  const double pixels = metres / frame.metresPerPixel;
  AddText(scene, x, y, "scale", kTickSize + 1, HAnchor::kStart, VAnchor::kTop, kInk, true);
  y += 40;
  AddLine(scene, x, y, x + pixels, y, kInk, 3);
  AddLine(scene, x, y - 6, x, y + 4, kInk, 1.5);
  AddLine(scene, x + pixels, y - 6, x + pixels, y + 4, kInk, 1.5);
  AddText(scene, x + pixels / 2, y - 6, Distance(metres), kTickSize, HAnchor::kMiddle, VAnchor::kBottom);
}

void AddEndMark(Scene& scene, ScenePoint at, MarkerShape shape, Colour colour, const char* label) {
  Marker mark;
  mark.centre = at;
  mark.radius = 6;
  mark.shape = shape;
  mark.stroke = kWhite;
  mark.strokeWidth = 1.5;
  mark.fill = colour;
  scene.items.emplace_back(mark);
  AddText(scene, at.x + 9, at.y - 7, label, kTickSize, HAnchor::kStart, VAnchor::kBottom, colour, true);
}

}  // namespace

bool HasPosition(double lon, double lat) {
  return !(lon == 0 && lat == 0) && std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

bool TrackFrame(const PlotTable& table, double width, double height, LocalProjection& projection,
                MapFrame& frame) {
  const Extent extent = ExtentOf(table);
  if (extent.positions == 0) return false;
  Scene sized;
  sized.width = width;
  sized.height = height;
  projection = ProjectionAbout(extent.lon0, extent.lat0);
  frame = FitMap(extent.eastLow, extent.eastHigh, extent.northLow, extent.northHigh,
                 TrackArea(table, sized, LegendOf(table)));
  return true;
}

ViewOutcome BuildTrackView(const PlotTable& table, Scene& scene) {
  LocalProjection projection;
  MapFrame frame;
  if (!TrackFrame(table, scene.width, scene.height, projection, frame)) {
    const std::string problem = "no usable positions: no row has a position other than 0\u00B0, 0\u00B0";
    AddNothingToShow(scene, AreaBelow(scene, AddTitle(scene, table, "Track", ""), 0), problem);
    return {false, problem};
  }
  const Extent extent = ExtentOf(table);
  const std::vector<LegendEntry> legend = LegendOf(table);
  const PlotArea area = TrackArea(table, scene, legend);
  char detail[160];
  std::snprintf(detail, sizeof detail, "%s, %zu with a position; %s east-west by %s north-south",
                CountOf(table.Rows(), "row").c_str(), extent.positions, Distance(extent.eastHigh - extent.eastLow).c_str(),
                Distance(extent.northHigh - extent.northLow).c_str());
  AddTitle(scene, table, "Track", detail);

  // Axes in metres (kilometres for wide tracks) east and north of the centre.
  const double halfWidth = area.width / 2 * frame.metresPerPixel;
  const double halfHeight = area.height / 2 * frame.metresPerPixel;
  const double unit = std::max(halfWidth, halfHeight) > 5000 ? 1000 : 1;
  const double step = NiceStep(2 * std::max(halfWidth, halfHeight) / unit, 8);
  const LinearScale x{-halfWidth / unit, halfWidth / unit, area.left, area.Right()};
  const LinearScale y{-halfHeight / unit, halfHeight / unit, area.Bottom(), area.top};
  AddXAxis(scene, area, x, NumberTicks(x.low, x.high, step), unit > 1 ? "east (km)" : "east (m)");
  AddYAxis(scene, area, y, NumberTicks(y.low, y.high, step), unit > 1 ? "north (km)" : "north (m)");
  AddAreaFrame(scene, area);

  // The track in pieces of one fix quality; a row without a position breaks it.
  NearThinner piece;
  Colour colour;
  int16_t quality = 0;
  bool joined = false;
  const auto finish = [&] {
    std::vector<ScenePoint> points = piece.Take();
    if (points.size() == 1) {
      Marker dot;
      dot.centre = points[0];
      dot.radius = 1.5;
      dot.stroke = kNoColour;
      dot.fill = colour;
      scene.items.emplace_back(dot);
    } else if (points.size() > 1) {
      scene.items.emplace_back(Polyline{std::move(points), colour, 2, false});
    }
  };
  ScenePoint first{}, last{};
  bool any = false;
  for (size_t i = 0; i < table.Rows(); ++i) {
    if (!HasPosition(table.lon[i], table.lat[i])) {
      if (joined) finish();
      joined = false;
      continue;
    }
    const MapOffset offset = Project(projection, table.lon[i], table.lat[i]);
    const ScenePoint p = MapPixel(frame, offset.east, offset.north);
    if (joined && table.gpsqual[i] != quality) {
      piece.Add(p);  // the piece reaches the first point of the next
      finish();
      joined = false;
    }
    if (!joined) {
      quality = table.gpsqual[i];
      colour = QualityOf(quality).colour;
      joined = true;
    }
    piece.Add(p);
    if (!any) first = p;
    any = true;
    last = p;
  }
  if (joined) finish();
  AddEndMark(scene, first, MarkerShape::kCircle, kStart, "start");
  AddEndMark(scene, last, MarkerShape::kSquare, kEnd, "end");
  const double legendLeft = area.Right() + 18;
  const double bottom = AddLegend(scene, legendLeft, area.top, "fix quality", legend, kLegendRows);
  AddScaleBar(scene, legendLeft + 2, bottom + 16, scene.width - legendLeft - 16, frame);
  return {true, ""};
}

}  // namespace quorval::view
