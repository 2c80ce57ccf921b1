#include "shell/batch_run.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files/extra_tables.h"
#include "files/file_choosers.h"
#include "files/file_identity.h"
#include "files/input_opening.h"
#include "files/name_limits.h"
#include "files/output_files.h"
#include "files/path_names.h"
#include "shell/log_run.h"
#include "shell/main_window.h"
#include "shell/run_guard.h"
#include "state/run_state.h"

namespace quorval {

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
// 'AllData-diag.txt'. The name is formed in listName.
bool FormDiagnosticsName(char* listName) {
  char extension[kPathSize];
  SplitExtension(listName, listName, extension);
  if (!FitsBuffer(std::strlen(listName) + std::strlen(kDiagnosticsSuffix), kPathSize)) {
    RefuseLongName(listName, kPathSize - 1);
    return false;
  }
  std::strcat(listName, kDiagnosticsSuffix);
  return true;
}

// The entry's log name in place, without a box when it does not fit.
bool FitBatchInputName(char* entry) {
  // The line end holds no '.', so cutting it first leaves the last '.' where
  // it was, and a refused entry is named without it.
  size_t length = std::strlen(entry);
  while (length > 0 && (entry[length - 1] == '\n' || entry[length - 1] == '\r')) entry[--length] = '\0';
  char* dot = std::strrchr(entry, '.');
  if (dot == nullptr) dot = entry + length;
  if (!FitsBuffer(static_cast<size_t>(dot - entry) + std::strlen(kBatchInputExtension),
                  kListEntrySize)) {
    return false;
  }
  std::strcpy(dot, kBatchInputExtension);
  return true;
}

// The reason the diagnostics file lost its first line, 0 while none was lost.
int diagnosticsError = 0;

struct ReadFile {
  FileIdentity identity;
  std::string path;
};

bool ComesBefore(const ReadFile& a, const ReadFile& b) {
  return a.identity.device != b.identity.device ? a.identity.device < b.identity.device
                                                : a.identity.file < b.identity.file;
}

void RefuseOverwrite(const char* written, const char* read) {
  char text[2 * kPathSize + 128];
  std::snprintf(text, sizeof text,
                "%s is the same file as %s, which the batch reads.\nNothing was converted.",
                written, read);
  SetMessageReason(0, written, read);
  MessageBox(kNoWindow, text, "Output would overwrite input", MB_TASKMODAL | MB_ICONWARNING);
}

struct ExtraWrite {
  std::string path;
  TableFormat format;
};

// Whether the batch over the open list would write its diagnostics file or
// an output over the list or one of its logs (a table named like the list,
// a link between them), or an extra table over a file that is no table. The
// list is read ahead, up to the entry the batch would stop at, and then
// rewound; the box names the files.
bool WouldWriteOverARead(const char* listPath, const char* diagnosticsName) {
  RunState& s = runState;
  std::vector<ReadFile> reads{{IdentifyStream(s.listFile), listPath}};
  std::vector<std::string> writes{diagnosticsName};
  std::vector<ExtraWrite> extras;
  char entry[kListEntrySize];
  while (ReadListEntry(entry) && FitBatchInputName(entry)) {
    const FileIdentity log = IdentifyPath(entry);
    if (!log.exists || log.folder) break;
    char base[kPathSize], extension[kPathSize], outputBase[kPathSize], output[kPathSize];
    SplitExtension(base, entry, extension);
    if (!DeriveOutputName(base, kBatchExtension, outputBase, output)) break;
    reads.push_back({log, entry});
    writes.emplace_back(output);
    for (const TableFormat format : {TableFormat::kFixes, TableFormat::kSatellites}) {
      char extra[kPathSize];
      if (!ExtraTableInRun(format) || !FormExtraTableName(outputBase, format, extra)) continue;
      writes.emplace_back(extra);
      extras.push_back({extra, format});
    }
  }
  std::rewind(s.listFile);
  std::sort(reads.begin(), reads.end(), ComesBefore);
  for (const std::string& written : writes) {
    const ReadFile probe{IdentifyPath(written.c_str()), ""};
    if (!probe.identity.regular) continue;  // absent: creating it overwrites nothing
    const auto match = std::lower_bound(reads.begin(), reads.end(), probe, ComesBefore);
    if (match != reads.end() && IsSameFile(match->identity, probe.identity)) {
      RefuseOverwrite(written.c_str(), match->path.c_str());
      return true;
    }
  }
  for (const ExtraWrite& extra : extras) {
    if (RefuseForeignFile(extra.path.c_str(), extra.format) != 0) return true;
  }
  return false;
}

// Closes the diagnostics file; false after a box named it when not all of
// it reached the file (disk full, I/O error).
bool CloseDiagnostics(const char* diagnosticsName) {
  RunState& s = runState;
  if (s.diagFile == nullptr) return true;
  const bool lostEarlier = std::ferror(s.diagFile) != 0;
  errno = 0;
  const bool lostAtClose = std::fclose(s.diagFile) != 0;
  s.diagFile = nullptr;
  if (!lostEarlier && !lostAtClose) return true;
  SetMessageReason(diagnosticsError != 0 ? diagnosticsError : errno, diagnosticsName);
  MessageBox(kNoWindow, diagnosticsName, "Failure writing diagnostics file",
             MB_TASKMODAL | MB_ICONWARNING);
  return false;
}

// One log of the list, from its name to its closed output.
BatchOutcome ConvertListedLog(const char* entry) {
  RunState& s = runState;
  ClearStatusText();
  std::strcpy(s.inputPath, entry);
  if (OpenInputDirect(s.inputPath) != 0) return kBatchInputMissing;
  std::strcpy(s.batchOutputPath, s.inputPath);
  if (OpenBatchOutput(s.batchOutputPath) != 0) return kBatchOutputFailed;
  // On record at once: a batch ended from outside still lists every log it started.
  std::fprintf(s.diagFile, "\n%s", entry);
  if (std::fflush(s.diagFile) != 0 && diagnosticsError == 0) diagnosticsError = errno;
  // Cancel ends only this log; the batch goes on with the next one.
  const LogRunEnd end = RunLog(s.batchOutputPath, DialogAfterRun::kDestroyed);
  if (CloseRunFiles() != 0 || end.OutputLost()) return kBatchCloseFailed;
  if (end.Failed()) {
    // A log that cannot be read to its end stops the batch, as one that
    // cannot be opened does.
    ShowReadFailure(end, s.inputPath, s.batchOutputPath);
    return kBatchInputFailed;
  }
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
  if (FitBatchInputName(entry)) return true;
  RefuseLongName(entry, kListEntrySize - 1);
  return false;
}

BatchOutcome RunBatchList(char* listName, uintptr_t wParam, intptr_t lParam) {
  RunState& s = runState;
  // A folder opens for reading here but holds no list. A pipe or a device
  // has no place beside it for the diagnostics file, and opening a FIFO
  // would wait for a writer.
  const FileIdentity list = IdentifyPath(listName);
  if (list.folder) {
    errno = EISDIR;
    return kBatchListUnreadable;
  }
  if (list.exists && (!list.regular || InDeviceFolder(listName))) return kBatchListNotAFile;
  s.listFile = std::fopen(listName, "r");
  if (s.listFile == nullptr) return kBatchListUnreadable;
  char listPath[kPathSize];
  std::strcpy(listPath, listName);
  if (!FormDiagnosticsName(listName)) {
    CloseAllStreamsKeepingReason();
    return kBatchDiagnosticsFailed;
  }
  if (WouldWriteOverARead(listPath, listName)) {
    CloseAllStreams();
    return kBatchWouldOverwrite;
  }
  s.diagFile = std::fopen(listName, "w");
  diagnosticsError = 0;
  if (s.diagFile == nullptr) {
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
  const bool diagnosticsKept = CloseDiagnostics(listName);
  CloseAllStreams();
  if (outcome != kBatchOutputFailed && outcome != kBatchClosed) {
    const int answer = MessageBox(kNoWindow, "Processing Complete", "Processing Complete",
                                  MB_TASKMODAL | MB_ICONWARNING | MB_OK);
    if (answer == IDOK && s.mainWindow != kNoWindow) {
      PostMessage(s.mainWindow, WM_CLOSE, wParam, lParam);
    }
  }
  return diagnosticsKept ? outcome : kBatchDiagnosticsIncomplete;
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

}  // namespace quorval
