// The windowing layer on a terminal, for the command-line converter: a
// message box is one line on standard error that takes its default or
// cancel answer (nobody can answer), and a progress display is one updating
// line on standard error.
#pragma once

#include <cstdint>

#include "platform/windowing.h"

WindowingBackend& ConsoleBackend();

// The name that prefixes every line on standard error.
void SetConsoleProgramName(const char* name);

// Whether the progress dialog of a run is drawn as a line on standard error
// (the converter turns it on when standard error is a terminal and --quiet
// was not given). Off by default: the dialog then exists but draws nothing.
void ShowConsoleProgressDialogs(bool shown);

// A progress display without a dialog: notifications sent to the returned
// window (WM_PAINT with the input position) update the progress line of the
// given total size (0 when unknown). Finishing erases the line.
WindowHandle StartConsoleProgress(int64_t inputSize);
void FinishConsoleProgress();

// The text of the progress line for a position, total (0: unknown) and the
// seconds elapsed, without the carriage return: "  42%  123.4 MB  250.1 MB/s".
int FormatProgressLine(char* out, int size, int64_t position, int64_t total, double seconds);

// The progress dialog as one line: its file name, the kilobytes read of the
// total, and the bar as a percentage: "day1-103+000  617 of 1234 kB   49%".
int FormatDialogLine(char* out, int size, const char* fileName, const char* kilobytesRead,
                     const char* kilobytesTotal, int permille);
