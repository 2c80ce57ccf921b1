// Scaffolding of the desktop tests: a fresh program on the Qt backend for
// every test, with the user of desktop_user.h acting on its windows.
#pragma once

#include "support/fresh_program.h"
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <chrono>
#include <cstdlib>
#include <string>

#include "desktop_user.h"
#include "support/program_process.h"
#include "support/temp_folder.h"
#include "state/epoch_record.h"
#include "backends/qt/qt_backend.h"
#include "layer/windowing.h"
#include "resources/resources.h"
#include "shell/main_window.h"
#include "shell/progress_dialog.h"
#include "state/run_state.h"

namespace desktop_test {

using namespace quorval;


class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartFreshProgram(&backend);
  }

  void TearDown() override {
    EndProgram();
  }

  // The program from its start to the end of its message loop.
  int RunProgram() { return ProgramEntry(kProgramInstance, 0, "", SW_SHOWNORMAL); }

  // The program's start without its message loop: the main window on screen.
  WindowHandle OpenMainWindow() {
    RegisterMainWindowClass(kProgramInstance);
    runState.instance = kProgramInstance;
    runState.mainWindow = CreateWindow(kMainWindowClass, "Quorval-103", WS_OVERLAPPEDWINDOW,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                       kNoWindow, 0, kProgramInstance, nullptr);
    ShowWindow(runState.mainWindow, SW_SHOWNORMAL);
    QApplication::processEvents();
    return runState.mainWindow;
  }

  // The control of the progress dialog now on screen.
  QWidget* ProgressControl(int id) { return backend.Widget(GetDlgItem(runState.progressDialog, id)); }

  std::string FieldText(int id) {
    auto* field = qobject_cast<QLineEdit*>(ProgressControl(id));
    return field != nullptr ? Text(field->text()) : std::string("(no field)");
  }

  QtBackend backend;
  TempFolder folder;
};

// The tables the command-line converter writes for logs given together
// (sharing the epoch record, as one session of the desktop program does),
// with the arguments before the logs.
inline void RunTheConverter(const std::vector<std::string>& arguments, const TempFolder& folder) {
  const TempFolder captures;
  const test_support::Result run = test_support::RunProgram(test_support::Spawn{arguments}, folder, captures);
  EXPECT_EQ(run.status, 0) << run.err;
}

// The table the command-line converter writes for a log.
inline std::string ConvertedByTheConverter(const std::string& log, const std::string& csv,
                                           const TempFolder& folder) {
  RunTheConverter({"--quiet", "-o", csv, log}, folder);
  return ReadBytes(csv);
}

}  // namespace desktop_test
