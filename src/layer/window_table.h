// The layer's own bookkeeping of classes and windows, shared by the window
// operations and the message delivery. Fixed-size: a program of one main
// window and one dialog at a time needs few entries.
#pragma once

#include "layer/windowing.h"

namespace quorval {

enum class WindowKind { kFree, kWindow, kDialog, kControl };

constexpr int kMaxGrayedItems = 8;
constexpr int kMaxCheckedItems = 8;

struct WindowEntry {
  WindowHandle handle;
  WindowKind kind;
  WindowProc windowProc;  // kWindow
  DialogProc dialogProc;  // kDialog
  WindowHandle parent;    // a control's dialog, a dialog's owner
  int controlId;          // kControl
  const MenuResource* menu;
  unsigned grayedItems[kMaxGrayedItems];
  int grayedCount;
  unsigned checkedItems[kMaxCheckedItems];
  int checkedCount;
};

// The dialog template of that name in the module, nullptr when it holds none.
const DialogTemplate* FindDialogTemplate(InstanceHandle instance, const char* name);

// nullptr for a handle that names no live window.
WindowEntry* FindWindowEntry(WindowHandle window);

// Forgets the classes and windows (the queue is the message delivery's).
void ResetWindowTable();
void ResetMessageQueue();

}  // namespace quorval
