#include "convert/conversion.h"

namespace quorval {

void StartConversion(Conversion& conversion, bool allSystems, const ConversionOutputs& outputs) {
  StartSentenceCounts(conversion.counts);
  conversion.counts.allSystems = allSystems;
  StartCycles(conversion.cycles, allSystems, outputs);
}

}  // namespace quorval
