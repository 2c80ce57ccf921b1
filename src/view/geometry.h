// The arithmetic of the pictures: value scales and their tick steps, the
// local map projection of a track, and the polar sky of the satellites.
#pragma once

#include <string>
#include <vector>

#include "view/scene.h"

namespace quorval::view {

// The rectangle inside the axes, in pixels.
struct PlotArea {
  double left = 0, top = 0, width = 0, height = 0;
  double Right() const { return left + width; }
  double Bottom() const { return top + height; }
};

// Maps values between low and high linearly onto the pixels from `from` to
// `to` (to may be below from: a vertical axis grows upwards).
struct LinearScale {
  double low = 0, high = 1, from = 0, to = 1;
  double operator()(double value) const { return from + (value - low) * (to - from) / (high - low); }
};

// --- Tick steps (nice_ticks.cc) ---

// The smallest of 1, 2 or 5 times a power of ten that cuts span into at
// most `intervals` steps.
double NiceStep(double span, int intervals);
// The range widened to whole nice steps; an empty range is opened around
// its value, so that a constant still has an axis.
struct ValueRange {
  double low = 0, high = 1;
};
ValueRange NiceRange(double low, double high, int intervals);
// The multiples of step from low to high, both included when they are multiples.
std::vector<double> TicksOf(double low, double high, double step);
// The value with that many decimals, '.' as the decimal point whatever the
// locale (the toolkit sets the user's), so that a picture is the same
// everywhere.
std::string FixedText(double value, int decimals);
// The value with as many decimals as the step needs ("0.5", "10", "-2").
std::string TickLabel(double value, double step);

// A step for seconds of a day that a clock reads well: 1, 2, 5, 10, 15 or
// 30 seconds or minutes, 1, 2, 3, 6 or 12 hours, whole days; tenths below a
// second.
double NiceTimeStep(double span, int intervals);
// The time of day of a tick, modulo a day: "14:05" for steps of a minute or
// more, "14:05:30" for seconds, "14:05:30.5" below.
std::string TimeOfDayLabel(double seconds, double step);

// --- Map and sky (projection.cc) ---

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371000.0;  // metres, mean sphere
constexpr double kMetresPerDegree = kEarthRadius * kPi / 180;

// Longitude into [-180, 180).
double WrapLongitude(double degrees);

// An equirectangular projection about a centre point: metres east and north
// of it, with the scale of the centre's parallel. Across the few hundred
// kilometres of a log the distortion stays below a fraction of a per cent,
// and a track that crosses the 180th meridian stays in one piece.
struct LocalProjection {
  double lon0 = 0, lat0 = 0;
  double metresPerDegreeEast = kMetresPerDegree;
};
LocalProjection ProjectionAbout(double lon0, double lat0);
struct MapOffset {
  double east = 0, north = 0;  // metres
};
MapOffset Project(const LocalProjection& projection, double lon, double lat);

// Metres onto pixels with one scale on both axes, north up: the frame that
// fits the given extent, centred, into the area.
struct MapFrame {
  double centreX = 0, centreY = 0;  // pixel of the extent's centre
  double centreEast = 0, centreNorth = 0;  // metres at that pixel
  double metresPerPixel = 1;
};
MapFrame FitMap(double eastLow, double eastHigh, double northLow, double northHigh, const PlotArea& area);
ScenePoint MapPixel(const MapFrame& frame, double east, double north);

// The sky seen in the usual convention of satellite sky plots: as on a map,
// north up and east to the right (azimuth clockwise from the top), which is
// the sky looked at from above, not from below; the zenith (elevation 90°)
// at the centre and the horizon (0°) on the rim, elevation falling
// linearly with the distance from the centre.
struct SkyFrame {
  double centreX = 0, centreY = 0, radius = 1;
};
ScenePoint SkyPixel(const SkyFrame& frame, double azimuthDeg, double elevationDeg);

}  // namespace quorval::view
