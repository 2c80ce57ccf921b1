#include <charconv>
#include <cmath>
#include <cstdio>

#include "view/geometry.h"

namespace quorval::view {

namespace {

// Tolerance for a tick that floating-point steps land just beside.
constexpr double kSlack = 1e-9;

int DecimalsFor(double step) {
  if (step >= 1) return 0;
  return static_cast<int>(std::ceil(-std::log10(step) - kSlack));
}

}  // namespace

std::string FixedText(double value, int decimals) {
  char text[64];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return error == std::errc() ? std::string(text, end) : std::string("?");
}

double NiceStep(double span, int intervals) {
  if (!(span > 0) || intervals < 1) return 1;
  const double raw = span / intervals;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double multiple : {1.0, 2.0, 5.0}) {
    if (multiple * power >= raw * (1 - kSlack)) return multiple * power;
  }
  return 10 * power;
}

ValueRange NiceRange(double low, double high, int intervals) {
  if (high < low) std::swap(low, high);
  if (high == low) {
    const double half = low == 0 ? 1 : std::fabs(low) * 0.1;
    low -= half;
    high += half;
  }
  const double step = NiceStep(high - low, intervals);
  return {std::floor(low / step + kSlack) * step, std::ceil(high / step - kSlack) * step};
}

std::vector<double> TicksOf(double low, double high, double step) {
  std::vector<double> ticks;
  if (!(step > 0) || high < low) return ticks;
  const double first = std::ceil(low / step - kSlack);
  const double last = std::floor(high / step + kSlack);
  for (double k = first; k <= last && ticks.size() < 1000; ++k) ticks.push_back(k * step);
  return ticks;
}

std::string TickLabel(double value, double step) {
  const int decimals = DecimalsFor(step);
  // A tick a rounding error away from zero is zero, not "-0".
  if (std::fabs(value) < step * 1e-6) value = 0;
  return FixedText(value, decimals);
}

double NiceTimeStep(double span, int intervals) {
  if (!(span > 0) || intervals < 1) return 1;
  constexpr double kClockSteps[] = {1,    2,    5,    10,    15,    30,    60,   120, 300,
                                    600,  900,  1800, 3600,  7200,  10800, 21600, 43200, 86400};
  const double raw = span / intervals;
  if (raw < 1) return NiceStep(span, intervals);
  for (const double step : kClockSteps) {
    if (step >= raw) return step;
  }
  return 86400 * NiceStep(span / 86400, intervals);
}

std::string TimeOfDayLabel(double seconds, double step) {
  double ofDay = std::fmod(seconds, 86400);
  if (ofDay < 0) ofDay += 86400;
  const int decimals = DecimalsFor(step);
  // Round to what is shown first, so that 59.95 s shows as the next minute.
  const double scale = std::pow(10.0, decimals);
  ofDay = std::fmod(std::round(ofDay * scale) / scale, 86400);
  const int whole = static_cast<int>(ofDay);
  const int hours = whole / 3600, minutes = whole / 60 % 60;
  const double secs = ofDay - hours * 3600 - minutes * 60;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d", hours, minutes);
  if (step >= 60) return text;
  return text + std::string(secs < 10 ? ":0" : ":") + FixedText(secs, decimals);
}

}  // namespace quorval::view
