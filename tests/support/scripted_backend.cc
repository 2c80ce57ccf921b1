#include "support/scripted_backend.h"

#include <cstring>

#include "convert/progress_pump.h"
#include "resources/resources.h"
#include "state/run_state.h"

namespace quorval {

namespace {

const char* ActionName(UserAction::Kind kind) {
  switch (kind) {
    case UserAction::kClickCancel: return "clicks Cancel";
    case UserAction::kCloseDialog: return "closes the progress dialog";
    case UserAction::kRepaintDialog: return "uncovers the progress dialog";
    case UserAction::kChooseMenuItem: return "chooses menu item";
    case UserAction::kQueuedCommand: return "command arrives";
    case UserAction::kCloseMainWindow: return "closes the main window";
    case UserAction::kRequestCancel: return "asks the conversion to stop";
  }
  return "?";
}

std::string Number(intptr_t value) { return std::to_string(value); }

}  // namespace

UserAction ClickCancel() { return {UserAction::kClickCancel}; }
UserAction CloseDialog() { return {UserAction::kCloseDialog}; }
UserAction RepaintDialog() { return {UserAction::kRepaintDialog}; }
UserAction ChooseMenuItem(unsigned id) { return {UserAction::kChooseMenuItem, id}; }
UserAction QueuedCommand(unsigned id) { return {UserAction::kQueuedCommand, id}; }
UserAction CloseMainWindow() { return {UserAction::kCloseMainWindow}; }
UserAction RequestCancel() { return {UserAction::kRequestCancel}; }

ScriptedBackend& ScriptedBackend::ChooseInFileDialog(const std::string& path) {
  fileAnswers_.push_back({true, path});
  return *this;
}

ScriptedBackend& ScriptedBackend::CancelFileDialog() {
  fileAnswers_.push_back({false, {}});
  return *this;
}

ScriptedBackend& ScriptedBackend::AnswerBox(int answer) {
  boxAnswers_.push_back(answer);
  return *this;
}

ScriptedBackend& ScriptedBackend::WhenIdle(UserAction action) {
  idleActions_.push_back(action);
  return *this;
}

ScriptedBackend& ScriptedBackend::AfterLine(int conversion, int line, UserAction action) {
  timedActions_.push_back({conversion, line, action});
  return *this;
}

std::vector<std::string> ScriptedBackend::Boxes() const {
  std::vector<std::string> shown;
  for (const BoxShown& box : boxes) shown.push_back(box.caption + ": " + box.text);
  return shown;
}

int ScriptedBackend::Count(const std::string& operation) const {
  int count = 0;
  for (size_t at = Find(operation); at < transcript.size(); at = Find(operation, kNoWindow, at + 1)) {
    ++count;
  }
  return count;
}

size_t ScriptedBackend::Find(const std::string& operation, WindowHandle window, size_t from) const {
  const std::string prefix = operation + " ";
  const std::string onWindow = prefix + Number(window);
  for (size_t at = from; at < transcript.size(); ++at) {
    const std::string& line = transcript[at];
    if (window == kNoWindow ? (line == operation || line.starts_with(prefix))
                            : (line == onWindow || line.starts_with(onWindow + " "))) {
      return at;
    }
  }
  return transcript.size();
}

std::string ScriptedBackend::ControlText(int id) const {
  const auto found = controlTexts_.find(id);
  return found != controlTexts_.end() ? found->second : std::string();
}

std::vector<std::string> ScriptedBackend::Problems() const {
  std::vector<std::string> problems = problems_;
  for (const FileAnswer& answer : fileAnswers_) {
    problems.push_back("file dialog answer never asked for: " +
                       (answer.chosen ? answer.path : std::string("cancel")));
  }
  for (int answer : boxAnswers_) problems.push_back("box answer never asked for: " + std::to_string(answer));
  for (const UserAction& action : idleActions_) {
    problems.push_back(std::string("idle action never taken: ") + ActionName(action.kind));
  }
  for (const TimedAction& timed : timedActions_) {
    problems.push_back(std::string("action never taken: ") + ActionName(timed.action.kind) +
                       " after line " + std::to_string(timed.line) + " of conversion " +
                       std::to_string(timed.conversion));
  }
  return problems;
}

size_t ScriptedBackend::Note(const std::string& line) {
  transcript.push_back(line);
  return transcript.size() - 1;
}

int ScriptedBackend::ControlId(WindowHandle control) const {
  const auto found = controlIds_.find(control);
  return found != controlIds_.end() ? found->second : 0;
}

int ScriptedBackend::MessageBox(WindowHandle owner, const char* text, const char* caption,
                                unsigned style) {
  BoxShown box{0, owner, text != nullptr ? text : "", caption != nullptr ? caption : "", style,
               TakeMessageReason(), IDCANCEL};
  box.at = Note("MessageBox " + box.caption + ": " + box.text);
  // The script's hook may act before the box is answered.
  if (beforeAnswer) beforeAnswer(box.caption);
  if ((style & MB_TYPEMASK) == MB_OK) {
    box.answer = IDOK;
  } else if (boxAnswers_.empty()) {
    problems_.push_back("unscripted box: " + box.caption + ": " + box.text);
  } else {
    box.answer = boxAnswers_.front();
    boxAnswers_.pop_front();
  }
  boxes.push_back(box);
  return box.answer;
}

bool ScriptedBackend::GetOpenFileName(OpenFileNameRequest& request) {
  ChooserShown chooser{request.hwndOwner, request.lpstrTitle != nullptr ? request.lpstrTitle : "",
                       request.lpstrFile, {}, request.Flags, request.lStructSize,
                       request.nMaxFile, false};
  FilterEntry entries[8];
  const int count = FilterEntries(request.lpstrFilter, entries, 8);
  for (int i = 0; i < count; ++i) {
    chooser.filter.push_back(entries[i].description);
    chooser.filter.push_back(entries[i].pattern);
  }
  Note("GetOpenFileName " + chooser.title);
  if (beforeAnswer) beforeAnswer(chooser.title);
  if (fileAnswers_.empty()) {
    problems_.push_back("unscripted file dialog: " + chooser.title);
  } else {
    const FileAnswer answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    if (answer.chosen && answer.path.size() >= request.nMaxFile) {
      problems_.push_back("chosen name does not fit the dialog's buffer: " + answer.path);
    } else if (answer.chosen) {
      std::memcpy(request.lpstrFile, answer.path.c_str(), answer.path.size() + 1);
      chooser.chosen = true;
    }
  }
  choosers.push_back(chooser);
  return chooser.chosen;
}

bool ScriptedBackend::RegisterClass(const WindowClass& windowClass) {
  Note(std::string("RegisterClass ") + windowClass.className);
  classes.push_back({windowClass.className, windowClass.menuName != nullptr ? windowClass.menuName : "",
                     windowClass.style, windowClass.icon, windowClass.cursor,
                     windowClass.background});
  return !refuseClassRegistration;
}

bool ScriptedBackend::CreateWindow(WindowHandle window, const WindowClass& windowClass,
                                   const char* title, unsigned style, int x, int y, int width,
                                   int height, const MenuResource* menu) {
  Note("CreateWindow " + Number(window) + " " + title);
  windows.push_back({window, windowClass.className, title, menu != nullptr ? menu->name : "", style,
                     x, y, width, height});
  if (refuseWindowCreation) return false;
  mainWindow_ = window;
  return true;
}

bool ScriptedBackend::CreateDialog(WindowHandle dialog, WindowHandle owner,
                                   const DialogTemplate& dialogTemplate,
                                   const WindowHandle* controls) {
  const size_t at = Note("CreateDialog " + Number(dialog) + " " + dialogTemplate.name);
  dialogs.push_back({at, dialog, owner, dialogTemplate.name, dialogTemplate.caption,
                     dialogTemplate.style});
  ++conversion_;
  line_ = 0;
  if (refuseDialogCreation) return false;
  dialog_ = dialog;
  // Until it is moved, the dialog stands at the middle of a 1280 x 1024 screen.
  dialogRect_ = Rect{640 - dialogWidth / 2, 512 - dialogHeight / 2, 640 - dialogWidth / 2 + dialogWidth,
                     512 - dialogHeight / 2 + dialogHeight};
  controlIds_.clear();
  controlTexts_.clear();
  for (int i = 0; i < dialogTemplate.controlCount; ++i) {
    controlIds_[controls[i]] = dialogTemplate.controls[i].id;
  }
  return true;
}

void ScriptedBackend::ShowWindow(WindowHandle window, int showCommand) {
  Note("ShowWindow " + Number(window));
  shown.push_back({window, showCommand});
  if (window == dialog_ && repaintShownDialogs) PostMessage(window, WM_PAINT, 0, 0);
}

void ScriptedBackend::UpdateWindow(WindowHandle window) { Note("UpdateWindow " + Number(window)); }

void ScriptedBackend::DestroyWindow(WindowHandle window) {
  Note("DestroyWindow " + Number(window));
  destroyed.push_back(window);
  if (window == dialog_) dialog_ = kNoWindow;
  if (window == mainWindow_) mainWindow_ = kNoWindow;
}

void ScriptedBackend::SetWindowText(WindowHandle window, const char* text) {
  Note("SetWindowText " + Number(window) + " " + text);
  controlTexts_[ControlId(window)] = text;
}

Rect ScriptedBackend::GetWindowRect(WindowHandle window) {
  Note("GetWindowRect " + Number(window));
  if (window == dialog_) return dialogRect_;
  if (window == mainWindow_) {
    return Rect{mainClientOrigin.x, mainClientOrigin.y, mainClientOrigin.x + mainClient.right,
                mainClientOrigin.y + mainClient.bottom};
  }
  return Rect{};
}

Rect ScriptedBackend::GetClientRect(WindowHandle window) {
  Note("GetClientRect " + Number(window));
  if (window == mainWindow_) return mainClient;
  if (ControlId(window) == kProgressBarId) return barClient;
  if (window == dialog_) return Rect{0, 0, dialogWidth, dialogHeight};
  return Rect{};
}

Point ScriptedBackend::ClientToScreen(WindowHandle window, Point point) {
  Note("ClientToScreen " + Number(window));
  if (window == mainWindow_) return Point{point.x + mainClientOrigin.x, point.y + mainClientOrigin.y};
  return point;
}

void ScriptedBackend::MoveWindow(WindowHandle window, int x, int y, int width, int height,
                                 bool repaint) {
  Note("MoveWindow " + Number(window));
  moves.push_back({window, x, y, width, height, repaint});
  if (window == dialog_) dialogRect_ = Rect{x, y, x + width, y + height};
}

void ScriptedBackend::InvalidateRect(WindowHandle window, const Rect*, bool erase) {
  Note("InvalidateRect " + Number(window));
  barsWiped.push_back({ControlId(window), erase});
}

void ScriptedBackend::FillBarRect(WindowHandle window, const Rect& rect, uint32_t colour) {
  Note("FillBarRect " + Number(window));
  barsFilled.push_back({ControlId(window), rect, colour});
}

void ScriptedBackend::BeginPaint(WindowHandle window) { Note("BeginPaint " + Number(window)); }

void ScriptedBackend::SetTextColor(DeviceContext context, uint32_t colour) {
  Note("SetTextColor " + Number(context));
  textColour_ = colour;
}

void ScriptedBackend::DrawText(DeviceContext context, const char* text, int length,
                               const Rect& rect, unsigned format) {
  Note("DrawText " + Number(context));
  textsDrawn.push_back({context, std::string(text, static_cast<size_t>(length)), rect, format,
                        textColour_});
}

void ScriptedBackend::EndPaint(WindowHandle window) { Note("EndPaint " + Number(window)); }

void ScriptedBackend::EnableMenuItem(WindowHandle window, unsigned id, bool enabled) {
  Note("EnableMenuItem " + Number(window));
  menuStates.push_back({id, enabled});
}

void ScriptedBackend::ShowTableWindow(WindowHandle owner, const char* tablePath) {
  Note(std::string("ShowTableWindow ") + tablePath);
  tableWindows.push_back({owner, tablePath});
}

void ScriptedBackend::CheckMenuItem(WindowHandle window, unsigned id, bool checked) {
  Note("CheckMenuItem " + Number(window) + " " + std::to_string(id) + (checked ? " checked" : " unchecked"));
}

intptr_t ScriptedBackend::SendMessage(WindowHandle window, unsigned message, uintptr_t wParam,
                                      intptr_t lParam) {
  Note("SendMessage " + Number(window));
  sent.push_back({window, message, wParam, lParam,
                  lParam == kPositionInRecord ? runState.lastNotifiedPosition : lParam});
  return WindowingBackend::SendMessage(window, message, wParam, lParam);
}

void ScriptedBackend::Perform(const UserAction& action) {
  Note(std::string("User ") + ActionName(action.kind));
  bool reached = true;
  switch (action.kind) {
    case UserAction::kClickCancel:
      PostMessage(dialog_, WM_COMMAND, IDCANCEL, GetDlgItem(dialog_, IDCANCEL));
      break;
    case UserAction::kCloseDialog:
      PostMessage(dialog_, WM_CLOSE, 0, 0);
      break;
    case UserAction::kRepaintDialog:
      PostMessage(dialog_, WM_PAINT, 0, 0);
      break;
    case UserAction::kChooseMenuItem:
      // A greyed entry cannot be chosen: nothing reaches the program.
      reached = MenuItemEnabled(mainWindow_, action.id);
      if (reached) PostMessage(mainWindow_, WM_COMMAND, action.id, 0);
      break;
    case UserAction::kQueuedCommand:
      PostMessage(mainWindow_, WM_COMMAND, action.id, 0);
      break;
    case UserAction::kCloseMainWindow:
      PostMessage(mainWindow_, WM_CLOSE, 0, 0);
      break;
    case UserAction::kRequestCancel:
      runState.cancelRequested = 1;
      break;
  }
  actions.push_back({action.kind, action.id, reached});
}

void ScriptedBackend::PollEvents() {
  ++serviced_;
  ++line_;
  for (auto timed = timedActions_.begin(); timed != timedActions_.end();) {
    if (timed->conversion == conversion_ && timed->line == line_) {
      const UserAction action = timed->action;
      timed = timedActions_.erase(timed);
      Perform(action);
    } else {
      ++timed;
    }
  }
}

void ScriptedBackend::WaitForEvents() {
  if (idleActions_.empty()) {
    Note("User script ended");
    PostQuitMessage(kScriptEnded);
    return;
  }
  const UserAction action = idleActions_.front();
  idleActions_.pop_front();
  Perform(action);
}

}  // namespace quorval
