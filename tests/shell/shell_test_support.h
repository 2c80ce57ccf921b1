// Scaffolding of the shell's scenario tests: a fresh program for every test
// (run state, epoch record, windows and the dialog's own fields are
// program-wide), the scripted backend installed in place of a display, a
// scratch folder, and small NMEA logs.
#pragma once

#include "support/fresh_program.h"
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "state/epoch_record.h"
#include "support/scripted_backend.h"
#include "layer/windowing.h"
#include "resources/resources.h"
#include "shell/main_window.h"
#include "shell/progress_dialog.h"
#include "state/run_state.h"

namespace shell_test {

using namespace quorval;


// A log of `fixes` GGA sentences, one per line, each a second after the
// one before: the table gets a header and fixes - 1 rows.
inline std::string LogWithFixes(int fixes) {
  std::string log;
  for (int i = 0; i < fixes; ++i) {
    char line[128];
    std::snprintf(line, sizeof line,
                  "$GPGGA,1131%02d.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n",
                  i % 60);
    log += line;
  }
  return log;
}

// A receiver cycle of a multi-system receiver with one Galileo signal,
// which the classic table passes over.
inline const std::string kOneCycle =
    "$GNRMC,003956.00,A,4552.65403,S,17030.00668,E,0.025,,120419,,,A,V*07\r\n"
    "$GNGGA,003956.00,4552.65403,S,17030.00668,E,1,12,0.64,14.2,M,1.8,M,,*56\r\n"
    "$GAGSV,1,1,01,33,62,034,08,7*49\r\n";

// The lines of a CSV table (each ends in CR LF).
inline int CsvLines(const std::string& table) {
  int lines = 0;
  for (size_t at = table.find("\r\n"); at != std::string::npos; at = table.find("\r\n", at + 2)) {
    ++lines;
  }
  return lines;
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartFreshProgram(&backend);
  }

  void TearDown() override {
    EndProgram();
    for (const std::string& problem : backend.Problems()) ADD_FAILURE() << problem;
  }

  // The program from its start to the end of its message loop.
  int RunProgram() { return ProgramEntry(kProgramInstance, 0, "", SW_SHOWNORMAL); }

  // A program of its own for each case of a table, with its own script.
  int RunProgramWith(ScriptedBackend& script) {
    StartFreshProgram(&script);
    const int exitCode = RunProgram();
    CloseAllStreams();
    InstallBackend(&backend);
    for (const std::string& problem : script.Problems()) ADD_FAILURE() << problem;
    return exitCode;
  }

  // The open streams of the run state, none of which may stay open after a run.
  static bool AllStreamsClosed() {
    return runState.inputFile == nullptr && runState.outputFile == nullptr &&
           runState.listFile == nullptr && runState.diagFile == nullptr;
  }

  // What a run left in the scratch folder: a staged table not put in place counts.
  long FilesLeft() const { return std::distance(std::filesystem::directory_iterator(folder / ""), {}); }

  std::vector<std::string> FileDialogTitles() const {
    std::vector<std::string> titles;
    for (const ChooserShown& chooser : backend.choosers) titles.push_back(chooser.title);
    return titles;
  }

  ScriptedBackend backend;
  TempFolder folder;
};

}  // namespace shell_test
