#include "state/epoch_record.h"

EpochRecord epochRecord{};
int32_t EpochCounter = 0;

void ResetEpochRecord() {
  epochRecord = EpochRecord{};
  EpochCounter = 0;
}
