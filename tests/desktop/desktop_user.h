// A user who acts on the desktop program's real windows one step after the
// other (each step waits until its window is there), as a person would:
// typing a name into the file dialog, pressing a box's button, choosing a
// menu entry. The desktop tests and the screenshot tour drive the program
// with it.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "layer/windowing.h"
#include "state/run_state.h"

namespace desktop_test {

using namespace quorval;

// A test whose steps are not all taken by then has hung on a window.
constexpr int kWatchdogMilliseconds = 90'000;

// What the user saw in a message box.
struct BoxSeen {
  std::string caption;
  std::string text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::vector<QMessageBox::StandardButton> buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  bool modal = false;
};

// What the user saw in a file dialog.
struct FileDialogSeen {
  std::string title;
  std::string folder;
  std::string proposedName;
  std::vector<std::string> filters;  // as the filter list shows them
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  bool native = true;
};

inline std::string Text(const QString& text) { return text.toStdString(); }

class User {
 public:
  // A step is done when it returns true; until then it is tried again.
  using Step = std::function<bool()>;

  User() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { TakeNextStep(); });
    timer_.start();
    watchdog_.setSingleShot(true);
    QObject::connect(&watchdog_, &QTimer::timeout, [this] {
      std::fprintf(stderr, "the user waited in vain for: %s\n",
                   steps_.empty() ? "(nothing)" : steps_.front().first.c_str());
      std::fflush(stderr);
      std::_Exit(1);
    });
    watchdog_.start(kWatchdogMilliseconds);
  }

  User& Then(const std::string& what, Step step) {
    steps_.emplace_back(what, std::move(step));
    return *this;
  }

  // Types the path into the next file dialog and presses its Open button.
  User& ChooseFile(const std::string& path, FileDialogSeen* seen = nullptr) {
    return Then("a file dialog to choose " + path, [this, path, seen] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible() || dialog == actedOn_) return false;
      actedOn_ = dialog;
      if (seen != nullptr) *seen = Describe(*dialog);
      dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(path));
      Click(dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Open));
      return true;
    });
  }

  // Presses the button in the next message box.
  User& Answer(QMessageBox::StandardButton button, BoxSeen* seen = nullptr) {
    return Then("a message box", [this, button, seen] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr || !box->isVisible() || box == actedOn_) return false;
      actedOn_ = box;
      if (seen != nullptr) *seen = Describe(*box);
      Click(box->button(button));
      return true;
    });
  }

  // Chooses an entry of the main window's menu.
  User& ChooseMenu(unsigned id) {
    return Then("the menu entry " + std::to_string(id), [id] {
      QAction* action = MenuAction(id);
      if (action == nullptr || !action->isEnabled() || QApplication::activeModalWidget() != nullptr) {
        return false;
      }
      action->trigger();
      return true;
    });
  }

  // The title bar's close box of the main window.
  User& CloseMainWindow() {
    return Then("the main window to close", [] {
      QWidget* main = MainWindow();
      if (main == nullptr || QApplication::activeModalWidget() != nullptr) return false;
      main->close();
      return true;
    });
  }

  // The close box while a log is being converted (kilobytes read shown).
  User& CloseMainWindowDuringConversion() {
    return Then("the main window to close during a conversion", [] {
      QWidget* main = MainWindow();
      if (main == nullptr || QApplication::activeModalWidget() != nullptr) return false;
      if (runState.progressDialog == kNoWindow || runState.outputFile == nullptr) return false;
      main->close();
      return true;
    });
  }

  bool Done() const { return steps_.empty(); }

  // A mouse click on the button, once the current step is over: what it
  // sets off (a box that refuses a name) is then answered by the next step.
  static void Click(QAbstractButton* button) {
    QTimer::singleShot(0, [target = QPointer<QAbstractButton>(button)] {
      if (target != nullptr) QTest::mouseClick(target, Qt::LeftButton);
    });
  }

  static QMainWindow* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* main = qobject_cast<QMainWindow*>(widget); main != nullptr && main->isVisible()) {
        return main;
      }
    }
    return nullptr;
  }

  static QAction* MenuAction(unsigned id) {
    QMainWindow* main = MainWindow();
    if (main == nullptr) return nullptr;
    for (QAction* title : main->menuBar()->actions()) {
      for (QAction* action : title->menu()->actions()) {
        if (action->data().toUInt() == id) return action;
      }
    }
    return nullptr;
  }

  static BoxSeen Describe(const QMessageBox& box) {
    BoxSeen seen;
    seen.caption = Text(box.windowTitle());
    seen.text = Text(box.text());
    seen.icon = box.icon();
    for (QAbstractButton* button : box.buttons()) seen.buttons.push_back(box.standardButton(button));
    std::sort(seen.buttons.begin(), seen.buttons.end());
    seen.defaultButton = box.standardButton(box.defaultButton());
    seen.modal = box.isModal();
    return seen;
  }

  static FileDialogSeen Describe(const QFileDialog& dialog) {
    FileDialogSeen seen;
    seen.title = Text(dialog.windowTitle());
    seen.folder = Text(dialog.directory().absolutePath());
    seen.proposedName = Text(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text());
    // The filter list as the dialog shows it (without the patterns).
    auto* shown = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    for (int i = 0; shown != nullptr && i < shown->count(); ++i) seen.filters.push_back(Text(shown->itemText(i)));
    seen.mode = dialog.fileMode();
    seen.native = !dialog.testOption(QFileDialog::DontUseNativeDialog);
    return seen;
  }

 private:
  void TakeNextStep() {
    if (busy_ || steps_.empty()) return;
    // A step may open a nested event loop (a click that shows a box); the
    // timer fires in there too, and must not run the same step again.
    busy_ = true;
    if (steps_.front().second()) steps_.pop_front();
    busy_ = false;
  }

  std::deque<std::pair<std::string, Step>> steps_;
  QTimer timer_;
  QTimer watchdog_;
  bool busy_ = false;
  // The window a click is on its way to: the next step waits for another.
  QPointer<QWidget> actedOn_;
};

}  // namespace desktop_test
