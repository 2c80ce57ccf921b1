#include "output/fixed_point.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace quorval {

namespace {

constexpr uint64_t kPowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000};

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

char* WriteFixed(char* out, double value, int decimals) {
  const Binary b = Decompose(value);
  // The common case, exactly and fast: value * 10^d = m * 10^d * 2^e held in
  // 128 bits, shifted down with the remainder deciding the rounding.
  if (b.finite && b.exponent < 0 && decimals >= 0 && decimals <= 6) {
    uint64_t units = 0;  // the value in units of the last decimal, rounded
    if (b.exponent >= -127) {
      const unsigned __int128 scaled =
          static_cast<unsigned __int128>(b.mantissa) * kPowersOfTen[decimals];
      const int shift = -b.exponent;
      const unsigned __int128 quotient = scaled >> shift;
      const unsigned __int128 remainder = scaled - (quotient << shift);
      const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
      if (quotient >> 63 != 0) return WriteFixedGeneral(out, value, decimals, b);
      // Halfway rounds away from zero.
      units = static_cast<uint64_t>(quotient) + (remainder >= half ? 1 : 0);
    }
    // Below 2^-74 nothing reaches the last decimal: units stay 0.
    if (b.negative) *out++ = '-';
    const uint64_t power = kPowersOfTen[decimals];
    out = std::to_chars(out, out + 20, units / power).ptr;
    if (decimals == 0) return out;
    *out++ = '.';
    uint64_t fraction = units % power;
    for (int i = decimals - 1; i >= 0; --i) {
      out[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    return out + decimals;
  }
  return WriteFixedGeneral(out, value, decimals, b);
}

}  // namespace quorval
