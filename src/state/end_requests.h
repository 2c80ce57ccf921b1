// A request from outside the program that it end: on a terminal the
// interrupt key, a hang-up or a termination request (SIGINT, SIGHUP,
// SIGTERM). Only the console's signal handler sets it; the pump's event
// polling turns it into the progress dialog's Cancel, a run stops at its
// next way out, and a reader waiting for more of a stream stops waiting.
#pragma once

#include <csignal>

namespace quorval {

// The signal's number; 0 while no request came.
extern volatile std::sig_atomic_t endRequestSignal;

// 1 while a table is open for writing. A request then waits for the line in
// progress, so that the table keeps whole rows; at any other moment nothing
// can be cut, and the program ends at once.
extern volatile std::sig_atomic_t tableBeingWritten;

}  // namespace quorval
