// The Batch PostProc command: every log named in a list file converted
// without questions into "<log base>-103+000.xlx", each recorded in the
// diagnostics file beside the list as its conversion starts.
#pragma once

#include "layer/windowing.h"

namespace quorval {

inline constexpr const char kDefaultListName[] = "AllData.ini";
inline constexpr const char kDiagnosticsSuffix[] = "-diag.txt";
inline constexpr const char kBatchInputExtension[] = ".log";
// One list entry as read: 399 characters and the terminator.
constexpr int kListEntrySize = 400;

// How a batch over a list ended.
enum BatchOutcome {
  kBatchListDone,           // every entry converted; the final box was shown
  kBatchListEmpty,          // nothing to convert; no box
  kBatchListUnreadable,     // the list could not be opened (errno says why); no box
  kBatchListNotAFile,       // the list is a pipe, a device or in /dev; no box
  kBatchDiagnosticsFailed,  // the diagnostics file could not be created; no box
  kBatchWouldOverwrite,     // a file written would be one read; its box, nothing converted
  kBatchInputMissing,       // stopped at a log that could not be opened; final box shown
  kBatchInputFailed,        // stopped at a log that could not be read to its end; final box shown
  kBatchOutputFailed,       // an output could not be created; no final box
  kBatchCloseFailed,        // closing a log or its output failed; final box shown
  kBatchClosed,             // a close request during the batch stopped it; no box
  kBatchDiagnosticsIncomplete,  // the diagnostics file lost lines (its box said so)
};

// The command's handler: the list chooser, then RunBatchList.
void RunBatch(WindowHandle window, uintptr_t wParam, intptr_t lParam);

// The batch over a chosen list (a kPathSize buffer, turned into the
// diagnostics name in place). Before anything is written it is refused when
// its diagnostics file or an output would be the list or one of its logs. When it ends with the final box answered OK,
// the main window (if there is one) receives a close request carrying
// wParam and lParam. All streams are closed on return.
BatchOutcome RunBatchList(char* listName, uintptr_t wParam, intptr_t lParam);

// Turns a list entry as read into the path of its log: the text from the
// last '.' on becomes ".log" (the line end goes with it); an entry without
// a '.' loses its line end and gains ".log". Returns false after a box named
// the entry when the path would not fit kListEntrySize.
bool FormBatchInputName(char* entry);

}  // namespace quorval
