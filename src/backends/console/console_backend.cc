#include "backends/console/console_backend.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "backends/console/terminal_text.h"
#include "state/end_requests.h"
#include "resources/resources.h"

namespace quorval {

namespace {

const char* programName = "quorval";

using Clock = std::chrono::steady_clock;

constexpr double kKilobytesPerMegabyte = 1e3;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

// The one line at the bottom of the terminal that progress is drawn on.
// Each drawing pads over what a longer earlier text left there.
struct TerminalLine {
  int length;
  Clock::time_point lastDrawn;
};
TerminalLine line{};

bool DueForRedraw() {
  const Clock::time_point now = Clock::now();
  if (now - line.lastDrawn < kRedrawInterval) return false;
  line.lastDrawn = now;
  return true;
}

void DrawLine(const char* text, int length) {
  std::fprintf(stderr, "\r%s%*s", text, line.length > length ? line.length - length : 0, "");
  std::fflush(stderr);
  line.length = length;
}

void EraseLine() {
  if (line.length > 0) {
    std::fprintf(stderr, "\r%*s\r", line.length, "");
    std::fflush(stderr);
  }
  line = TerminalLine{};
}

// The progress dialog of a run, drawn from what its procedure puts into it.
constexpr int kShownTextSize = 64;
constexpr int kBarWidth = 1000;  // one unit per mille: the bar's width is the fraction read
bool dialogsShown = false;
struct ProgressDialogLine {
  WindowHandle dialog;
  WindowHandle fileNameField, readField, totalField, bar;
  char fileName[kShownTextSize];
  char read[kShownTextSize];
  char total[kShownTextSize];
  int permille;
  Clock::time_point appeared;
  bool cancelPosted;  // for a request to end the program
};
ProgressDialogLine dialogLine{};
// A request to end the program came while a progress dialog was up.
bool runInterrupted = false;

// "<program>: interrupted" and its line end, ready before any signal comes.
char interruptedLine[96];
size_t interruptedLength = 0;

#ifdef _WIN32
// The console's own requests: Ctrl-C, and Ctrl-Break where a terminal would
// hang up. Windows has no death by a signal: the program ends with the
// status a shell gives one, 128 + its number.
constexpr int kEndRequestSignals[] = {SIGINT, SIGBREAK};
[[noreturn]] void EndBySignal(int signal) { _exit(128 + signal); }
#else
constexpr int kEndRequestSignals[] = {SIGINT, SIGTERM, SIGHUP};

void RestoreDefaultAction(int signal) {
  struct sigaction fallback{};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
}

// By the signal itself, delivered when the handler returns.
void EndBySignal(int signal) {
  RestoreDefaultAction(signal);
  raise(signal);
}
#endif

// Only async-signal-safe calls here.
void NoteEndRequest(int signal) {
#ifdef _WIN32
  // The platform puts the default action back before every call.
  std::signal(signal, NoteEndRequest);
#endif
  if (tableBeingWritten == 0) {
    // Nothing is being written, so nothing can be cut: the program ends at
    // once.
    const auto written = write(STDERR_FILENO, interruptedLine, interruptedLength);
    (void)written;
    EndBySignal(signal);
    return;
  }
  endRequestSignal = signal;
}

// Drawn when the dialog appears and, at most every tenth of a second, when
// its bar repaints after a notification.
void DrawDialogLine(bool appearing) {
  if (!dialogsShown || dialogLine.dialog == kNoWindow) return;
  if (!DueForRedraw() && !appearing) return;
  char text[12 * kShownTextSize + 64];
  const double seconds =
      std::chrono::duration<double>(Clock::now() - dialogLine.appeared).count();
  DrawLine(text, FormatDialogLine(text, sizeof text, ShowName(dialogLine.fileName).c_str(),
                                  dialogLine.read, dialogLine.total, dialogLine.permille,
                                  seconds));
}

class Console final : public WindowingBackend {
 public:
  // Nobody is there to press a button: the box takes the answer of a
  // display where nobody is present.
  int MessageBox(WindowHandle owner, const char* text, const char* caption,
                 unsigned style) override {
    const char* subject = MessageSubject(0);
    const char* otherSubject = MessageSubject(1);
    const int reason = TakeMessageReason();
    const int redrawn = line.length;
    if (line.length > 0) std::fprintf(stderr, "\r%*s\r", line.length, "");
    line.length = 0;
    std::fprintf(stderr, "%s: %s\n", programName,
                 WordBoxForTerminal(text, caption, reason, subject, otherSubject).c_str());
    if (redrawn > 0) line.lastDrawn = Clock::time_point{};
    return WindowingBackend::MessageBox(owner, text, caption, style);
  }

  // A terminal draws no pictures: it says so and names the program that does.
  void ShowTableWindow(WindowHandle, const char* tablePath) override {
    EraseLine();
    std::fprintf(stderr, "%s: no display to show %s on (quorval-plot draws its pictures)\n",
                 programName, QuoteName(tablePath).c_str());
  }

  // Between lines of a conversion: a request to end the program is the
  // progress dialog's Cancel, as the user's click would be.
  void PollEvents() override {
    if (endRequestSignal != 0 && dialogLine.dialog != kNoWindow && !dialogLine.cancelPosted) {
      dialogLine.cancelPosted = true;
      PostMessage(dialogLine.dialog, WM_COMMAND, IDCANCEL,
                  static_cast<intptr_t>(GetDlgItem(dialogLine.dialog, IDCANCEL)));
    }
  }

