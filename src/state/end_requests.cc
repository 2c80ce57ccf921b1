#include "state/end_requests.h"

namespace quorval {

volatile std::sig_atomic_t endRequestSignal = 0;
volatile std::sig_atomic_t tableBeingWritten = 0;

}  // namespace quorval
