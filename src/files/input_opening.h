// Opening a log for conversion: binary mode, size measured, progress reset,
// base name and extension kept for the output naming.
#pragma once

#include "layer/windowing.h"

namespace quorval {

// Lets the user choose the log in the input chooser, which proposes the name
// in path (inputPath: the log chosen last) and filters on its extension, and
// opens it into inputFile. Returns 0, or 1 when the user gave up or the log
// could not be opened (the failure box named it); nothing is left open.
int OpenInputInteractive(WindowHandle owner, char* path);

// Opens the log named by path into inputFile. Returns 0, or 1 after the
// input failure box named the path.
int OpenInputDirect(const char* path);

// Measures the open inputFile and starts the progress afresh; the stream is
// left where it stands.
void PrepareInput();

}  // namespace quorval
