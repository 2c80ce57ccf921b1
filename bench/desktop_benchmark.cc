// Throughput of the desktop program's conversion beside the command-line
// converter's, in one process on the same log: the same opening, conversion
// and closing, once without windows (as quorval-convert runs it) and once on
// the Qt backend with the main window and the progress dialog on screen,
// repainting and listening for Cancel while the log is converted.
//
//   desktop_benchmark LOG [PAIRS]    best of PAIRS (3) runs of each, in MB/s (10^6 bytes),
//                                    and the median ratio of their times within a pair
//   desktop_benchmark --table TABLE  the window that View > Show Last Table opens on the
//                                    table: seconds until it is read and its first view
//                                    drawn, then to draw each other view
//
// Without a display it runs on Qt's offscreen platform.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "convert/conversion_loop.h"
#include "files/input_opening.h"
#include "files/output_files.h"
#include "state/epoch_record.h"
#include "backends/console/console_backend.h"
#include "backends/qt/qt_backend.h"
#include "resources/resources.h"
#include "shell/main_window.h"
#include "shell/progress_dialog.h"
#include "state/run_state.h"
#include "view_qt/plot_window.h"

using namespace quorval;

namespace {

using Clock = std::chrono::steady_clock;


// Wall and processor seconds of one conversion.
struct Timing {
  double wall;
  double cpu;
};

// The processor time of this process (user and system), which a busy
// machine disturbs less than the wall time.
double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// One log converted into csv; with the dialog, the progress dialog shows it
// as a single run does. A negative wall time tells of a failure.
Timing ConvertOnce(const std::string& log, const std::string& csv, bool withDialog) {
  RunState& s = runState;
  const Clock::time_point start = Clock::now();
  const double cpuStart = CpuSeconds();
  std::snprintf(s.inputPath, sizeof s.inputPath, "%s", log.c_str());
  if (OpenInputDirect(s.inputPath) != 0) return Timing{-1, -1};
  std::snprintf(s.outputPath, sizeof s.outputPath, "%s", csv.c_str());
  std::snprintf(s.outputBase, sizeof s.outputBase, "%s", csv.substr(0, csv.rfind('.')).c_str());
  if (OpenOutputWithRetry(s.outputPath) != 0) {
    CloseAllStreams();
    return Timing{-1, -1};
  }
  if (withDialog) ShowProgressDialog();
  static Conversion conversion;
  ConvertLog(s.inputFile, s.outputFile, conversion);
  const bool complete = s.cancelRequested == 0 && FinishOutput(s.outputPath) == TableFate::kInPlace;
  CloseAllStreams();
  if (withDialog) {
    DestroyWindow(s.progressDialog);
    s.progressDialog = kNoWindow;
  }
  s.cancelRequested = 0;
  if (!complete) return Timing{-1, -1};
  return Timing{std::chrono::duration<double>(Clock::now() - start).count(), CpuSeconds() - cpuStart};
}

// Keeps the best wall and the best processor time seen.
void KeepBest(Timing& best, const Timing& one) {
  if (best.wall < 0 || one.wall < best.wall) best.wall = one.wall;
  if (best.cpu < 0 || one.cpu < best.cpu) best.cpu = one.cpu;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void Report(const char* what, const Timing& timing, double megabytes) {
  std::printf("%-28s%8.1f MB/s wall (%.3f s)  %8.1f MB/s CPU (%.3f s)\n", what, megabytes / timing.wall,
              timing.wall, megabytes / timing.cpu, timing.cpu);
}

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The table's window as the menu entry opens it, through the layer and the
// Qt backend; each view drawn at once at the window's size.
int MeasureTableWindow(const char* table) {
  QtBackend backend;
  InstallBackend(&backend);
  const Clock::time_point start = Clock::now();
  ShowTableWindow(kNoWindow, table);
  view::PlotWindow* window = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* shown = dynamic_cast<view::PlotWindow*>(widget)) window = shown;
  }
  if (window == nullptr || window->Table().Rows() == 0) {
    std::fprintf(stderr, "desktop_benchmark: no rows shown from %s\n", table);
    return 1;
  }
  window->Canvas()->grab();
  std::printf("%zu rows: read and %s drawn (%d x %d) in %.3f s\n", window->Table().Rows(),
              view::ViewTitle(window->CurrentView()), window->Canvas()->width(),
              window->Canvas()->height(), SecondsSince(start));
  for (const view::ViewKind kind : view::kAllViews) {
    if (kind == window->CurrentView()) continue;
    const Clock::time_point shown = Clock::now();
    window->ShowView(kind);
    window->Canvas()->grab();
    std::printf("  %-20s drawn in %.3f s\n", view::ViewTitle(kind), SecondsSince(shown));
  }
  InstallBackend(nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (std::strcmp(argv[1], "--table") == 0 && argc != 3)) {
    std::fprintf(stderr, "usage: desktop_benchmark LOG [PAIRS] | desktop_benchmark --table TABLE\n");
    return 1;
  }
  if (std::strcmp(argv[1], "--table") == 0) {
    if (!DisplayAvailable()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    return MeasureTableWindow(argv[2]);
  }
  const std::string log = argv[1];
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  const std::string csv = log.substr(0, log.rfind('.')) + "-desktop.csv";
  if (!DisplayAvailable()) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  QApplication application(argc, argv);
  ResetRunState();

  QtBackend backend;
  RegisterResourceModule(kProgramInstance, &kProgramResources);
  RegisterMainWindowClass(kProgramInstance);
  runState.instance = kProgramInstance;

  // The two in pairs, each first in every other pair, so that a busy spell
  // of the machine or the write-back of the previous run's table falls on
  // both alike; the table is removed before each run. The ratio of the two
  // is taken within each pair, where the machine was the same for both.
  Timing console{-1, -1}, desktop{-1, -1};
  std::vector<double> wallRatios, cpuRatios;
  for (int pair = 0; pair < runs && console.wall != -2; ++pair) {
    Timing inPair[2]{};  // without windows, with the dialog
    for (int turn = 0; turn < 2; ++turn) {
      const bool withDialog = (turn == 0) == (pair % 2 == 1);
      // The console without its progress line, as quorval-convert --quiet.
      InstallBackend(withDialog ? static_cast<WindowingBackend*>(&backend) : &ConsoleBackend());
      if (withDialog && runState.mainWindow == kNoWindow) {
        runState.mainWindow = CreateWindow(kMainWindowClass, "Quorval-103", WS_OVERLAPPEDWINDOW,
                                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                           kNoWindow, 0, kProgramInstance, nullptr);
        ShowWindow(runState.mainWindow, SW_SHOWNORMAL);
        QApplication::processEvents();
      }
      ResetEpochRecord();
      std::remove(csv.c_str());
      inPair[withDialog ? 1 : 0] = ConvertOnce(log, csv, withDialog);
      if (inPair[withDialog ? 1 : 0].wall < 0) console.wall = -2;
    }
    if (console.wall == -2) break;
    KeepBest(console, inPair[0]);
    KeepBest(desktop, inPair[1]);
    wallRatios.push_back(inPair[1].wall / inPair[0].wall);
    cpuRatios.push_back(inPair[1].cpu / inPair[0].cpu);
  }
  InstallBackend(&backend);
  DestroyWindow(runState.mainWindow);
  InstallBackend(nullptr);
  std::remove(csv.c_str());

  if (console.wall < 0 || desktop.wall < 0 || wallRatios.empty()) {
    std::fprintf(stderr, "desktop_benchmark: the conversion of %s failed\n", log.c_str());
    return 1;
  }
  const double megabytes = static_cast<double>(runState.inputSize) / 1e6;
  Report("converter, no windows", console, megabytes);
  Report("desktop, progress dialog", desktop, megabytes);
  std::printf("desktop time over converter time, median of %zu pairs: %+.1f%% wall, %+.1f%% CPU\n",
              wallRatios.size(), (Median(wallRatios) - 1) * 100, (Median(cpuRatios) - 1) * 100);
  std::printf("(the desktop on Qt's %s platform)\n", QGuiApplication::platformName().toLocal8Bit().constData());
  return 0;
}
