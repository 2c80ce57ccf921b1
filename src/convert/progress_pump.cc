#include "convert/progress_pump.h"

#include <algorithm>
#include <limits>

#include "layer/windowing.h"
#include "state/run_state.h"

namespace quorval {

intptr_t PositionParam(int64_t position) {
  return position <= INTPTR_MAX ? static_cast<intptr_t>(position) : kPositionInRecord;
}

int32_t UpdateProgress(int64_t position) {
  RunState& s = runState;
  if (s.inputFile == nullptr) {
    s.cancelRequested = 1;
    return 0;
  }
  if (s.progressStarted == 0) {
    // The first line of a log only takes the step and the starting position.
    s.progressStep = s.inputSize / kProgressStepDivisor;
    s.progressStarted = 1;
    s.lastNotifiedPosition = position;
  } else if (s.cancelRequested == 0 && position > s.lastNotifiedPosition + s.progressStep) {
    s.lastNotifiedPosition = position;
    if (s.progressDialog != kNoWindow) {
      SendMessage(s.progressDialog, WM_PAINT, 0, PositionParam(position));
    }
  }
  ServicePendingMessages();
  return s.cancelRequested;
}

int64_t QuietUpTo(int64_t readUpTo) {
  const RunState& s = runState;
  // What the call did can change only inside it, by a message it serviced
  // or sent: a missing input or a pump not yet started keeps every line.
  if (s.inputFile == nullptr || s.progressStarted == 0 || !CurrentBackend().ServicesOncePerBlock()) {
    return std::numeric_limits<int64_t>::min();
  }
  return std::min(s.lastNotifiedPosition + s.progressStep, readUpTo);
}

}  // namespace quorval
