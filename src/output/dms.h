// Decimal degrees as degrees, minutes, seconds and hundredths, each
// truncated, never rounded: the representation error of doubles shows in the
// last digits (10.1 degrees east is 10:05:59.99E).
#pragma once

#include <cstdint>

namespace quorval {

struct DmsParts {
  int32_t degrees;
  int32_t minutes;
  int32_t seconds;
  int32_t hundredths;
  int32_t negative;  // 1 when the value was below zero
};

DmsParts SplitDms(double degrees);

}  // namespace quorval
