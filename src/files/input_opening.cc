#include "files/input_opening.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/file_choosers.h"
#include "files/name_limits.h"
#include "files/path_names.h"
#include "layer/windowing.h"
#include "state/run_state.h"

namespace quorval {

namespace {

constexpr size_t kInputStreamBuffer = 16000;
// The fixed texts of the input filter around an extension that fits kPathSize, twice.
constexpr size_t kInputFilterSize = 2 * kPathSize + 64;

// Opens the log into inputFile, or names it in the failure box.
bool OpenLogStream(const char* path) {
  RunState& s = runState;
  s.inputFile = std::fopen(path, "rb");
  // A folder opens for reading on some systems but holds no log.
  struct stat info;
  if (s.inputFile != nullptr && fstat(fileno(s.inputFile), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(s.inputFile);
    s.inputFile = nullptr;
    errno = EISDIR;
  }
  // Windows refuses to open a folder at all, for want of access: it is
  // reported as the folder it is.
  if (s.inputFile == nullptr && errno == EACCES && stat(path, &info) == 0 &&
      S_ISDIR(info.st_mode)) {
    errno = EISDIR;
  }
  if (s.inputFile == nullptr) {
    SetMessageReason(errno, path);
    MessageBox(kNoWindow, path, "Failure to open Input File", MB_TASKMODAL | MB_ICONWARNING);
    return false;
  }
  return true;
}

}  // namespace

void PrepareInput() {
  RunState& s = runState;
  std::setvbuf(s.inputFile, nullptr, _IOFBF, kInputStreamBuffer);
  s.progressStarted = 0;
  // The size is asked of the file, not found by seeking: standard input is
  // read from where it stands, and a log just opened stands at its start.
  // A pipe or a device has no size: progress then shows what was read,
  // without a total.
  struct stat info;
  s.inputSize = fstat(fileno(s.inputFile), &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : 0;
}

int OpenInputInteractive(WindowHandle owner, char* path) {
  RunState& s = runState;
  SplitExtension(s.inputBase, path, s.inputExtension);
  // A name without an extension is proposed with a final dot, which matches
  // the filter '*.' of files without one. A name one byte too long for that
  // is proposed as it stands.
  const size_t baseLength = std::strlen(s.inputBase);
  if (FitsBuffer(baseLength + std::strlen(s.inputExtension), kPathSize)) {
    std::strcpy(path + baseLength, s.inputExtension);  // path begins with inputBase
  }
  char filter[kInputFilterSize];
  std::snprintf(filter, sizeof filter, "Input Files, (*%s)|*%s|%s", s.inputExtension,
                s.inputExtension, kAllFilesFilter);
  if (ChooseFile(owner, path, filter, kChooseInput) != IDYES) return 1;
  if (!OpenLogStream(path)) return 1;
  SplitExtension(s.inputBase, path, s.inputExtension);
  PrepareInput();
  return 0;
}

int OpenInputDirect(const char* path) {
  RunState& s = runState;
  // Split before opening: the names change even when the open fails.
  SplitExtension(s.inputBase, path, s.inputExtension);
  if (!OpenLogStream(path)) return 1;
  PrepareInput();
  return 0;
}

}  // namespace quorval