  // A signal is seen within a block of the log; a log that arrives is read
  // as it comes, and its read waits for the signal itself.
  bool ServicesOncePerBlock() const override { return true; }

  intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam,
                       intptr_t lParam) override {
    return WindowingBackend::SendMessage(window, message, wParam, lParam);
  }

  bool CreateDialog(WindowHandle dialog, WindowHandle, const DialogTemplate& dialogTemplate,
                    const WindowHandle* controls) override {
    dialogLine = ProgressDialogLine{};
    dialogLine.dialog = dialog;
    dialogLine.appeared = Clock::now();
    for (int i = 0; i < dialogTemplate.controlCount; ++i) {
      switch (dialogTemplate.controls[i].id) {
        case kFileNameFieldId: dialogLine.fileNameField = controls[i]; break;
        case kKilobytesReadFieldId: dialogLine.readField = controls[i]; break;
        case kKilobytesTotalFieldId: dialogLine.totalField = controls[i]; break;
        case kProgressBarId: dialogLine.bar = controls[i]; break;
        default: break;
      }
    }
    return true;
  }

  void SetWindowText(WindowHandle window, const char* text) override {
    char* shown = window == dialogLine.fileNameField ? dialogLine.fileName
                  : window == dialogLine.readField   ? dialogLine.read
                  : window == dialogLine.totalField  ? dialogLine.total
                                                     : nullptr;
    if (shown == nullptr || window == kNoWindow) return;
    std::snprintf(shown, kShownTextSize, "%s", text);
  }

  void ShowWindow(WindowHandle window, int showCommand) override {
    if (window == dialogLine.dialog && showCommand != SW_HIDE) DrawDialogLine(true);
  }

  void UpdateWindow(WindowHandle window) override {
    if (window == dialogLine.bar) DrawDialogLine(false);
  }

  Rect GetClientRect(WindowHandle window) override {
    return window == dialogLine.bar && window != kNoWindow ? Rect{0, 0, kBarWidth, 1} : Rect{};
  }

  void FillBarRect(WindowHandle window, const Rect& rect, uint32_t) override {
    if (window == dialogLine.bar && window != kNoWindow) dialogLine.permille = rect.right;
  }

  void DestroyWindow(WindowHandle window) override {
    if (window != dialogLine.dialog || window == kNoWindow) return;
    if (endRequestSignal != 0) runInterrupted = true;
    if (dialogsShown) EraseLine();
    dialogLine = ProgressDialogLine{};
  }
};

}  // namespace

WindowingBackend& ConsoleBackend() {
  static Console console;
  return console;
}

void SetConsoleProgramName(const char* name) { programName = name; }

void ShowConsoleProgressDialogs(bool shown) { dialogsShown = shown; }

void InstallConsoleEndRequests() {
  const int length = std::snprintf(interruptedLine, sizeof interruptedLine, "%s: interrupted\n",
                                   programName);
  interruptedLength = length > 0 && static_cast<size_t>(length) < sizeof interruptedLine
                          ? static_cast<size_t>(length)
                          : 0;
  for (int signal : kEndRequestSignals) {
#ifdef _WIN32
    // A signal ignored when the program started stays ignored.
    if (std::signal(signal, NoteEndRequest) == SIG_IGN) std::signal(signal, SIG_IGN);
#else
    struct sigaction current{};
    // A signal ignored when the program started (nohup, a background job)
    // stays ignored.
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
    struct sigaction noting{};
    noting.sa_handler = NoteEndRequest;
    sigemptyset(&noting.sa_mask);
    // Writes to a pipe go on after the handler: a row is never cut by one.
    noting.sa_flags = SA_RESTART;
    sigaction(signal, &noting, nullptr);
#endif
  }
}

bool ConsoleRunInterrupted() { return runInterrupted; }

void EndByRequestSignal() {
  const int signal = endRequestSignal;
  if (signal == 0) return;
  std::fflush(nullptr);
  EndBySignal(signal);
}

int FormatDialogLine(char* out, int size, const char* fileName, const char* kilobytesRead,
                     const char* kilobytesTotal, int permille, double seconds) {
  const double megabytesRead = std::strtod(kilobytesRead, nullptr) / kKilobytesPerMegabyte;
  const double megabytesTotal = std::strtod(kilobytesTotal, nullptr) / kKilobytesPerMegabyte;
  const double rate = seconds > 0 ? megabytesRead / seconds : 0.0;
  // A log of unknown size (a pipe) has no total and no fraction to show,
  // nor has a log that grew past the size it had when it was opened.
  const bool sized = std::strcmp(kilobytesTotal, "0") != 0;
  const bool grown = sized && megabytesRead > megabytesTotal;
  const int length =
      sized && !grown
          ? std::snprintf(out, static_cast<size_t>(size), "%s  %3d%%  %.1f of %.1f MB  %.1f MB/s",
                          fileName, permille / 10, megabytesRead, megabytesTotal, rate)
          : std::snprintf(out, static_cast<size_t>(size), "%s  %.1f MB%s  %.1f MB/s", fileName,
                          megabytesRead, grown ? ", growing" : "", rate);
  return length < size ? length : size - 1;
}

}  // namespace quorval
