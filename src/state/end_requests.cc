#include "state/end_requests.h"

volatile std::sig_atomic_t endRequestSignal = 0;
volatile std::sig_atomic_t tableBeingWritten = 0;
