#include "convert/numeric_fields.h"

#include <clocale>
#include <cstdlib>
#include <limits>

#include <locale.h>

#include "output/truncation.h"

namespace {

inline bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// The end of a field's text: its terminator or line end in a copy, or the
// delimiter that follows it where it stands in the sentence.
inline bool IsFieldEnd(char c) {
  return c == '\0' || c == '\r' || c == '\n' || c == ',' || c == '*';
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr uint64_t kExactMantissaLimit = uint64_t{1} << 53;
constexpr int kMaxMantissaDigits = 19;

// The correctly rounded conversion for the few numbers the fast path cannot
// take (long mantissas, large exponents), in the "C" locale whatever the
// process locale is.
double SlowDecimalToDouble(const char* number) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtod_l(number, nullptr, cLocale);
}

}  // namespace

double ReadDecimalReal(const char* text) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  const char* number = p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');

  // Leading zeros carry no value; the digits after them are gathered into a
  // 64-bit mantissa, which is exact up to 19 digits.
  const char* zerosStart = p;
  while (*p == '0') ++p;
  bool anyDigit = p != zerosStart;
  uint64_t mantissa = 0;
  int digits = 0;
  int exponent = 0;
  for (; IsDigit(*p); ++p, ++digits) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
  if (*p == '.') {
    for (++p; IsDigit(*p); ++p, ++digits, --exponent) {
      mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    }
  }
  anyDigit = anyDigit || digits > 0;
  if (!anyDigit) return 0.0;

  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    bool expNegative = false;
    if (*q == '+' || *q == '-') expNegative = (*q++ == '-');
    if (IsDigit(*q)) {
      int written = 0;
      for (; IsDigit(*q); ++q) {
        if (written < 100000) written = written * 10 + (*q - '0');
      }
      exponent += expNegative ? -written : written;
    }
  }

  if (digits <= kMaxMantissaDigits && mantissa == 0) return negative ? -0.0 : 0.0;
  if (digits <= kMaxMantissaDigits && mantissa <= kExactMantissaLimit && exponent >= -22 &&
      exponent <= 22) {
    // One exact operand and one correctly rounded operation: the result is
    // the correctly rounded value of the decimal text.
    double value = static_cast<double>(mantissa);
    value = exponent < 0 ? value / kExactPowers[-exponent] : value * kExactPowers[exponent];
    return negative ? -value : value;
  }
  // Only a validated decimal number reaches here, so the hexadecimal and
  // word forms of strtod cannot ("0x" stops at the 'x' with a zero value).
  return SlowDecimalToDouble(number);
}

namespace {

// atoi's reading, kept in 64 bits and bounded just past the 32-bit range so
// that the caller can apply a further sign before saturating.
int64_t ReadBoundedInt(const char* text) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  constexpr int64_t kBeyond = int64_t{1} << 32;
  int64_t magnitude = 0;
  for (; IsDigit(*p) && magnitude < kBeyond; ++p) magnitude = magnitude * 10 + (*p - '0');
  return negative ? -magnitude : magnitude;
}

int32_t SaturateToInt32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace

int32_t ReadDecimalInt(const char* text) { return SaturateToInt32(ReadBoundedInt(text)); }

double ParseReal(const char* text) {
  const char* p = text;
  const bool negative = (*p == '-');
  if (negative) ++p;
  while (*p == '0') ++p;
  // Nothing but a sign and zeros is zero, without its sign.
  if (!IsDigit(*p) && *p != '.' && IsFieldEnd(*p)) return 0.0;
  const double value = ReadDecimalReal(p);
  return negative ? -value : value;
}

int32_t ParseInt(const char* text) {
  const char* p = text;
  const bool negative = (*p == '-');
  if (negative) ++p;
  while (*p == '0') ++p;
  // Most fields are a few plain digits: no white space or sign to read.
  int64_t value = 0;
  if (IsDigit(*p)) {
    for (; IsDigit(*p) && value < (int64_t{1} << 32); ++p) value = value * 10 + (*p - '0');
  } else if (!IsFieldEnd(*p)) {
    value = ReadBoundedInt(p);
  }
  return SaturateToInt32(negative ? -value : value);
}

double NmeaTimeToSeconds(double hhmmss) {
  const int32_t n = TruncToInt32(hhmmss);
  const int16_t hh = static_cast<int16_t>(n / 10000);
  const int16_t mm = static_cast<int16_t>(n / 100 - hh * 100);
  const double seconds = (hhmmss - hh * 10000) - mm * 100;
  return (hh * 3600 + mm * 60) + seconds;
}

double NmeaToDegrees(double ddmm) {
  const int32_t n = TruncToInt32(ddmm);
  const int16_t degrees = static_cast<int16_t>(n / 100);
  const double minutes = ddmm - degrees * 100;
  return degrees + minutes / 60.0;
}

int32_t ParseIntField(const char* text, int length) {
  if (length == 0) return 0;  // an empty field, or nothing at all
  if (length <= 9) {
    uint32_t value = 0;
    int i = 0;
    for (; i < length && IsDigit(text[i]); ++i) value = value * 10 + static_cast<uint32_t>(text[i] - '0');
    if (i == length) return static_cast<int32_t>(value);
  }
  return ParseInt(text);
}

double ParseRealField(const char* text, int length) {
  const char* p = text;
  const char* const end = text + length;
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  uint64_t mantissa = 0;
  int digits = 0;
  int decimals = 0;
  for (; p < end && IsDigit(*p); ++p, ++digits) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
  const bool point = p < end && *p == '.';
  if (point) {
    for (++p; p < end && IsDigit(*p); ++p, ++digits, ++decimals) {
      mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    }
  }
  if (p != end || digits == 0 || digits > 15) return ParseReal(text);
  // A sign before nothing but zeros is dropped, unless a point follows them
  // ('-000' is 0, '-0.0' is -0): the general reading does the same.
  if (mantissa == 0) return negative && point ? -0.0 : 0.0;
  // At most 15 digits and 15 decimals: one exact operand, one rounding.
  const double value = static_cast<double>(mantissa) / kExactPowers[decimals];
  return negative ? -value : value;
}
