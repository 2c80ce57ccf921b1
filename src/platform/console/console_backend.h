// The windowing layer on a terminal, for the command-line converter: a
// message box is one line on standard error that takes its default or
// cancel answer (nobody can answer), and the progress display is one
// updating line when standard error is a terminal.
#pragma once

#include <cstdint>

#include "platform/windowing.h"

WindowingBackend& ConsoleBackend();

// The name that prefixes every line on standard error.
void SetConsoleProgramName(const char* name);

// The progress display's window: notifications sent to it (WM_PAINT with the
// input position) update the progress line of the given total size (0 when
// unknown). Finishing erases the line.
WindowHandle StartConsoleProgress(int64_t inputSize);
void FinishConsoleProgress();

// The text of the progress line for a position, total (0: unknown) and the
// seconds elapsed, without the carriage return: "  42%  123.4 MB  250.1 MB/s".
int FormatProgressLine(char* out, int size, int64_t position, int64_t total, double seconds);
