// The fields of a sentence read in one pass, for the sentences receivers
// send: every field closed by ',' or '*', numbers written as plain digits
// or a plain decimal. Each reader starts at the first character of a field
// and returns the delimiter that closes it, or nullptr when the field is
// not of that form; a handler then reads the whole sentence by the general
// rules instead, before it has stored anything. What a reader gives equals
// what the general rules give for the same text.
#pragma once

#include <cstdint>

namespace quorval {

namespace plain {

inline bool IsDelimiter(char c) { return c == ',' || c == '*'; }

inline unsigned DigitOf(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0'; }

// Powers of ten that a double holds exactly.
inline constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
                                          1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13,
                                          1e14, 1e15, 1e16, 1e17, 1e18, 1e19};
// Any 19 digits fit 64 bits; a mantissa up to 2^53 is an exact double.
constexpr int kMaxDigits = 19;
constexpr uint64_t kExactMantissaLimit = uint64_t{1} << 53;

// Any text up to its delimiter (a field that is not used, or a letter).
inline const char* SkipField(const char* p) {
  while (!IsDelimiter(*p)) {
    if (*p == '\0') return nullptr;
    ++p;
  }
  return p;
}

// Up to nine decimal digits (an empty field is 0). Satellite ids, angles
// and signal levels have two or three digits: those are read without a loop.
inline const char* Int(const char* p, int32_t& value) {
  const unsigned d0 = DigitOf(p[0]);
  if (d0 > 9) {
    value = 0;
    return IsDelimiter(p[0]) ? p : nullptr;
  }
  const unsigned d1 = DigitOf(p[1]);
  if (d1 > 9) {
    value = static_cast<int32_t>(d0);
    return IsDelimiter(p[1]) ? p + 1 : nullptr;
  }
  const unsigned d2 = DigitOf(p[2]);
  if (d2 > 9) {
    value = static_cast<int32_t>(d0 * 10 + d1);
    return IsDelimiter(p[2]) ? p + 2 : nullptr;
  }
  const char* start = p;
  uint32_t v = d0 * 100 + d1 * 10 + d2;
  for (p += 3; DigitOf(*p) <= 9; ++p) v = v * 10 + DigitOf(*p);
  if (!IsDelimiter(*p) || p - start > 9) return nullptr;
  value = static_cast<int32_t>(v);
  return p;
}

// [-][digits][.digits] with at most 19 digits and a mantissa of at most
// 2^53: one division by an exact power of ten gives the correctly rounded
// value, as the general reading does. A '-' before nothing but zeros is
// dropped ('-000' is 0); before anything else it negates ('-0.0' and '-.'
// are -0).
inline const char* Real(const char* p, double& value) {
  const bool negative = *p == '-';
  p += negative ? 1 : 0;
  const char* const start = p;
  const char* point = nullptr;
  uint64_t mantissa = 0;
  for (;; ++p) {
    const unsigned digit = DigitOf(*p);
    if (digit <= 9) {
      mantissa = mantissa * 10 + digit;
    } else if (*p == '.' && point == nullptr) {
      point = p;
    } else {
      break;
    }
  }
  const long digits = (p - start) - (point != nullptr ? 1 : 0);
  if (!IsDelimiter(*p) || digits > kMaxDigits || mantissa > kExactMantissaLimit) return nullptr;
  if (point == nullptr && mantissa == 0) {
    value = 0.0;
    return p;
  }
  const double magnitude =
      static_cast<double>(mantissa) / kPowersOfTen[point != nullptr ? p - point - 1 : 0];
  value = negative ? -magnitude : magnitude;
  return p;
}

}  // namespace plain

}  // namespace quorval
