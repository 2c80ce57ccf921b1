// Decimal digits of integers two at a time, from a table of the hundred
// pairs "00" to "99".
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>

namespace quorval {

inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The two digits of a value below 100.
inline const char* DigitPair(uint32_t value) { return kDigitPairs + 2 * value; }

// A value below 10000, without leading zeros.
inline char* AppendBelowTenThousand(char* out, uint32_t value) {
  if (value < 100) {
    if (value < 10) {
      *out = static_cast<char>('0' + value);
      return out + 1;
    }
    std::memcpy(out, DigitPair(value), 2);
    return out + 2;
  }
  if (value < 1000) {
    *out = static_cast<char>('0' + value / 100);
    std::memcpy(out + 1, DigitPair(value % 100), 2);
    return out + 3;
  }
  std::memcpy(out, DigitPair(value / 100), 2);
  std::memcpy(out + 2, DigitPair(value % 100), 2);
  return out + 4;
}

// The digits of a value, without leading zeros; at most 20 characters.
inline char* AppendUnsigned(char* out, uint64_t value) {
  if (value < 10000) return AppendBelowTenThousand(out, static_cast<uint32_t>(value));
  if (value < 100000000) {
    const auto v = static_cast<uint32_t>(value);
    out = AppendBelowTenThousand(out, v / 10000);
    const uint32_t low = v % 10000;
    std::memcpy(out, DigitPair(low / 100), 2);
    std::memcpy(out + 2, DigitPair(low % 100), 2);
    return out + 4;
  }
  return std::to_chars(out, out + 20, value).ptr;
}

}  // namespace quorval
