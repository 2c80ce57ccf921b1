#include <QAction>
#include <QCloseEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>

#include "backends/qt/qt_backend.h"
#include "backends/qt/qt_windows.h"

namespace quorval {

namespace {

// The client area: the class's white background, then whatever the window
// procedure paints on WM_PAINT.
class ClientArea final : public QWidget {
 public:
  ClientArea(QtBackend& backend, WindowHandle window) : backend_(backend), window_(window) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    backend_.PaintClient(window_, painter);
  }

 private:
  QtBackend& backend_;
  WindowHandle window_;
};

class MainWindow final : public QMainWindow {
 public:
  explicit MainWindow(WindowHandle window) : window_(window) {}

 protected:
  // The program decides whether a close request ends it (not during a run).
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    PostMessage(window_, WM_CLOSE, 0, 0);
  }

 private:
  WindowHandle window_;
};

// The platform's default size for a main window placed by it.
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;

void BuildMenu(QMainWindow& mainWindow, WindowHandle window, const MenuResource& menu) {
  QMenuBar* bar = mainWindow.menuBar();
  // In the window itself, as the resource describes it, not in a desktop's
  // global menu.
  bar->setNativeMenuBar(false);
  for (int p = 0; p < menu.popupCount; ++p) {
    const MenuPopup& popup = menu.popups[p];
    // Texts are kept as they stand: the blanks space the titles apart, and
    // '&' marks the mnemonic letter in Qt as it does in the resource.
    QMenu* drop = bar->addMenu(QString::fromLatin1(popup.text));
    for (int i = 0; i < popup.itemCount; ++i) {
      const MenuItem& item = popup.items[i];
      QAction* action = drop->addAction(QString::fromLatin1(item.text));
      action->setData(item.id);
      action->setCheckable(item.checkMark);
      const unsigned id = item.id;
      // A blank entry is an entry too: choosing it sends its command,
      // which the window procedure leaves to the default handling. Qt turns
      // a check mark over by itself; the program's CheckMenuItem decides.
      QObject::connect(action, &QAction::triggered, [action, window, id] {
        if (action->isCheckable()) action->setChecked(MenuItemChecked(window, id));
        PostMessage(window, WM_COMMAND, id, 0);
      });
    }
  }
}

}  // namespace

QWidget* NewMainWindow(QtBackend& backend, WindowHandle window, const QString& title,
                       const MenuResource* menu) {
  auto* mainWindow = new MainWindow(window);
  mainWindow->setWindowTitle(title);
  if (menu != nullptr) BuildMenu(*mainWindow, window, *menu);
  mainWindow->setCentralWidget(new ClientArea(backend, window));
  mainWindow->resize(kDefaultWidth, kDefaultHeight);
  return mainWindow;
}

QWidget* MainWindowClient(QWidget* mainWindow) {
  auto* main = qobject_cast<QMainWindow*>(mainWindow);
  return main != nullptr && main->centralWidget() != nullptr ? main->centralWidget() : mainWindow;
}

namespace {

template <typename Change>
void ChangeMenuCommand(QWidget* mainWindow, unsigned id, Change change) {
  auto* main = qobject_cast<QMainWindow*>(mainWindow);
  if (main == nullptr) return;
  for (QAction* title : main->menuBar()->actions()) {
    if (title->menu() == nullptr) continue;
    for (QAction* action : title->menu()->actions()) {
      if (action->data().toUInt() == id) change(action);
    }
  }
}

}  // namespace

void EnableMenuCommand(QWidget* mainWindow, unsigned id, bool enabled) {
  ChangeMenuCommand(mainWindow, id, [enabled](QAction* action) { action->setEnabled(enabled); });
}

void CheckMenuCommand(QWidget* mainWindow, unsigned id, bool checked) {
  ChangeMenuCommand(mainWindow, id, [checked](QAction* action) { action->setChecked(checked); });
}

}  // namespace quorval
