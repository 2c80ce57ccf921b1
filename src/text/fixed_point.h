// Fixed-point text of a double, as "%.Nf" prints it except for exact ties:
// a value exactly halfway between two printable values rounds away from zero
// (1.25 -> "1.3", -1.25 -> "-1.3"), where glibc would round to even.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "text/decimal_digits.h"

namespace quorval {

// Writes the text at out (no terminator) and returns the end. Needs room for
// 330 + decimals characters, enough for any double.
char* WriteFixed(char* out, double value, int decimals);

constexpr int kMaxFixedText = 330 + 6;

// Any double with any number of decimals, exactly: the library's exact
// expansion, with ties mended.
char* WriteFixedExactly(char* out, double value, int decimals);

namespace fixed_point_detail {

constexpr uint64_t PowerOfTen(int n) { return n == 0 ? 1 : 10 * PowerOfTen(n - 1); }

// The last `decimals` digits of units, zero-padded.
template <int decimals>
inline char* AppendDecimals(char* out, uint32_t fraction) {
  if constexpr (decimals == 1) {
    *out = static_cast<char>('0' + fraction);
  } else if constexpr (decimals == 3) {
    out[0] = static_cast<char>('0' + fraction / 100);
    std::memcpy(out + 1, DigitPair(fraction % 100), 2);
  } else {
    static_assert(decimals == 6, "one, three or six decimals");
    std::memcpy(out, DigitPair(fraction / 10000), 2);
    std::memcpy(out + 2, DigitPair(fraction / 100 % 100), 2);
    std::memcpy(out + 4, DigitPair(fraction % 100), 2);
  }
  return out + decimals;
}

}  // namespace fixed_point_detail

// The same for one, three or six decimals, the table's. The value scaled
// by 10^decimals in one rounded multiplication lies within half an ulp of
// the exact product; unless that leaves the side of the half undecided, its
// whole part and fraction give the rounded units at once. Ties, values
// within an ulp of a tie, NaN, infinities and values beyond 2^52 units take
// the exact way.
template <int decimals>
inline char* WriteFixedOf(char* out, double value) {
  constexpr uint64_t unit = fixed_point_detail::PowerOfTen(decimals);
  const double scaled = std::fabs(value) * static_cast<double>(unit);
  if (!(scaled < 0x1p52)) return WriteFixedExactly(out, value, decimals);
  const int64_t whole = static_cast<int64_t>(scaled);
  const double fraction = scaled - static_cast<double>(whole);
  if (std::fabs(fraction - 0.5) <= scaled * 0x1p-52) return WriteFixedExactly(out, value, decimals);
  const uint64_t units = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  // The sign of every negative value, also of one that rounds to zero.
  if (std::signbit(value)) *out++ = '-';
  out = AppendUnsigned(out, units / unit);
  *out++ = '.';
  return fixed_point_detail::AppendDecimals<decimals>(out, static_cast<uint32_t>(units % unit));
}

}  // namespace quorval
