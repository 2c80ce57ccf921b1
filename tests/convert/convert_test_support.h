// Shared scaffolding of the conversion tests: a fresh epoch record and run
// state for every test (both are program-wide and would otherwise carry one
// test's fixes into the next), a windowing backend that records what the
// progress pump does, and logs written to temporary files.
#pragma once

#include "fresh_program.h"
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "state/epoch_record.h"
#include "platform/windowing.h"
#include "state/run_state.h"

namespace convert_test {

// Stands in for the progress dialog and the message queue. Clicking Cancel
// is simulated by setting the request from inside the message service, as
// the dialog's Cancel handler does when the pump dispatches the click.
class RecordingBackend : public WindowingBackend {
 public:
  struct Notification {
    WindowHandle window;
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
  };

  int MessageBox(WindowHandle, const char*, const char*, unsigned) override { return IDCANCEL; }
  intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam,
                       intptr_t lParam) override {
    notifications.push_back({window, message, wParam, lParam});
    return 0;
  }
  void ServicePendingMessages() override {
    ++serviceCalls;
    if (serviceCalls == cancelAtServiceCall) runState.cancelRequested = 1;
  }

  std::vector<Notification> notifications;
  int serviceCalls = 0;
  int cancelAtServiceCall = -1;  // the Cancel click arrives during this call
};

class ConvertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartFreshProgram(&backend);
  }
  void TearDown() override {
    EndProgram();
  }

  RecordingBackend backend;
};

// A rewound temporary file holding exactly these bytes.
inline FILE* TempFileWith(const std::string& bytes) {
  FILE* file = std::tmpfile();
  if (file == nullptr) return nullptr;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  return file;
}

inline std::string ReadAll(FILE* file) {
  std::string bytes;
  std::rewind(file);
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
  return bytes;
}

}  // namespace convert_test
