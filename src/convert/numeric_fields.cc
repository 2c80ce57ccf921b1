#include "convert/numeric_fields.h"

#include <cstdint>
#include <limits>

#include "output/truncation.h"
#include "text/decimal_reading.h"

namespace quorval {

namespace {

inline bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsFieldEnd(char c) {
  return c == '\0' || c == '\r' || c == '\n' || c == ',' || c == '*';
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

// What follows a field's sign and leading zeros. Most fields are a plain
// decimal (digits and a point) and are read at once; anything else is read
// as atof reads it.
double ReadFieldMagnitude(const char* p) {
  DecimalDigits d;
  double value;
  if (IsFieldEnd(*GatherDecimalDigits(p, d)) && d.count > 0 && ExactDecimalValue(d, value)) return value;
  return ReadDecimalReal(p);
}

}  // namespace

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
