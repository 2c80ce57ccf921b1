#include "text/fixed_point.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace quorval {

namespace {

struct Binary {
  bool negative;
  bool finite;
  uint64_t mantissa;  // value = mantissa * 2^exponent
  int exponent;
};

Binary Decompose(double value) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  Binary b{(bits >> 63) != 0, biased != 0x7FF, bits & ((uint64_t{1} << 52) - 1), 0};
  if (biased == 0) {
    b.exponent = -1074;
  } else {
    b.mantissa |= uint64_t{1} << 52;
    b.exponent = biased - 1075;
  }
  return b;
}

// Whether the value lies exactly halfway between two values of the given
// number of decimals. With value = m * 2^e and m odd, value * 2 * 10^d is
// m * 5^d * 2^(e+1+d), an odd integer exactly when e == -(d+1).
bool IsExactTie(const Binary& b, int decimals) {
  if (!b.finite || b.mantissa == 0) return false;
  return b.exponent + std::countr_zero(b.mantissa) == -(decimals + 1);
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

// Any double: the library's exact fixed-point text, with ties mended.
char* WriteFixedGeneral(char* out, double value, int decimals, const Binary& b) {
  char* const limit = out + kMaxFixedText;
  if (!IsExactTie(b, decimals)) {
    return std::to_chars(out, limit, value, std::chars_format::fixed, decimals).ptr;
  }
  // A tie has exactly decimals + 1 decimals ending in 5: print it exactly,
  // drop the 5 and round the magnitude up.
  char* end = std::to_chars(out, limit, value, std::chars_format::fixed, decimals + 1).ptr;
  --end;
  if (decimals == 0) --end;  // the '.' before the dropped 5
  return IncrementMagnitude(out, end);
}

}  // namespace

char* WriteFixedExactly(char* out, double value, int decimals) {
  return WriteFixedGeneral(out, value, decimals, Decompose(value));
}

char* WriteFixed(char* out, double value, int decimals) {
  switch (decimals) {
    case 1: return WriteFixedOf<1>(out, value);
    case 3: return WriteFixedOf<3>(out, value);
    case 6: return WriteFixedOf<6>(out, value);
    default: return WriteFixedExactly(out, value, decimals);
  }
}

}  // namespace quorval
