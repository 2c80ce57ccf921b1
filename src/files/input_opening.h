// Opening a log for conversion: binary mode, size measured, progress reset,
// base name and extension kept for the output naming.
#pragma once

// Opens the log named by path into inputFile. Returns 0, or 1 after the
// input failure box named the path.
int OpenInputDirect(const char* path);

// Measures the open inputFile, rewinds it and starts the progress afresh.
void PrepareInput();
