#include "backends/qt/qt_backend.h"

#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <chrono>
#include <cstdlib>
#include <ctime>

#include "backends/qt/qt_windows.h"
#include "view_qt/plot_window.h"

namespace quorval {

namespace {

// The conversion asks for pending events once per block of the log; the
// toolkit is asked only this often, which keeps repaints and a Cancel click
// prompt while costing the conversion one clock reading per block. Each
// service repaints the progress dialog (the bar and the counts change
// between any two): at 10 ms that cost 4-6 % of a fast conversion, at
// 25 ms about 1 %.
constexpr int64_t kServiceIntervalNs = 25'000'000;

// Milliseconds-grained monotonic time in nanoseconds. The coarse clock is
// read from memory without touching the time-stamp counter: a few
// nanoseconds per line, where the precise one costs tens (a tenth of the
// conversion's time at hundreds of megabytes a second).
int64_t MonotonicNanoseconds() {
#ifdef CLOCK_MONOTONIC_COARSE
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
#else
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
#endif
}

constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;

QColor ColourOf(uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

Rect RectOf(const QRect& rect) {
  return Rect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

// A line edit lays its text out as soon as it is given one, which costs
// more than converting a block of the log; the kilobytes read change 500
// times a log. The field takes its newest text when the toolkit next
// handles its events, which is also when it paints, so the user sees every
// text that a repaint would have shown.
constexpr char kPendingText[] = "quorvalPendingText";

void SetFieldTextSoon(QLineEdit* edit, const QString& text) {
  const bool waiting = edit->property(kPendingText).isValid();
  edit->setProperty(kPendingText, text);
  if (waiting) return;
  QMetaObject::invokeMethod(
      edit,
      [edit] {
        const QString newest = edit->property(kPendingText).toString();
        edit->setProperty(kPendingText, QVariant());
        edit->setText(newest);
      },
      Qt::QueuedConnection);
}

bool IsSetInEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] != '\0';
}

}  // namespace

QtBackend::~QtBackend() {
  for (auto& [handle, widget] : widgets_) {
    if (widget != nullptr && widget->isWindow()) delete widget.data();
  }
  for (auto& [path, window] : tableWindows_) delete window.data();
}

void QtBackend::KeepWidget(WindowHandle window, QWidget* widget) { widgets_[window] = widget; }

QWidget* QtBackend::Widget(WindowHandle window) const {
  const auto found = widgets_.find(window);
  return found != widgets_.end() ? found->second.data() : nullptr;
}

QWidget* QtBackend::Client(WindowHandle window) const {
  QWidget* widget = Widget(window);
  return widget != nullptr ? MainWindowClient(widget) : nullptr;
}

int QtBackend::MessageBox(WindowHandle owner, const char* text, const char* caption,
                          unsigned style) {
  QWidget* ownerWidget = Widget(owner);
  return ShowMessageBox(ownerWidget != nullptr ? ownerWidget->window() : nullptr, text, caption,
                        style, PlaceForBox());
}

BoxPlace QtBackend::PlaceForBox() const {
  // A box shown while a dialog is on screen (the closing prompt, a question
  // during a run) stands below it, so that the dialog stays readable, on
  // the centre line of the main window the dialog belongs to.
  for (const auto& [handle, widget] : widgets_) {
    if (widget == nullptr || !widget->isWindow() || !widget->isVisible() ||
        widget->windowType() != Qt::Dialog) {
      continue;
    }
    QWidget* owner = widget->parentWidget();
    const QWidget* line = owner != nullptr ? MainWindowClient(owner) : widget.data();
    return BoxPlace{widget, line->mapToGlobal(line->rect().center()).x()};
  }
  return BoxPlace{};
}

bool QtBackend::GetOpenFileName(OpenFileNameRequest& request) {
  QWidget* owner = Widget(request.hwndOwner);
  return ShowOpenFileDialog(owner != nullptr ? owner->window() : nullptr, request);
}

bool QtBackend::CreateWindow(WindowHandle window, const WindowClass&, const char* title, unsigned,
                             int x, int y, int width, int height, const MenuResource* menu) {
  QWidget* mainWindow = NewMainWindow(*this, window, QString::fromLocal8Bit(title), menu);
  if (x != CW_USEDEFAULT && y != CW_USEDEFAULT) mainWindow->move(x, y);
  if (width != CW_USEDEFAULT && height != CW_USEDEFAULT) mainWindow->resize(width, height);
  KeepWidget(window, mainWindow);
  return true;
}

bool QtBackend::CreateDialog(WindowHandle dialog, WindowHandle owner,
                             const DialogTemplate& dialogTemplate, const WindowHandle* controls) {
  QWidget* ownerWidget = Widget(owner);
  QWidget* frame = NewTemplateDialog(dialog, ownerWidget != nullptr ? ownerWidget->window() : nullptr,
                                     dialogTemplate, controls,
                                     [this](WindowHandle control, QWidget* widget) { KeepWidget(control, widget); });
  KeepWidget(dialog, frame);
  return true;
}

void QtBackend::ShowWindow(WindowHandle window, int showCommand) {
  QWidget* widget = Widget(window);
  if (widget == nullptr) return;
  switch (showCommand) {
    case SW_HIDE:
      widget->hide();
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      widget->showMinimized();
      break;
    case SW_SHOWMAXIMIZED:
      widget->showMaximized();
      break;
    default:
      widget->show();
      if (widget->isWindow()) widget->raise();
      break;
  }
}

void QtBackend::UpdateWindow(WindowHandle window) {
  if (QWidget* widget = Widget(window)) widget->update();
}

void QtBackend::DestroyWindow(WindowHandle window) {
  QWidget* widget = Widget(window);
  widgets_.erase(window);
  if (widget != nullptr) {
    widget->hide();
    // Called from the program's own procedures, never from inside one of
    // the widget's event handlers, so it can go at once (with its controls).
    delete widget;
  }
  for (auto entry = widgets_.begin(); entry != widgets_.end();) {
    entry = entry->second.isNull() ? widgets_.erase(entry) : std::next(entry);
  }
}

void QtBackend::SetWindowText(WindowHandle window, const char* text) {
  QWidget* widget = Widget(window);
  if (widget == nullptr) return;
  const QString shown = QString::fromLocal8Bit(text);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    SetFieldTextSoon(edit, shown);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(shown);
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    button->setText(shown);
  } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
    frame->setTitle(shown);
  } else if (widget->isWindow()) {
    widget->setWindowTitle(shown);
  }
}

