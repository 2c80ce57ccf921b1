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

// mantissa * power / 2^shift (shift 1 to 127) rounded to nearest, halfway
// away from zero, into units; false when the quotient needs 64 bits. The
// product of a 53-bit mantissa and at most 10^6 needs 73 bits.
bool ScaledUnits(uint64_t mantissa, uint64_t power, int shift, uint64_t& units) {
#ifdef __SIZEOF_INT128__
  const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * power;
  const unsigned __int128 quotient = scaled >> shift;
  if (quotient >> 63 != 0) return false;
  // The remainder is at least half exactly when the bit below the cut is set.
  units = static_cast<uint64_t>(quotient) + static_cast<uint64_t>((scaled >> (shift - 1)) & 1);
#else
  // 32-bit targets: the product as two 64-bit words.
  const uint64_t low = (mantissa & 0xFFFFFFFFu) * power;
  const uint64_t high = (mantissa >> 32) * power;
  const uint64_t productLow = low + (high << 32);
  const uint64_t productHigh = (high >> 32) + (productLow < low ? 1 : 0);
  const auto bitsFrom = [&](int cut) {  // the product shifted right by cut, as hi:lo
    struct Words { uint64_t high, low; };
    if (cut == 0) return Words{productHigh, productLow};
    if (cut < 64) return Words{productHigh >> cut, (productLow >> cut) | (productHigh << (64 - cut))};
    return Words{0, productHigh >> (cut - 64)};
  };
  const auto quotient = bitsFrom(shift);
  if (quotient.high != 0 || quotient.low >> 63 != 0) return false;
  units = quotient.low + (bitsFrom(shift - 1).low & 1);
#endif
  return true;
}

}  // namespace

char* WriteFixed(char* out, double value, int decimals) {
  const Binary b = Decompose(value);
  // The common case, exactly and fast: value * 10^d = m * 10^d * 2^e held in
  // 128 bits, shifted down with the remainder deciding the rounding.
  if (b.finite && b.exponent < 0 && decimals >= 0 && decimals <= 6) {
    uint64_t units = 0;  // the value in units of the last decimal, rounded
    if (b.exponent >= -127 &&
        !ScaledUnits(b.mantissa, kPowersOfTen[decimals], -b.exponent, units)) {
      return WriteFixedGeneral(out, value, decimals, b);
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
