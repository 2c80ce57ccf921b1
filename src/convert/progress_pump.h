// Between two lines of a conversion: notify the progress display when the
// input has advanced by more than a five-hundredth of its size, service
// pending window messages, and say whether the user asked to cancel.
#pragma once

#include <cstdint>

namespace quorval {

constexpr int64_t kProgressStepDivisor = 500;

// The notification carries the position in lParam. A 32-bit build's lParam
// ends at 2 GB: a position past that is sent as kPositionInRecord, and the
// dialog reads it from lastNotifiedPosition, which holds it by then.
constexpr intptr_t kPositionInRecord = -1;
intptr_t PositionParam(int64_t position);

// position: bytes of the input consumed so far. Returns cancelRequested
// (0 in the guard for a missing input, which sets the request instead).
int32_t UpdateProgress(int64_t position);

// After a call of UpdateProgress that returned 0: the last position up to
// which a line needs no further call, because no notification falls due
// before it and the backend services messages once per block of the log
// (readUpTo: the end of what has been read). The smallest position when
// every line needs the call.
int64_t QuietUpTo(int64_t readUpTo);

}  // namespace quorval
