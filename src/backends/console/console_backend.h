// The windowing layer on a terminal, for the command-line converter: a
// message box is one line on standard error that takes its default or
// cancel answer (nobody can answer), and a progress display is one updating
// line on standard error.
#pragma once

#include "layer/windowing.h"

namespace quorval {

WindowingBackend& ConsoleBackend();

// The name that prefixes every line on standard error.
void SetConsoleProgramName(const char* name);

// Whether the progress dialog of a run is drawn as a line on standard error
// (the converter turns it on when standard error is a terminal and --quiet
// was not given). Off by default: the dialog then exists but draws nothing.
void ShowConsoleProgressDialogs(bool shown);

// SIGINT, SIGTERM and SIGHUP (on Windows Ctrl-C and Ctrl-Break), unless
// ignored at start, become a request to end the program: while a table is written, its conversion stops after the
// current line, as at Cancel; at any other moment the program ends at once.
void InstallConsoleEndRequests();

// Whether a request to end the program came while a progress dialog was up,
// so that the run it showed was cut short.
bool ConsoleRunInterrupted();

// After a request to end the program, and once everything is closed: ends
// the program by that signal, as shells expect (status 128 + its number).
// Returns when no request came.
void EndByRequestSignal();

// The progress dialog as one line: its file name, the bar as a percentage,
// the megabytes read of the total (from the dialog's kilobyte fields) and
// the rate since the dialog appeared: "day1-103+000   49%  0.6 of 1.2 MB
// 250.1 MB/s". Without a total (a pipe): "day1-103+000  0.6 MB  250.1 MB/s";
// past its total (a log still growing): "... 128.2 MB, growing  250.1 MB/s".
int FormatDialogLine(char* out, int size, const char* fileName, const char* kilobytesRead,
                     const char* kilobytesTotal, int permille, double seconds);

}  // namespace quorval
