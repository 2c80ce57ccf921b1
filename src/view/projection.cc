#include <algorithm>
#include <cmath>

#include "view/geometry.h"

namespace quorval::view {

double WrapLongitude(double degrees) {
  double wrapped = std::fmod(degrees + 180, 360);
  if (wrapped < 0) wrapped += 360;
  return wrapped - 180;
}

LocalProjection ProjectionAbout(double lon0, double lat0) {
  return {lon0, lat0, kMetresPerDegree * std::cos(lat0 * kPi / 180)};
}

MapOffset Project(const LocalProjection& projection, double lon, double lat) {
  return {WrapLongitude(lon - projection.lon0) * projection.metresPerDegreeEast,
          (lat - projection.lat0) * kMetresPerDegree};
}

MapFrame FitMap(double eastLow, double eastHigh, double northLow, double northHigh, const PlotArea& area) {
  // A standing receiver still gets a map some metres across.
  constexpr double kLeastSpan = 20;  // metres
  const double east = std::max(eastHigh - eastLow, kLeastSpan);
  const double north = std::max(northHigh - northLow, kLeastSpan);
  MapFrame frame;
  frame.centreX = area.left + area.width / 2;
  frame.centreY = area.top + area.height / 2;
  frame.centreEast = (eastLow + eastHigh) / 2;
  frame.centreNorth = (northLow + northHigh) / 2;
  // A little room around the track, so that its ends are not on the frame.
  constexpr double kRoom = 1.08;
  frame.metresPerPixel = kRoom * std::max(east / std::max(area.width, 1.0), north / std::max(area.height, 1.0));
  return frame;
}

ScenePoint MapPixel(const MapFrame& frame, double east, double north) {
  return {frame.centreX + (east - frame.centreEast) / frame.metresPerPixel,
          frame.centreY - (north - frame.centreNorth) / frame.metresPerPixel};
}

ScenePoint SkyPixel(const SkyFrame& frame, double azimuthDeg, double elevationDeg) {
  const double distance = frame.radius * (90 - elevationDeg) / 90;
  const double azimuth = azimuthDeg * kPi / 180;
  return {frame.centreX + distance * std::sin(azimuth), frame.centreY - distance * std::cos(azimuth)};
}

}  // namespace quorval::view