Rect QtBackend::GetWindowRect(WindowHandle window) {
  QWidget* widget = Widget(window);
  if (widget == nullptr) return Rect{};
  if (widget->isWindow()) return RectOf(widget->frameGeometry());
  return RectOf(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
}

Rect QtBackend::GetClientRect(WindowHandle window) {
  QWidget* widget = Widget(window);
  if (auto* bar = dynamic_cast<BarSurface*>(widget)) return RectOf(bar->ClientArea());
  QWidget* client = Client(window);
  return client != nullptr ? RectOf(QRect(QPoint(0, 0), client->size())) : Rect{};
}

Point QtBackend::ClientToScreen(WindowHandle window, Point point) {
  QWidget* client = Client(window);
  if (client == nullptr) return point;
  const QPoint origin = client->contentsRect().topLeft();
  const QPoint screen = client->mapToGlobal(origin + QPoint(point.x, point.y));
  return Point{screen.x(), screen.y()};
}

void QtBackend::MoveWindow(WindowHandle window, int x, int y, int width, int height, bool repaint) {
  QWidget* widget = Widget(window);
  if (widget == nullptr) return;
  if (widget->isWindow()) {
    // The rectangle includes the frame; Qt sizes the client area.
    const QSize frame = widget->frameGeometry().size() - widget->size();
    widget->move(x, y);
    widget->resize(width - frame.width(), height - frame.height());
  } else {
    widget->setGeometry(x, y, width, height);
  }
  if (repaint) widget->update();
}

void QtBackend::InvalidateRect(WindowHandle window, const Rect*, bool) {
  QWidget* widget = Widget(window);
  if (auto* bar = dynamic_cast<BarSurface*>(widget)) {
    bar->Clear();
  } else if (widget != nullptr) {
    MainWindowClient(widget)->update();
  }
}

void QtBackend::FillBarRect(WindowHandle window, const Rect& rect, uint32_t colour) {
  auto* bar = dynamic_cast<BarSurface*>(Widget(window));
  if (bar == nullptr || rect.right <= rect.left || rect.bottom <= rect.top) return;
  bar->Fill(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)),
            ColourOf(colour));
}

void QtBackend::PaintClient(WindowHandle window, QPainter& painter) {
  paintingWindow_ = window;
  painter_ = &painter;
  quorval::SendMessage(window, WM_PAINT, 0, 0);
  painter_ = nullptr;
  paintingWindow_ = kNoWindow;
}

void QtBackend::SetTextColor(DeviceContext context, uint32_t colour) {
  if (painter_ != nullptr && context == paintingWindow_) painter_->setPen(ColourOf(colour));
}

void QtBackend::DrawText(DeviceContext context, const char* text, int length, const Rect& rect,
                         unsigned format) {
  if (painter_ == nullptr || context != paintingWindow_ || text == nullptr) return;
  const QString shown = length < 0 ? QString::fromLocal8Bit(text) : QString::fromLocal8Bit(text, length);
  int flags = Qt::AlignTop;
  flags |= (format & DT_CENTER) != 0 ? Qt::AlignHCenter : Qt::AlignLeft;
  if ((format & DT_WORDBREAK) != 0) flags |= Qt::TextWordWrap;
  painter_->drawText(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)),
                     flags, shown);
}

void QtBackend::EnableMenuItem(WindowHandle window, unsigned id, bool enabled) {
  if (QWidget* widget = Widget(window)) EnableMenuCommand(widget, id, enabled);
}

void QtBackend::ShowTableWindow(WindowHandle, const char* tablePath) {
  const QString path = QFile::decodeName(tablePath);
  QPointer<view::PlotWindow>& shown = tableWindows_[path];
  if (shown == nullptr) {
    shown = new view::PlotWindow;
    shown->setAttribute(Qt::WA_DeleteOnClose);
  }
  // Read afresh: a later run may have written the table again.
  shown->OpenTable(path);
  shown->show();
  shown->raise();
  shown->activateWindow();
}

void QtBackend::CheckMenuItem(WindowHandle window, unsigned id, bool checked) {
  if (QWidget* widget = Widget(window)) CheckMenuCommand(widget, id, checked);
}

void QtBackend::PollEvents() {
  const int64_t now = MonotonicNanoseconds();
  if (now - lastServiced_ < kServiceIntervalNs) return;
  lastServiced_ = now;
  QCoreApplication::processEvents();
}

void QtBackend::WaitForEvents() {
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  lastServiced_ = MonotonicNanoseconds();
}

bool DisplayAvailable() {
  return IsSetInEnvironment("QT_QPA_PLATFORM") || IsSetInEnvironment("WAYLAND_DISPLAY") || IsSetInEnvironment("DISPLAY");
}

}  // namespace quorval
