#include "text/fixed_point.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

using namespace quorval;

namespace {

std::string Fixed(double value, int decimals) {
  char text[kMaxFixedText + 16];
  std::memset(text, '#', sizeof text);
  const char* end = WriteFixed(text, value, decimals);
  EXPECT_EQ(std::string(text + kMaxFixedText, 16), std::string(16, '#')) << "wrote past its room";
  return std::string(text, static_cast<size_t>(end - text));
}

std::string Printf(double value, int decimals) {
  char text[1600];
#ifdef _WIN32
  // The Windows C library's printf neither prints every digit of a double
  // nor a NaN's sign; the standard library's exact text stands in for
  // glibc's printf, with the same ties to even.
  return std::string(text, std::to_chars(text, text + sizeof text, value,
                                         std::chars_format::fixed, decimals).ptr);
#else
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
#endif
}

// The exact decimal expansion (glibc prints every digit of a double exactly)
// shows a tie as a 5 right after the last kept decimal and only zeros after it.
bool IsTieByExpansion(double value, int decimals) {
  // Below half a unit nothing is halfway; from 2^53 on every double is whole.
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 0.5 * std::pow(10.0, -decimals) && magnitude < 0x1p53)) return false;
  const std::string exact = Printf(value, 1100);
  const size_t cut = exact.find('.') + 1 + static_cast<size_t>(decimals);
  return exact[cut] == '5' && exact.find_first_not_of('0', cut + 1) == std::string::npos;
}

// What a tie must print: printf rounding away from zero, which is the
// directed rounding towards the value's own side.
std::string PrintfAwayFromZero(double value, int decimals) {
#ifdef _WIN32
  // One unit in the last place further out is no longer a tie.
  return Printf(std::nextafter(value, std::copysign(INFINITY, value)), decimals);
#endif
  const int saved = std::fegetround();
  std::fesetround(std::signbit(value) ? FE_DOWNWARD : FE_UPWARD);
  std::string text = Printf(value, decimals);
  std::fesetround(saved);
  return text;
}

struct FixedCase {
  double value;
  int decimals;
  const char* text;
};

TEST(FixedPointText, ExactTiesRoundAwayFromZeroAndNearTiesAsTheirExactValue) {
  const FixedCase cases[] = {
      {1.25, 1, "1.3"},
      {-1.25, 1, "-1.3"},
      {45319.25, 1, "45319.3"},    // a time of day with a quarter second
      {45319.75, 1, "45319.8"},
      {0.0625, 3, "0.063"},
      {-0.0625, 3, "-0.063"},
      {0.9375, 3, "0.938"},
      {999.9375, 3, "999.938"},
      {0.9921875, 6, "0.992188"},  // 127/128
      {-0.0078125, 6, "-0.007813"},
      {0.5, 0, "1"},
      {9.5, 0, "10"},              // the carry runs through every digit
      {-99.5, 0, "-100"},
      {0.25, 1, "0.3"},
      {1125899906842624.25, 1, "1125899906842624.3"},  // 2^50 + 1/4: a tie a ulp wide
      // Decimal halves that a double cannot hold exactly round as their value.
      {2.5e-7, 6, "0.000000"},     // just below the half
      {-2.5e-7, 6, "-0.000000"},
      {0.05, 1, "0.1"},            // just above
      {0.15, 1, "0.1"},            // just below
      {2.675, 2, "2.67"},
      {545.45, 1, "545.5"},        // just above
      {1.0005, 3, "1.000"},        // just below
  };
  for (const FixedCase& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.decimals), c.text) << c.value << " with " << c.decimals;
  }
}

TEST(FixedPointText, NegativeValuesThatRoundToZeroKeepTheirSign) {
  const FixedCase cases[] = {
      {-0.0, 3, "-0.000"},
      {0.0, 3, "0.000"},
      {-0.0004, 3, "-0.000"},
      {-0.0499, 1, "-0.0"},
      {-4e-7, 6, "-0.000000"},
      {-std::numeric_limits<double>::denorm_min(), 1, "-0.0"},
      {std::numeric_limits<double>::denorm_min(), 6, "0.000000"},
      {-1.1e-16, 3, "-0.000"},  // the east velocity at a course of 180 degrees
  };
  for (const FixedCase& c : cases) {
    EXPECT_EQ(Fixed(c.value, c.decimals), c.text) << c.value << " with " << c.decimals;
  }
}

// Compares one value with printf: equal except on exact ties, which must
// round away from zero. Returns whether the value was a tie.
bool CheckAgainstPrintf(double value, int decimals) {
  const bool tie = IsTieByExpansion(value, decimals);
#ifdef _WIN32
  // Without a printf that rounds in a directed mode there is no second
  // opinion on ties here; their handling is the same code everywhere and is
  // compared with glibc's printf on Linux.
  if (tie) return true;
#endif
  const std::string expected = tie ? PrintfAwayFromZero(value, decimals) : Printf(value, decimals);
  EXPECT_EQ(Fixed(value, decimals), expected)
      << "value " << Printf(value, 40) << " with " << decimals << (tie ? " (tie)" : "");
  return tie;
}

TEST(FixedPointText, ExtremeValuesPrintAsPrintfPrintsThem) {
  using Limits = std::numeric_limits<double>;
  const double extremes[] = {Limits::infinity(),    -Limits::infinity(),
                             Limits::quiet_NaN(),   -Limits::quiet_NaN(),
                             Limits::max(),         -Limits::max(),
                             1e300,                 -1e300,
                             Limits::denorm_min(),  -Limits::denorm_min(),
                             Limits::min(),         -0.0};
  for (double value : extremes) {
    for (int decimals : {1, 3, 6}) CheckAgainstPrintf(value, decimals);
  }
  EXPECT_EQ(Fixed(Limits::infinity(), 3), "inf");
  EXPECT_EQ(Fixed(-Limits::infinity(), 3), "-inf");
}

TEST(FixedPointText, AgreesWithPrintfOnRandomDoublesOfEveryMagnitudeExceptOnTies) {
  std::mt19937_64 random(20240611);
  int ties = 0;
  for (int i = 0; i < 6000; ++i) {
    // Any bit pattern: every exponent, subnormals, zeros, inf and NaN.
    const double anyBits = std::bit_cast<double>(random());
    // Subnormals and values near the rounding position are rare among those.
    const double subnormal = std::bit_cast<double>(random() & 0x800FFFFFFFFFFFFFu);
    const double gpsLike = std::ldexp(static_cast<double>(random() >> 11), -53) *
                           std::pow(10.0, static_cast<int>(random() % 12) - 4) *
                           ((random() & 1) ? -1 : 1);
    for (int decimals : {1, 3, 6}) {
      // An odd multiple of 2^-(decimals+1) is exactly halfway.
      const int bits = 1 + static_cast<int>(random() % 52);
      const uint64_t odd = (random() >> (64 - bits)) | 1;
      const double tie = std::ldexp(static_cast<double>(odd), -(decimals + 1)) *
                         ((random() & 1) ? -1 : 1);
      // A decimal text ending in 5 just past the kept decimals, as logs hold.
      const double decimalHalf =
          (static_cast<double>(random() % 100000000) * 10 + 5) / std::pow(10.0, decimals + 1);
      for (double value : {anyBits, subnormal, gpsLike, tie, -decimalHalf}) {
        ties += CheckAgainstPrintf(value, decimals);
      }
    }
    if (HasFailure()) break;
  }
  EXPECT_GT(ties, 6000 * 3);  // the generated ties were recognised as ties
}

}  // namespace
