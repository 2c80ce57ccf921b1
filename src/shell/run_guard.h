// Keeps a run from starting under another one. The progress pump dispatches
// window messages between two lines of a conversion, so menu commands and
// close requests arrive while a run is in progress.
#pragma once

namespace quorval {

// Marks a run in progress and disables the commands that would start a
// second one or close the streams under it (About stays usable). False
// when a run is already in progress: the caller then does nothing.
bool BeginRun();

// Marks the run ended and enables the commands again. When a close request
// came during the run, the program now ends with exit code 0.
void EndRun();

// A close request during a run, confirmed by the user: the conversion is
// cancelled, the run closes its files without further questions, and EndRun
// ends the program.
void RequestCloseAfterRun();

// Whether the run should stop at its next way out: a close was requested,
// in the program or from outside it (a terminal's interrupt).
bool CloseRequested();

}  // namespace quorval
