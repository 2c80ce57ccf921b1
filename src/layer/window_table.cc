#include "layer/window_table.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

namespace quorval {

namespace {

constexpr int kMaxClasses = 8;
constexpr int kMaxWindows = 64;
constexpr int kNameSize = 64;
constexpr int kMaxDialogControls = 32;
// Class atoms of registered classes start where the platform starts them.
constexpr uint16_t kFirstClassAtom = 0xC000;
constexpr WindowHandle kFirstHandle = 0x100;

struct ClassEntry {
  bool used;
  char className[kNameSize];
  char menuName[kNameSize];
  WindowClass windowClass;  // its names point at the copies above
};

ClassEntry classes[kMaxClasses];
WindowEntry windows[kMaxWindows];
// Handles are never reused, so a message queued for a window that is gone
// cannot reach a newer one.
WindowHandle nextHandle = kFirstHandle;

const ClassEntry* FindClass(const char* name) {
  for (const ClassEntry& entry : classes) {
    if (entry.used && strcasecmp(entry.className, name) == 0) return &entry;
  }
  return nullptr;
}

WindowEntry* NewEntry(WindowKind kind) {
  for (WindowEntry& entry : windows) {
    if (entry.kind == WindowKind::kFree) {
      entry = WindowEntry{};
      entry.handle = nextHandle++;
      entry.kind = kind;
      return &entry;
    }
  }
  return nullptr;
}

void FreeDialogControls(WindowHandle dialog) {
  for (WindowEntry& entry : windows) {
    if (entry.kind == WindowKind::kControl && entry.parent == dialog) entry.kind = WindowKind::kFree;
  }
}

bool CopyName(char* out, const char* name) {
  if (name == nullptr) {
    out[0] = '\0';
    return true;
  }
  return std::snprintf(out, kNameSize, "%s", name) < kNameSize;
}

}  // namespace

WindowEntry* FindWindowEntry(WindowHandle window) {
  if (window == kNoWindow) return nullptr;
  for (WindowEntry& entry : windows) {
    if (entry.kind != WindowKind::kFree && entry.handle == window) return &entry;
  }
  return nullptr;
}

void ResetWindowTable() {
  for (ClassEntry& entry : classes) entry = ClassEntry{};
  for (WindowEntry& entry : windows) entry = WindowEntry{};
  nextHandle = kFirstHandle;
}

uint16_t RegisterClass(const WindowClass& windowClass) {
  if (windowClass.className == nullptr || windowClass.windowProc == nullptr ||
      FindClass(windowClass.className) != nullptr) {
    return 0;
  }
  for (int i = 0; i < kMaxClasses; ++i) {
    ClassEntry& entry = classes[i];
    if (entry.used) continue;
    if (!CopyName(entry.className, windowClass.className) ||
        !CopyName(entry.menuName, windowClass.menuName)) {
      return 0;
    }
    entry.windowClass = windowClass;
    entry.windowClass.className = entry.className;
    entry.windowClass.menuName = windowClass.menuName != nullptr ? entry.menuName : nullptr;
    if (!CurrentBackend().RegisterClass(entry.windowClass)) return 0;
    entry.used = true;
    return static_cast<uint16_t>(kFirstClassAtom + i);
  }
  return 0;
}

WindowHandle CreateWindow(const char* className, const char* title, unsigned style, int x, int y,
                          int width, int height, WindowHandle, intptr_t, InstanceHandle,
                          void* createData) {
  const ClassEntry* windowClass = className != nullptr ? FindClass(className) : nullptr;
  if (windowClass == nullptr) return kNoWindow;
  WindowEntry* entry = NewEntry(WindowKind::kWindow);
  if (entry == nullptr) return kNoWindow;
  entry->windowProc = windowClass->windowClass.windowProc;
  // The class menu comes from the module that registered the class.
  entry->menu = LoadMenu(windowClass->windowClass.instance, windowClass->windowClass.menuName);
  const WindowHandle window = entry->handle;
  if (!CurrentBackend().CreateWindow(window, windowClass->windowClass, title != nullptr ? title : "",
                                     style, x, y, width, height, entry->menu)) {
    entry->kind = WindowKind::kFree;
    return kNoWindow;
  }
  if (entry->windowProc(window, WM_CREATE, 0, reinterpret_cast<intptr_t>(createData)) == -1) {
    DestroyWindow(window);
    return kNoWindow;
  }
  return window;
}

WindowHandle CreateDialogParam(InstanceHandle instance, const char* templateName,
                               WindowHandle owner, DialogProc dialogProc, intptr_t initParam) {
  const DialogTemplate* dialogTemplate = FindDialogTemplate(instance, templateName);
  if (dialogTemplate == nullptr || dialogProc == nullptr ||
      dialogTemplate->controlCount > kMaxDialogControls) {
    return kNoWindow;
  }
  WindowEntry* dialogEntry = NewEntry(WindowKind::kDialog);
  if (dialogEntry == nullptr) return kNoWindow;
  dialogEntry->dialogProc = dialogProc;
  dialogEntry->parent = owner;
  const WindowHandle dialog = dialogEntry->handle;
  WindowHandle controls[kMaxDialogControls];
  for (int i = 0; i < dialogTemplate->controlCount; ++i) {
    WindowEntry* control = NewEntry(WindowKind::kControl);
    if (control == nullptr) {
      FreeDialogControls(dialog);
      dialogEntry->kind = WindowKind::kFree;
      return kNoWindow;
    }
    control->parent = dialog;
    control->controlId = dialogTemplate->controls[i].id;
    controls[i] = control->handle;
  }
  if (!CurrentBackend().CreateDialog(dialog, owner, *dialogTemplate, controls)) {
    FreeDialogControls(dialog);
    dialogEntry->kind = WindowKind::kFree;
    return kNoWindow;
  }
  dialogProc(dialog, WM_INITDIALOG, 0, initParam);
  return dialog;
}

bool DestroyWindow(WindowHandle window) {
  WindowEntry* entry = FindWindowEntry(window);
  if (entry == nullptr) return false;
  SendMessage(window, WM_DESTROY, 0, 0);
  CurrentBackend().DestroyWindow(window);
  // The procedure may have destroyed it already.
  entry = FindWindowEntry(window);
  if (entry == nullptr) return true;
  if (entry->kind == WindowKind::kDialog) FreeDialogControls(window);
  entry->kind = WindowKind::kFree;
  return true;
}

bool IsWindow(WindowHandle window) { return FindWindowEntry(window) != nullptr; }

WindowHandle GetDlgItem(WindowHandle dialog, int id) {
  for (const WindowEntry& entry : windows) {
    if (entry.kind == WindowKind::kControl && entry.parent == dialog && entry.controlId == id) {
      return entry.handle;
    }
  }
  return kNoWindow;
}

namespace {

// The window's entry when its menu has the item, else nullptr.
WindowEntry* MenuWithItem(WindowHandle window, unsigned id) {
  WindowEntry* entry = FindWindowEntry(window);
  if (entry == nullptr || entry->menu == nullptr) return nullptr;
  for (int p = 0; p < entry->menu->popupCount; ++p) {
    const MenuPopup& popup = entry->menu->popups[p];
    for (int i = 0; i < popup.itemCount; ++i) {
      if (popup.items[i].id == id) return entry;
    }
  }
  return nullptr;
}

// Adds or removes id in a small set of item ids; false when it is full.
bool MarkItem(unsigned* items, int& count, int capacity, unsigned id, bool marked) {
  for (int i = 0; i < count; ++i) {
    if (items[i] != id) continue;
    if (!marked) items[i] = items[--count];
    return true;
  }
  if (!marked) return true;
  if (count == capacity) return false;
  items[count++] = id;
  return true;
}

}  // namespace

int CheckMenuItem(WindowHandle window, unsigned id, unsigned flags) {
  WindowEntry* entry = MenuWithItem(window, id);
  if (entry == nullptr) return -1;
  const bool wasChecked = MenuItemChecked(window, id);
  const bool check = (flags & MF_CHECKED) != 0;
  if (!MarkItem(entry->checkedItems, entry->checkedCount, kMaxCheckedItems, id, check)) return -1;
  CurrentBackend().CheckMenuItem(window, id, check);
  return static_cast<int>(wasChecked ? MF_CHECKED : MF_UNCHECKED);
}

bool MenuItemChecked(WindowHandle window, unsigned id) {
  const WindowEntry* entry = FindWindowEntry(window);
  if (entry == nullptr) return false;
  for (int i = 0; i < entry->checkedCount; ++i) {
    if (entry->checkedItems[i] == id) return true;
  }
  return false;
}

int EnableMenuItem(WindowHandle window, unsigned id, unsigned flags) {
  WindowEntry* entry = MenuWithItem(window, id);
  if (entry == nullptr) return -1;
  const bool wasEnabled = MenuItemEnabled(window, id);
  const bool enable = (flags & MF_GRAYED) == 0;
  if (!MarkItem(entry->grayedItems, entry->grayedCount, kMaxGrayedItems, id, !enable)) return -1;
  CurrentBackend().EnableMenuItem(window, id, enable);
  return static_cast<int>(wasEnabled ? MF_ENABLED : MF_GRAYED);
}

bool MenuItemEnabled(WindowHandle window, unsigned id) {
  const WindowEntry* entry = FindWindowEntry(window);
  if (entry == nullptr || entry->menu == nullptr) return false;
  for (int i = 0; i < entry->grayedCount; ++i) {
    if (entry->grayedItems[i] == id) return false;
  }
  return true;
}

}  // namespace quorval
