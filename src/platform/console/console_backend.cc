#include "platform/console/console_backend.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

const char* programName = "quorval";

using Clock = std::chrono::steady_clock;

constexpr WindowHandle kProgressLine = 1;
constexpr double kBytesPerMegabyte = 1e6;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

struct ProgressLine {
  bool active;
  int64_t total;
  Clock::time_point started;
  Clock::time_point lastDrawn;
  int lastLength;
};
ProgressLine progress{};

void DrawProgress(int64_t position) {
  const Clock::time_point now = Clock::now();
  if (now - progress.lastDrawn < kRedrawInterval) return;
  progress.lastDrawn = now;
  char line[96];
  const double seconds = std::chrono::duration<double>(now - progress.started).count();
  const int length = FormatProgressLine(line, sizeof line, position, progress.total, seconds);
  // Pad over what a longer earlier line left on the terminal.
  std::fprintf(stderr, "\r%s%*s", line, progress.lastLength > length ? progress.lastLength - length : 0,
               "");
  std::fflush(stderr);
  progress.lastLength = length;
}

// What a box answers when nobody is there to press a button: the default of
// a plain box, and the way out of a question.
int UnattendedAnswer(unsigned style) {
  switch (style & MB_TYPEMASK) {
    case MB_OK:
      return IDOK;
    case MB_YESNO:
      return IDNO;
    default:
      return IDCANCEL;
  }
}

class Console final : public WindowingBackend {
 public:
  int MessageBox(WindowHandle, const char* text, const char* caption, unsigned style) override {
    const int reason = TakeMessageReason();
    if (progress.active && progress.lastLength > 0) {
      std::fprintf(stderr, "\r%*s\r", progress.lastLength, "");
      progress.lastLength = 0;
    }
    std::fprintf(stderr, "%s: ", programName);
    if (caption != nullptr && caption[0] != '\0') std::fprintf(stderr, "%s: ", caption);
    // A box's line breaks become blanks: one line per message.
    for (const char* p = text; *p != '\0'; ++p) std::fputc(*p == '\n' ? ' ' : *p, stderr);
    if (reason != 0) std::fprintf(stderr, " (%s)", std::strerror(reason));
    std::fputc('\n', stderr);
    return UnattendedAnswer(style);
  }

  intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t, intptr_t lParam) override {
    if (window == kProgressLine && message == WM_PAINT && progress.active) DrawProgress(lParam);
    return 0;
  }

  // A terminal has no window messages.
  void ServicePendingMessages() override {}
};

}  // namespace

WindowingBackend& ConsoleBackend() {
  static Console console;
  return console;
}

void SetConsoleProgramName(const char* name) { programName = name; }

WindowHandle StartConsoleProgress(int64_t inputSize) {
  progress = ProgressLine{true, inputSize, Clock::now(), Clock::time_point{}, 0};
  return kProgressLine;
}

void FinishConsoleProgress() {
  if (progress.active && progress.lastLength > 0) {
    std::fprintf(stderr, "\r%*s\r", progress.lastLength, "");
    std::fflush(stderr);
  }
  progress = ProgressLine{};
}

int FormatProgressLine(char* out, int size, int64_t position, int64_t total, double seconds) {
  const double megabytes = static_cast<double>(position) / kBytesPerMegabyte;
  const double rate = seconds > 0 ? megabytes / seconds : 0.0;
  int length;
  if (total > 0) {
    const int64_t percent = position >= total ? 100 : position * 100 / total;
    length = std::snprintf(out, static_cast<size_t>(size), "%3d%%  %.1f MB  %.1f MB/s",
                           static_cast<int>(percent), megabytes, rate);
  } else {
    length = std::snprintf(out, static_cast<size_t>(size), "%.1f MB  %.1f MB/s", megabytes, rate);
  }
  return length < size ? length : size - 1;
}
