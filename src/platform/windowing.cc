#include "platform/windowing.h"

#include "platform/console/console_backend.h"

namespace {
WindowingBackend* installed = nullptr;
int pendingReason = 0;
}  // namespace

WindowingBackend& CurrentBackend() {
  return installed != nullptr ? *installed : ConsoleBackend();
}

void InstallBackend(WindowingBackend* backend) { installed = backend; }

int MessageBox(WindowHandle owner, const char* text, const char* caption, unsigned style) {
  return CurrentBackend().MessageBox(owner, text, caption, style);
}

intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  return CurrentBackend().SendMessage(window, message, wParam, lParam);
}

void ServicePendingMessages() { CurrentBackend().ServicePendingMessages(); }

void SetMessageReason(int errnum) { pendingReason = errnum; }

int TakeMessageReason() {
  const int reason = pendingReason;
  pendingReason = 0;
  return reason;
}
