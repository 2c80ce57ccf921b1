#include "state/epoch_record.h"

namespace quorval {

EpochRecord epochRecord{};
int32_t EpochCounter = 0;

void ResetEpochRecord() {
  epochRecord = EpochRecord{};
  EpochCounter = 0;
}

}  // namespace quorval
