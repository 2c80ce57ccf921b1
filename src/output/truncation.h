// Doubles into 32-bit integers, truncated toward zero as every conversion of
// a sentence value does (the NMEA time and angle splits, the DMS text).
#pragma once

#include <cstdint>
#include <limits>

namespace quorval {

// Values beyond the 32-bit range saturate at its ends and NaN gives 0, where
// a plain cast would be undefined.
inline int32_t TruncToInt32(double value) {
  if (value != value) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace quorval
