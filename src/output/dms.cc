#include "output/dms.h"

#include "output/truncation.h"

namespace quorval {

DmsParts SplitDms(double value) {
  DmsParts parts{};
  if (value < 0.0) {  // -0.0 is not below zero
    parts.negative = 1;
    value = -value;
  }
  parts.degrees = TruncToInt32(value);
  double r = (value - parts.degrees) * 60;
  parts.minutes = TruncToInt32(r);
  r = (r - parts.minutes) * 60;
  parts.seconds = TruncToInt32(r);
  r = (r - parts.seconds) * 100;
  parts.hundredths = TruncToInt32(r);
  return parts;
}

}  // namespace quorval
