#include "convert/numeric_fields.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>

#include <locale.h>

#include "output/truncation.h"

namespace quorval {

namespace {

inline bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsFieldEnd(char c) {
  return c == '\0' || c == '\r' || c == '\n' || c == ',' || c == '*';
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;
constexpr uint64_t kExactMantissaLimit = uint64_t{1} << 53;
// A 64-bit mantissa holds any 19 decimal digits.
constexpr int kMaxMantissaDigits = 19;

// The digits of a decimal number, [digits][.digits], as one integer and a
// power of ten: value = mantissa * 10^exponent, exact while count <= 19.
struct Decimal {
  uint64_t mantissa;
  int count;
  int exponent;
};

const char* GatherDigits(const char* p, Decimal& d) {
  for (; IsDigit(*p); ++p, ++d.count) d.mantissa = d.mantissa * 10 + static_cast<uint64_t>(*p - '0');
  if (*p == '.') {
    for (++p; IsDigit(*p); ++p, ++d.count, --d.exponent) {
      d.mantissa = d.mantissa * 10 + static_cast<uint64_t>(*p - '0');
    }
  }
  return p;
}

// One exact operand and one correctly rounded operation give the correctly
// rounded value of the decimal text: false when either is out of reach.
bool ExactValue(const Decimal& d, double& value) {
  if (d.count > kMaxMantissaDigits || d.mantissa > kExactMantissaLimit ||
      d.exponent < -kLargestExactPower || d.exponent > kLargestExactPower) {
    return false;
  }
  value = static_cast<double>(d.mantissa);
  value = d.exponent < 0 ? value / kExactPowers[-d.exponent] : value * kExactPowers[d.exponent];
  return true;
}

// Decimal digits as atoi reads them, kept in 64 bits and bounded just past
// the 32-bit range, so that a sign applied later still saturates right.
const char* ReadBoundedDigits(const char* p, int64_t& value) {
  constexpr int64_t kBeyond = int64_t{1} << 32;
  for (; IsDigit(*p) && value < kBeyond; ++p) value = value * 10 + (*p - '0');
  return p;
}

int64_t ReadBoundedInt(const char* text) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  int64_t magnitude = 0;
  ReadBoundedDigits(p, magnitude);
  return negative ? -magnitude : magnitude;
}

int32_t SaturateToInt32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// The correctly rounded conversion for the few numbers the exact path cannot
// take (long mantissas, large exponents), in the "C" locale whatever the
// process locale is.
#ifdef _WIN32
// The power of ten just above the first significant digit of a decimal
// number (positive for a magnitude of 1 or more), exponent included.
int64_t DecimalOrder(const char* p) {
  int64_t order = 0;
  bool significant = false;
  for (; IsDigit(*p); ++p) {
    significant = significant || *p != '0';
    if (significant) ++order;
  }
  if (*p == '.') {
    for (++p; IsDigit(*p) && !significant; ++p) {
      significant = *p != '0';
      if (!significant) --order;
    }
    while (IsDigit(*p)) ++p;
  }
  if (*p == 'e' || *p == 'E') {
    const bool negative = p[1] == '-';
    int64_t written = 0;
    ReadBoundedDigits(p + (p[1] == '+' || p[1] == '-' ? 2 : 1), written);
    order += negative ? -written : written;
  }
  return order;
}

// Not every Windows C library reads long decimals correctly rounded; the
// standard library's reading does, and knows no locale. It takes no '+', and
// leaves a value beyond the double range to its caller.
double SlowDecimalToDouble(const char* number) {
  const bool negative = *number == '-';
  const char* text = number + (*number == '+' || *number == '-' ? 1 : 0);
  double value = 0.0;
  if (std::from_chars(text, text + std::strlen(text), value).ec == std::errc::result_out_of_range) {
    value = DecimalOrder(text) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}
#else
double SlowDecimalToDouble(const char* number) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtod_l(number, nullptr, cLocale);
}
#endif

// What follows a field's sign and leading zeros. Most fields are a plain
// decimal (digits and a point) and are read at once; anything else is read
// as atof reads it.
double ReadFieldMagnitude(const char* p) {
  Decimal d{0, 0, 0};
  double value;
  if (IsFieldEnd(*GatherDigits(p, d)) && d.count > 0 && ExactValue(d, value)) return value;
  return ReadDecimalReal(p);
}

}  // namespace

double ReadDecimalReal(const char* text) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  const char* number = p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  // Leading zeros carry no value, and do not count against the digits that
  // a 64-bit mantissa holds.
  const char* zerosStart = p;
  while (*p == '0') ++p;
  const bool zeros = p != zerosStart;
  Decimal d{0, 0, 0};
  p = GatherDigits(p, d);
  if (d.count == 0 && !zeros) return 0.0;  // no number at all, not even a signed zero
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    bool exponentNegative = false;
    if (*q == '+' || *q == '-') exponentNegative = (*q++ == '-');
    int64_t written = 0;
    if (IsDigit(*q)) ReadBoundedDigits(q, written);
    // Far beyond any double either way; the bound keeps the sum in range.
    if (written > 100000) written = 100000;
    d.exponent += static_cast<int>(exponentNegative ? -written : written);
  }
  double value;
  if (ExactValue(d, value)) return negative ? -value : value;
  // Only a validated decimal number reaches here, so the hexadecimal and
  // word forms of strtod cannot ("0x" stops at the 'x' with a zero value).
  return SlowDecimalToDouble(number);
}

double ParseReal(const char* text) {
  const bool negative = *text == '-';
  const char* p = text + (negative ? 1 : 0);
  while (*p == '0') ++p;
  // The sign of zero: a '-' before nothing but zeros is dropped; before
  // anything else it negates what the rest reads as, zero too.
  if (IsFieldEnd(*p)) return 0.0;
  const double magnitude = ReadFieldMagnitude(p);
  return negative ? -magnitude : magnitude;
}

int32_t ParseInt(const char* text) {
  const bool negative = *text == '-';
  const char* p = text + (negative ? 1 : 0);
  while (*p == '0') ++p;
  int64_t magnitude = 0;
  if (IsDigit(*p)) {
    ReadBoundedDigits(p, magnitude);  // most fields: plain digits
  } else if (!IsFieldEnd(*p)) {
    magnitude = ReadBoundedInt(p);  // white space and a sign of its own
  }
  return SaturateToInt32(negative ? -magnitude : magnitude);
}

namespace {

// Digits, then '.' and digits or nothing, up to the field's end: the number
// of digits before the point, or -1 for text of another form.
int DecimalWholeDigits(const FieldSpan& field) {
  if (!field.present) return -1;
  int i = 0;
  while (i < field.length && IsDigit(field.text[i])) ++i;
  const int whole = i;
  if (i < field.length && field.text[i] == '.') {
    for (++i; i < field.length && IsDigit(field.text[i]);) ++i;
  }
  return i == field.length ? whole : -1;
}

}  // namespace

bool IsNmeaTime(const FieldSpan& field) { return DecimalWholeDigits(field) == 6; }

bool IsNmeaAngle(const FieldSpan& field, int wholeDigits) {
  const int whole = DecimalWholeDigits(field);
  return whole >= 1 && whole <= wholeDigits;
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

}  // namespace quorval
