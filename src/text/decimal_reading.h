// Numbers read from their decimal text exactly: a real is the double nearest
// the number written, and '.' is the decimal point whatever the locale. The
// converter reads the receivers' fields with it, the views the tables the
// converter wrote.
#pragma once

#include <cstdint>

namespace quorval {

inline bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of a decimal number, [digits][.digits], as one integer and a
// power of ten: value = mantissa * 10^exponent, exact while count <= 19.
struct DecimalDigits {
  uint64_t mantissa = 0;
  int count = 0;
  int exponent = 0;
};

namespace decimal_detail {

// [digits][.digits] added to d, up to the first other character or the
// first place that `within` refuses.
template <class Within>
inline const char* Gather(const char* p, Within within, DecimalDigits& d) {
  for (; within(p) && IsDecimalDigit(*p); ++p, ++d.count) {
    d.mantissa = d.mantissa * 10 + static_cast<uint64_t>(*p - '0');
  }
  if (within(p) && *p == '.') {
    for (++p; within(p) && IsDecimalDigit(*p); ++p, ++d.count, --d.exponent) {
      d.mantissa = d.mantissa * 10 + static_cast<uint64_t>(*p - '0');
    }
  }
  return p;
}

}  // namespace decimal_detail

// Adds the digits from p, then a '.' and the digits after it, to d; returns
// where they end. The text ends at any other character.
inline const char* GatherDecimalDigits(const char* p, DecimalDigits& d) {
  return decimal_detail::Gather(p, [](const char*) { return true; }, d);
}

namespace decimal_detail {

// Powers of ten that a double holds exactly.
inline constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;
constexpr uint64_t kExactMantissaLimit = uint64_t{1} << 53;
// A 64-bit mantissa holds any 19 decimal digits.
constexpr int kMaxMantissaDigits = 19;

}  // namespace decimal_detail

// The value of the digits when one exact operand and one correctly rounded
// operation give it, which is most numbers; false for the rest (long
// mantissas, large exponents).
inline bool ExactDecimalValue(const DecimalDigits& d, double& value) {
  using namespace decimal_detail;
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
inline const char* ReadBoundedDigits(const char* p, int64_t& value) {
  constexpr int64_t kBeyond = int64_t{1} << 32;
  for (; IsDecimalDigit(*p) && value < kBeyond; ++p) value = value * 10 + (*p - '0');
  return p;
}

// The decimal reading of atof, correctly rounded and locale-independent,
// without the hexadecimal, "inf" and "nan" forms.
double ReadDecimalReal(const char* text);

// A number as the table writes it, from p and ending by end at the latest:
// an optional '-', digits, and optionally '.' and more digits. Returns where
// it ends, or nullptr when the text there is no such number (or one beyond
// the range of a double).
const char* ReadPlainDecimal(const char* p, const char* end, double& value);

// A whole number as the table writes it: an optional '-' and one to
// eighteen digits. Returns where it ends, or nullptr.
const char* ReadPlainWholeNumber(const char* p, const char* end, int64_t& value);

}  // namespace quorval
