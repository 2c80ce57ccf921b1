// Fixed-point text of a double, as "%.Nf" prints it except for exact ties:
// a value exactly halfway between two printable values rounds away from zero
// (1.25 -> "1.3", -1.25 -> "-1.3"), where glibc would round to even.
#pragma once

namespace quorval {

// Writes the text at out (no terminator) and returns the end. Needs room for
// 330 + decimals characters, enough for any double.
char* WriteFixed(char* out, double value, int decimals);

constexpr int kMaxFixedText = 330 + 6;

}  // namespace quorval
