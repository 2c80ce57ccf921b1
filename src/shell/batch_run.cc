#include "shell/batch_run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "convert/conversion_loop.h"
#include "files/file_choosers.h"
#include "files/input_opening.h"
#include "files/name_limits.h"
#include "files/output_files.h"
#include "files/path_names.h"
#include "shell/main_window.h"
#include "shell/progress_dialog.h"
#include "shell/run_guard.h"
#include "shell/run_state.h"

namespace {

bool IsBlankEntry(const char* entry) {
  for (const char* p = entry; *p != '\0'; ++p) {
    if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') return false;
  }
  return true;
}

// Reads the next entry that names something; false at the end of the list.
// A line longer than an entry is read in pieces, each piece an entry.
bool ReadListEntry(char* entry) {
  for (;;) {
    std::memset(entry, 0, kListEntrySize);
    if (std::fgets(entry, kListEntrySize, runState.listFile) == nullptr || entry[0] == '\0') {
      return false;
    }
    if (!IsBlankEntry(entry)) return true;
  }
}

// The diagnostics file is named after the list: 'AllData.ini' gives
// 'AllData-diag.txt'.
bool OpenDiagnostics(char* listName) {
  char extension[kPathSize];
  SplitExtension(listName, listName, extension);
  if (!FitsBuffer(std::strlen(listName) + std::strlen(kDiagnosticsSuffix), kPathSize)) {
    RefuseLongName(listName);
    return false;
  }
  std::strcat(listName, kDiagnosticsSuffix);
  runState.diagFile = std::fopen(listName, "w");
  return runState.diagFile != nullptr;
}

// One log of the list, from its name to its closed output.
BatchOutcome ConvertListedLog(const char* entry) {
  RunState& s = runState;
  ClearStatusText();
  std::strcpy(s.inputPath, entry);
  if (OpenInputDirect(s.inputPath) != 0) return kBatchInputMissing;
  std::strcpy(s.batchOutputPath, s.inputPath);
  if (OpenBatchOutput(s.batchOutputPath) != 0) return kBatchOutputFailed;
  ShowProgressDialog();
  std::fprintf(s.diagFile, "\n%s", entry);
  ConvertLog(s.inputFile, s.outputFile);
  DestroyWindow(s.progressDialog);
  s.progressDialog = kNoWindow;
  if (CloseRunFiles() != 0) return kBatchCloseFailed;
  // Cancel ends only this log; the batch goes on with the next one.
  s.cancelRequested = 0;
  return CloseRequested() ? kBatchClosed : kBatchListDone;
}

// Closes every stream without disturbing errno, which tells the command
// line why a list or diagnostics file could not be opened.
void CloseAllStreamsKeepingReason() {
  const int reason = errno;
  CloseAllStreams();
  errno = reason;
}

}  // namespace

bool FormBatchInputName(char* entry) {
  // The line end holds no '.', so cutting it first leaves the last '.' where
  // it was, and a refused entry is named without it.
  size_t length = std::strlen(entry);
  while (length > 0 && (entry[length - 1] == '\n' || entry[length - 1] == '\r')) entry[--length] = '\0';
  char* dot = std::strrchr(entry, '.');
  if (dot == nullptr) dot = entry + length;
  if (!FitsBuffer(static_cast<size_t>(dot - entry) + std::strlen(kBatchInputExtension),
                  kListEntrySize)) {
    RefuseLongName(entry);
    return false;
  }
  std::strcpy(dot, kBatchInputExtension);
  return true;
}

BatchOutcome RunBatchList(char* listName, uintptr_t wParam, intptr_t lParam) {
  RunState& s = runState;
  s.listFile = std::fopen(listName, "r");
  if (s.listFile == nullptr) return kBatchListUnreadable;
  if (!OpenDiagnostics(listName)) {
    CloseAllStreamsKeepingReason();
    return kBatchDiagnosticsFailed;
  }
  char entry[kListEntrySize];
  if (!ReadListEntry(entry)) {
    CloseAllStreams();
    return kBatchListEmpty;
  }
  BatchOutcome outcome;
  do {
    outcome = FormBatchInputName(entry) ? ConvertListedLog(entry) : kBatchInputMissing;
  } while (outcome == kBatchListDone && ReadListEntry(entry));
  CloseAllStreams();
  if (outcome == kBatchOutputFailed || outcome == kBatchClosed) return outcome;
  const int answer = MessageBox(kNoWindow, "Processing Complete", "Processing Complete",
                                MB_TASKMODAL | MB_ICONWARNING | MB_OK);
  if (answer == IDOK && s.mainWindow != kNoWindow) PostMessage(s.mainWindow, WM_CLOSE, wParam, lParam);
  return outcome;
}

void RunBatch(WindowHandle window, uintptr_t wParam, intptr_t lParam) {
  if (!BeginRun()) return;
  ClearStatusText();
  // The last list is not remembered: every batch proposes the default name.
  char listName[kPathSize] = {};
  std::strcpy(listName, kDefaultListName);
  // No '|': one filter entry described ".ini" without a pattern. The zero
  // bytes after it close the dialog's list.
  char filter[8] = ".ini";
  if (ChooseFile(window, listName, filter, kChooseList) == IDYES) {
    RunBatchList(listName, wParam, lParam);
  }
  EndRun();
}
