#include "files/input_opening.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "files/path_names.h"
#include "platform/windowing.h"
#include "shell/run_state.h"

namespace {
constexpr size_t kInputStreamBuffer = 16000;
}

void PrepareInput() {
  RunState& s = runState;
  std::setvbuf(s.inputFile, nullptr, _IOFBF, kInputStreamBuffer);
  s.progressStarted = 0;
  // A pipe has no size: progress then shows what was read, without a total.
  s.inputSize = 0;
  if (fseeko(s.inputFile, 0, SEEK_END) == 0) {
    const off_t size = ftello(s.inputFile);
    if (size > 0) s.inputSize = size;
  }
  std::rewind(s.inputFile);
}

int OpenInputDirect(const char* path) {
  RunState& s = runState;
  // Split before opening: the names change even when the open fails.
  SplitExtension(s.inputBase, path, s.inputExtension);
  s.inputFile = std::fopen(path, "rb");
  // A folder opens for reading on some systems but holds no log.
  struct stat info;
  if (s.inputFile != nullptr && fstat(fileno(s.inputFile), &info) == 0 && S_ISDIR(info.st_mode)) {
    std::fclose(s.inputFile);
    s.inputFile = nullptr;
    errno = EISDIR;
  }
  if (s.inputFile == nullptr) {
    SetMessageReason(errno);
    MessageBox(kNoWindow, path, "Failure to open Input File", MB_TASKMODAL | MB_ICONWARNING);
    return 1;
  }
  PrepareInput();
  return 0;
}
