// Values written as the receiver sent them: its decimal text, checked and
// carried digit for digit, and the few values derived from such text by
// exact decimal arithmetic (no binary double on the way), for the tables
// that lose nothing. Each writer puts its text at out and returns its end;
// it writes nothing (returns out) when its input is not of its form, which
// the tables show as an empty cell.
#pragma once

#include <cstdint>

namespace quorval {

// Room for any text these procedures write.
constexpr int kMaxSentValueText = 64;

// A number as NMEA writes it: an optional sign, digits, and an optional
// point with digits after it ("-0.5", "12.", ".5", "007"); at least one
// digit, nothing else.
bool IsSentDecimal(const char* text, int length);

// The text itself when it is such a number, else nothing.
char* WriteSentDecimal(char* out, const char* text, int length);

// The same number in the form JSON and every other reader takes: no '+', no
// leading zeros, a digit on each side of a point that has digits after it
// ("+007.50" gives "7.50", ".5" gives "0.5", "12." gives "12", "-0.0"
// gives "0.0"); the digits the receiver sent are kept. Nothing when the
// text is no number.
char* WritePlainDecimal(char* out, const char* text, int length);

// hhmmss[.s...] (six digits before the point) as seconds since midnight,
// with the fraction exactly as sent: "120000.05" gives "43200.05",
// "235960" gives "86400", "000000.000" gives "0.000".
char* WriteTimeOfDay(char* out, const char* time, int length);

// ISO 8601 UTC of a date and an hhmmss[.s...] time, the fraction exactly as
// sent: 2024-03-23 and "120000.05" give "2024-03-23T12:00:00.05Z". Nothing
// when the date is no calendar date (years 1 to 9999), or the time has hours
// past 23, minutes past 59 or seconds past 60 (a leap second).
char* WriteUtc(char* out, int year, int month, int day, const char* time, int length);

// A two-digit year as RMC sends it, in 1980-2079 (the receivers' epoch
// starts at 1980).
int FullYearOfRmc(int twoDigitYear);

// An NMEA angle ([d]ddmm[.m...], as many whole digits as wholeDigits allows:
// 4 for a latitude, 5 for a longitude) as signed decimal degrees: as many
// decimals as the minutes had plus two, never fewer than seven, rounded to
// nearest from the exact value (which, a multiple of 1/60 of the last
// minute digit, is never a tie). "4807.038" gives "48.1173000",
// "4404.1306024" gives "44.068843373", "01131.000" west gives "-11.5166667".
// Nothing when the text is not of the form or has more than 16 decimals. A
// value of zero is written without a sign.
char* WriteDegrees(char* out, const char* angle, int length, int wholeDigits, bool negative);

// The exact decimal sum of two numbers as sent, with the decimals of the
// longer fraction: "545.4" and "46.9" give "592.3", "-3.25" and "1" give
// "-2.25", "0.5" and "-0.5" give "0.0". Nothing when either is not a number
// or either has more than 18 digits.
char* WriteDecimalSum(char* out, const char* a, int aLength, const char* b, int bLength);

// A speed in knots as sent, in metres per second (1 knot = 1852/3600 m/s),
// with four decimals rounded to nearest, ties away from zero: "1.0" gives
// "0.5144", "-2" gives "-1.0289". Nothing when the text is not a number or
// has more than 15 digits.
char* WriteKnotsAsMetresPerSecond(char* out, const char* knots, int length);

}  // namespace quorval
