#include "text/sent_values.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "text/decimal_digits.h"
#include "text/decimal_reading.h"

namespace quorval {

namespace {

// 10^n, and 1 for n <= 0.
uint64_t PowerOfTen(int n) {
  uint64_t power = 1;
  for (; n > 0; --n) power *= 10;
  return power;
}

// A sent number as its digits: a magnitude of digits.mantissa times
// 10^digits.exponent, with digits.count all its digits, leading zeros too.
struct SentNumber {
  bool negative = false;
  DecimalDigits digits;
};

bool ReadSentNumber(const char* text, int length, int maxDigits, SentNumber& number) {
  if (!IsSentDecimal(text, length)) return false;
  const char* const end = text + length;
  number.negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  decimal_detail::Gather(text, [end](const char* q) { return q < end; }, number.digits);
  return number.digits.count <= maxDigits;
}

// whole, then the last `decimals` digits of fraction after a point; a '-'
// only before a value that is not zero.
char* WriteScaled(char* out, bool negative, uint64_t whole, uint64_t fraction, int decimals) {
  if (negative && (whole != 0 || fraction != 0)) *out++ = '-';
  out = AppendUnsigned(out, whole);
  if (decimals == 0) return out;
  *out++ = '.';
  for (int i = decimals; i > 0; --i, fraction /= 10) out[i - 1] = static_cast<char>('0' + fraction % 10);
  return out + decimals;
}

// The hours, minutes and seconds of hhmmss[.s...]: six digits, then the
// fraction, if any, after a point.
bool ReadClock(const char* time, int length, int clock[3]) {
  if (length < 6) return false;
  for (int i = 0; i < length; ++i) {
    if (i == 6 ? time[i] != '.' : !IsDecimalDigit(time[i])) return false;
  }
  for (int i = 0; i < 3; ++i) clock[i] = (time[2 * i] - '0') * 10 + (time[2 * i + 1] - '0');
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

void PutPair(char* at, int value) { std::memcpy(at, DigitPair(static_cast<uint32_t>(value)), 2); }

// The magnitude in units of 10^-decimals, refused past the signed 64-bit
// range so that the sum of two still fits in 64 unsigned bits.
bool UnitsOf(const SentNumber& number, int decimals, uint64_t& units) {
  const uint64_t factor = PowerOfTen(decimals + number.digits.exponent);
  if (number.digits.mantissa > static_cast<uint64_t>(INT64_MAX) / factor) return false;
  units = number.digits.mantissa * factor;
  return true;
}

}  // namespace

bool IsSentDecimal(const char* text, int length) {
  int i = length > 0 && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  int digits = 0;
  bool point = false;
  for (; i < length; ++i) {
    if (IsDecimalDigit(text[i])) {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits > 0;
}

char* WriteSentDecimal(char* out, const char* text, int length) {
  if (length > kMaxSentValueText || !IsSentDecimal(text, length)) return out;
  std::memcpy(out, text, static_cast<size_t>(length));
  return out + length;
}

char* WritePlainDecimal(char* out, const char* text, int length) {
  if (length > kMaxSentValueText || !IsSentDecimal(text, length)) return out;
  const char* end = text + length;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  const char* point = text;
  while (point < end && *point != '.') ++point;
  const char* whole = text;
  while (whole < point - 1 && *whole == '0') ++whole;  // one digit stays before the point
  bool zero = true;
  for (const char* p = text; p < end; ++p) zero = zero && (*p == '0' || *p == '.');
  if (negative && !zero) *out++ = '-';
  if (whole == point) *out++ = '0';  // ".5"
  std::memcpy(out, whole, static_cast<size_t>(point - whole));
  out += point - whole;
  if (end - point > 1) {  // "12." has no digits after its point
    std::memcpy(out, point, static_cast<size_t>(end - point));
    out += end - point;
  }
  return out;
}

char* WriteTimeOfDay(char* out, const char* time, int length) {
  int clock[3];
  // The seconds take at most the six digits they replace.
  if (length > kMaxSentValueText || !ReadClock(time, length, clock)) return out;
  out = AppendUnsigned(out, static_cast<uint64_t>(clock[0] * 3600 + clock[1] * 60 + clock[2]));
  std::memcpy(out, time + 6, static_cast<size_t>(length - 6));
  return out + (length - 6);
}

char* WriteUtc(char* out, int year, int month, int day, const char* time, int length) {
  int clock[3];
  // "YYYY-MM-DDThh:mm:ss" and 'Z' around the fraction.
  if (length - 6 > kMaxSentValueText - 20 || !ReadClock(time, length, clock)) return out;
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month) || clock[0] > 23 || clock[1] > 59 || clock[2] > 60) {
    return out;
  }
  std::memcpy(out, "YYYY-MM-DDThh:mm:ss", 19);
  PutPair(out, year / 100);
  PutPair(out + 2, year % 100);
  PutPair(out + 5, month);
  PutPair(out + 8, day);
  PutPair(out + 11, clock[0]);
  PutPair(out + 14, clock[1]);
  PutPair(out + 17, clock[2]);
  out += 19;
  // A point with no digits after it adds nothing to the time.
  if (length > 7) {
    std::memcpy(out, time + 6, static_cast<size_t>(length - 6));
    out += length - 6;
  }
  *out = 'Z';
  return out + 1;
}

int FullYearOfRmc(int twoDigitYear) {
  const int year = (twoDigitYear % 100 + 100) % 100;
  return year < 80 ? 2000 + year : 1900 + year;
}

char* WriteDegrees(char* out, const char* angle, int length, int wholeDigits, bool negative) {
  constexpr int kMaxMinuteDecimals = 16;
  // The degrees then stay far below 2^64, whatever wholeDigits allows.
  constexpr int kMaxWholeDigits = 19;
  int whole = 0;
  while (whole < length && IsDecimalDigit(angle[whole])) ++whole;
  if (whole == 0 || whole > wholeDigits || whole > kMaxWholeDigits) return out;
  if (whole < length && angle[whole] != '.') return out;
  const int decimals = whole < length ? length - whole - 1 : 0;
  if (decimals > kMaxMinuteDecimals) return out;
  for (int i = whole + 1; i < length; ++i) {
    if (!IsDecimalDigit(angle[i])) return out;
  }
  // The last two whole digits and the fraction are the minutes.
  const int minutesStart = whole > 2 ? whole - 2 : 0;
  uint64_t degrees = 0;
  uint64_t minutes = 0;  // in units of 10^-decimals
  for (int i = 0; i < minutesStart; ++i) degrees = degrees * 10 + static_cast<uint64_t>(angle[i] - '0');
  for (int i = minutesStart; i < length; ++i) {
    if (i != whole) minutes = minutes * 10 + static_cast<uint64_t>(angle[i] - '0');
  }
  // minutes / 10^decimals / 60 in units of 10^-places is
  // minutes * 10^(places - decimals - 2) * 5 / 3, below 5 * 10^18: a third
  // of a whole number, whose remainder of 1 or 2 is never a tie.
  const int places = std::max(7, decimals + 2);
  const uint64_t fifths = minutes * 5 * PowerOfTen(places - decimals - 2);
  const uint64_t units = fifths / 3 + (fifths % 3 == 2 ? 1 : 0);
  // A damaged field may have 60 minutes or more, which carry into the degrees.
  const uint64_t unit = PowerOfTen(places);
  return WriteScaled(out, negative, degrees + units / unit, units % unit, places);
}

char* WriteDecimalSum(char* out, const char* a, int aLength, const char* b, int bLength) {
  SentNumber x, y;
  if (!ReadSentNumber(a, aLength, 18, x) || !ReadSentNumber(b, bLength, 18, y)) return out;
  const int decimals = -std::min(x.digits.exponent, y.digits.exponent);
  uint64_t xUnits, yUnits;
  if (!UnitsOf(x, decimals, xUnits) || !UnitsOf(y, decimals, yUnits)) return out;
  uint64_t sum;
  bool negative;
  if (x.negative == y.negative) {
    sum = xUnits + yUnits;
    negative = x.negative;
  } else if (xUnits >= yUnits) {
    sum = xUnits - yUnits;
    negative = x.negative;
  } else {
    sum = yUnits - xUnits;
    negative = y.negative;
  }
  const uint64_t unit = PowerOfTen(decimals);
  return WriteScaled(out, negative, sum / unit, sum % unit, decimals);
}

char* WriteKnotsAsMetresPerSecond(char* out, const char* knots, int length) {
  SentNumber speed;
  if (!ReadSentNumber(knots, length, 15, speed)) return out;
  // m * 10^-s knots are m * 463 * 10^2 / (9 * 10^s) units of 10^-4 m/s,
  // m * factor / divisor with the powers of ten cancelled.
  const int decimals = -speed.digits.exponent;
  const uint64_t factor = 463 * PowerOfTen(2 - decimals);
  const uint64_t divisor = 9 * PowerOfTen(decimals - 2);
  // Fifteen digits times 46300 pass 2^64: divide before multiplying.
  const uint64_t m = speed.digits.mantissa;
  const uint64_t rest = m % divisor * factor;
  uint64_t units = m / divisor * factor + rest / divisor;
  if (2 * (rest % divisor) >= divisor) ++units;  // ties away from zero
  return WriteScaled(out, speed.negative, units / 10000, units % 10000, 4);
}

}  // namespace quorval
