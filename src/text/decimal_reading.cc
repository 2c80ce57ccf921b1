#include "text/decimal_reading.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <system_error>

#include <locale.h>

namespace quorval {

namespace {

inline bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
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
  for (; IsDecimalDigit(*p); ++p) {
    significant = significant || *p != '0';
    if (significant) ++order;
  }
  if (*p == '.') {
    for (++p; IsDecimalDigit(*p) && !significant; ++p) {
      significant = *p != '0';
      if (!significant) --order;
    }
    while (IsDecimalDigit(*p)) ++p;
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
  DecimalDigits d;
  p = GatherDecimalDigits(p, d);
  if (d.count == 0 && !zeros) return 0.0;  // no number at all, not even a signed zero
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    bool exponentNegative = false;
    if (*q == '+' || *q == '-') exponentNegative = (*q++ == '-');
    int64_t written = 0;
    if (IsDecimalDigit(*q)) ReadBoundedDigits(q, written);
    // Far beyond any double either way; the bound keeps the sum in range.
    if (written > 100000) written = 100000;
    d.exponent += static_cast<int>(exponentNegative ? -written : written);
  }
  double value;
  if (ExactDecimalValue(d, value)) return negative ? -value : value;
  // Only a validated decimal number reaches here, so the hexadecimal and
  // word forms of strtod cannot ("0x" stops at the 'x' with a zero value).
  return SlowDecimalToDouble(number);
}

const char* ReadPlainDecimal(const char* p, const char* end, double& value) {
  const char* start = p;
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  DecimalDigits d;
  const char* stop = decimal_detail::Gather(p, [end](const char* q) { return q < end; }, d);
  // Digits before the point, and after it when there is one.
  if (d.count + d.exponent == 0 || stop[-1] == '.') return nullptr;
  if (ExactDecimalValue(d, value)) {
    if (negative) value = -value;
    return stop;
  }
  // Very long numbers are rare (a huge altitude): the library reads them.
  const auto [last, error] = std::from_chars(start, stop, value, std::chars_format::fixed);
  return error == std::errc() && last == stop ? stop : nullptr;
}

const char* ReadPlainWholeNumber(const char* p, const char* end, int64_t& value) {
  constexpr int kMaxDigits = 18;  // any of them fits in 64 bits
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  const char* first = p;
  int64_t magnitude = 0;
  for (; p < end && IsDecimalDigit(*p); ++p) {
    if (p - first == kMaxDigits) return nullptr;
    magnitude = magnitude * 10 + (*p - '0');
  }
  if (p == first) return nullptr;
  value = negative ? -magnitude : magnitude;
  return p;
}

}  // namespace quorval
