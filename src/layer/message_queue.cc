#include <cstdio>

#include "layer/window_table.h"

namespace quorval {

namespace {

struct QueuedMessage {
  WindowHandle window;
  unsigned message;
  uintptr_t wParam;
  intptr_t lParam;
};

// A ring of posted messages; the platform's queue is bounded too, and a post
// to a full queue fails.
constexpr int kQueueCapacity = 256;
QueuedMessage queue[kQueueCapacity];
int queueHead = 0;
int queueCount = 0;

// The quit request is a flag, not a queued message: it is seen only when
// nothing else is pending, as the platform does.
bool quitRequested = false;
int quitCode = 0;

bool TakeMessage(QueuedMessage& message) {
  if (queueCount > 0) {
    message = queue[queueHead];
    queueHead = (queueHead + 1) % kQueueCapacity;
    --queueCount;
    return true;
  }
  if (quitRequested) {
    quitRequested = false;
    message = QueuedMessage{kNoWindow, WM_QUIT, static_cast<uintptr_t>(quitCode), 0};
    return true;
  }
  return false;
}

// A dialog procedure that leaves a message unhandled gets the platform's
// default dialog handling: the close box stands for the Cancel button.
void DefaultDialogHandling(WindowHandle dialog, unsigned message) {
  if (message == WM_CLOSE) {
    PostMessage(dialog, WM_COMMAND, IDCANCEL, static_cast<intptr_t>(GetDlgItem(dialog, IDCANCEL)));
  }
}

intptr_t Deliver(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  const WindowEntry* entry = FindWindowEntry(window);
  if (entry == nullptr) return 0;  // gone, or a thread message: no window takes it
  switch (entry->kind) {
    case WindowKind::kWindow:
      return entry->windowProc(window, message, wParam, lParam);
    case WindowKind::kDialog: {
      const intptr_t handled = entry->dialogProc(window, message, wParam, lParam);
      if (handled == 0) DefaultDialogHandling(window, message);
      return handled;
    }
    default:
      return 0;
  }
}

void DispatchPending() {
  QueuedMessage message;
  while (TakeMessage(message)) {
    // A quit request taken off here reaches no window and ends nothing.
    if (message.message != WM_QUIT) {
      Deliver(message.window, message.message, message.wParam, message.lParam);
    }
  }
}

}  // namespace

void ResetMessageQueue() {
  queueHead = 0;
  queueCount = 0;
  quitRequested = false;
  quitCode = 0;
}

intptr_t WindowingBackend::SendMessage(WindowHandle window, unsigned message, uintptr_t wParam,
                                       intptr_t lParam) {
  return Deliver(window, message, wParam, lParam);
}

void WindowingBackend::ServicePendingMessages() {
  PollEvents();
  DispatchPending();
}

bool PostMessage(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  if (queueCount == kQueueCapacity) return false;
  queue[(queueHead + queueCount) % kQueueCapacity] = QueuedMessage{window, message, wParam, lParam};
  ++queueCount;
  return true;
}

intptr_t SendMessage(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  return CurrentBackend().SendMessage(window, message, wParam, lParam);
}

void ServicePendingMessages() { CurrentBackend().ServicePendingMessages(); }

void PostQuitMessage(int exitCode) {
  quitRequested = true;
  quitCode = exitCode;
}

int RunMessageLoop() {
  for (;;) {
    QueuedMessage message;
    while (!TakeMessage(message)) CurrentBackend().WaitForEvents();
    if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
    Deliver(message.window, message.message, message.wParam, message.lParam);
  }
}

intptr_t DefWindowProc(WindowHandle window, unsigned message, uintptr_t, intptr_t) {
  if (message == WM_CLOSE) DestroyWindow(window);
  return 0;
}

}  // namespace quorval
