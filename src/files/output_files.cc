#include "files/output_files.h"

#include <cerrno>
#include <cstring>

#include "platform/windowing.h"
#include "resources/version.h"
#include "shell/run_state.h"

namespace {

constexpr size_t kOutputStreamBuffer = 16000;

// Long enough for the fixed text around any path that fits kPathSize.
constexpr size_t kMessageSize = kPathSize + 200;
// A tagged name and a numbered one: any base that fits plus the suffixes.
constexpr size_t kNameWorkSize = kPathSize + 32;

}  // namespace

int FormOutputName(char* outputPath, const char* extension) {
  RunState& s = runState;
  s.outputFileNumber = 0;
  char tagged[kNameWorkSize];
  const int taggedLength =
      std::snprintf(tagged, sizeof tagged, "%s-%s", s.inputBase, kVersionLabel);
  char base[kNameWorkSize];
  const int baseLength = std::snprintf(base, sizeof base, "%s+%03d", tagged, s.outputFileNumber);
  if (taggedLength < 0 || static_cast<size_t>(taggedLength) >= kNameWorkSize || baseLength < 0 ||
      baseLength + std::strlen(extension) >= static_cast<size_t>(kPathSize)) {
    char text[kMessageSize];
    std::snprintf(text, sizeof text,
                  "The output name for %.999s would be longer than %d characters.\n"
                  "Move or rename the log to a shorter path.",
                  s.inputPath, kPathSize - 1);
    MessageBox(kNoWindow, text, "Output file name too long", MB_TASKMODAL | MB_ICONWARNING);
    return 1;
  }
  std::memcpy(s.outputBase, base, static_cast<size_t>(baseLength) + 1);
  std::memcpy(outputPath, base, static_cast<size_t>(baseLength));
  std::strcpy(outputPath + baseLength, extension);
  return 0;
}

int OpenOutputWithRetry(const char* outputPath) {
  RunState& s = runState;
  s.outputWriteFailed = 0;
  // Binary mode: the writer ends every line in CR LF itself.
  while ((s.outputFile = std::fopen(outputPath, "wb")) == nullptr) {
    const int reason = errno;
    char text[kMessageSize];
    std::snprintf(text, sizeof text,
                  "Output File %s may be open.\nTo continue, close file and press Retry.\n"
                  "To abort, press Cancel",
                  outputPath);
    SetMessageReason(reason);
    if (MessageBox(kNoWindow, text, "Failure to open output file",
                   MB_TASKMODAL | MB_ICONWARNING | MB_RETRYCANCEL) != IDRETRY) {
      return 1;
    }
  }
  std::setvbuf(s.outputFile, nullptr, _IOFBF, kOutputStreamBuffer);
  return 0;
}

int FinishOutput(const char* outputPath) {
  errno = 0;
  if (CloseOutputStream() == 0) return 0;
  SetMessageReason(errno);
  MessageBox(kNoWindow, outputPath, "Failure writing output file", MB_TASKMODAL | MB_ICONWARNING);
  return 1;
}
