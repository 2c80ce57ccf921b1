#include "convert/conversion.h"

namespace quorval {

void StartConversion(Conversion& conversion, bool allSystems) {
  StartSentenceCounts(conversion.counts);
  conversion.counts.allSystems = allSystems;
  StartCycles(conversion.cycles);
}

}  // namespace quorval
