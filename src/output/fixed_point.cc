#include "output/fixed_point.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace {

// Whether the value lies exactly halfway between two values of the given
// number of decimals. With value = m * 2^e and m odd, value * 2 * 10^d is
// m * 5^d * 2^(e+1+d), an odd integer exactly when e == -(d+1).
bool IsExactTie(double value, int decimals) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const int biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
  uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
  if (biasedExponent == 0x7FF) return false;  // inf, NaN
  if (biasedExponent != 0) mantissa |= uint64_t{1} << 52;
  if (mantissa == 0) return false;
  const int exponent = (biasedExponent == 0 ? -1074 : biasedExponent - 1075) +
                       std::countr_zero(mantissa);
  return exponent == -(decimals + 1);
}

// Adds one unit in the last place to the digits of [begin, end), which hold
// an optional '-' then digits with at most one '.'. Returns the new end.
char* IncrementMagnitude(char* begin, char* end) {
  char* digitsStart = begin + (*begin == '-' ? 1 : 0);
  for (char* p = end - 1; p >= digitsStart; --p) {
    if (*p == '.') continue;
    if (*p != '9') {
      ++*p;
      return end;
    }
    *p = '0';
  }
  // Every digit carried: 9.99 -> 10.00.
  std::memmove(digitsStart + 1, digitsStart, static_cast<size_t>(end - digitsStart));
  *digitsStart = '1';
  return end + 1;
}

}  // namespace

char* WriteFixed(char* out, double value, int decimals) {
  char* const limit = out + kMaxFixedText;
  if (!IsExactTie(value, decimals)) {
    return std::to_chars(out, limit, value, std::chars_format::fixed, decimals).ptr;
  }
  // A tie has exactly decimals + 1 decimals ending in 5: print it exactly,
  // drop the 5 and round the magnitude up.
  char* end = std::to_chars(out, limit, value, std::chars_format::fixed, decimals + 1).ptr;
  --end;
  if (decimals == 0) --end;  // the '.' before the dropped 5
  return IncrementMagnitude(out, end);
}
