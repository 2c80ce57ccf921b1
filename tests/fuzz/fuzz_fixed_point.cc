// The fast fixed-point text against the slow exact rule, with 1, 3 and 6
// decimals: every eight bytes as a double's bits, and as an integer scaled by
// a power of two (which makes exact ties common). Aborts on any difference.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "text/fixed_point.h"
#include "reference/reference_converter.h"

using namespace quorval;

namespace {

void Compare(double value) {
  for (int decimals : {1, 3, 6}) {
    char text[kMaxFixedText];
    const std::string fast(text, WriteFixed(text, value, decimals));
    const std::string exact = reference::FixedText(value, decimals);
    if (fast != exact) {
      std::fprintf(stderr, "%a with %d decimals: '%s', exactly '%s'\n", value, decimals,
                   fast.c_str(), exact.c_str());
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (size_t at = 0; at + 8 <= size; at += 8) {
    uint64_t bits;
    std::memcpy(&bits, data + at, 8);
    Compare(std::bit_cast<double>(bits));
    // 53 bits of integer over 2^0 to 2^63.
    const int64_t whole = static_cast<int64_t>(bits << 11) >> 11;
    Compare(std::ldexp(static_cast<double>(whole), -static_cast<int>(bits >> 58)));
  }
  return 0;
}
