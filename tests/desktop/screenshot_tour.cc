// The screenshots of the README: the desktop program driven through a
// Single PostProc on Qt's offscreen platform, with a picture taken at each
// stop: the main window, the open File menu, the progress dialog in the
// middle of a conversion, the question the close box asks then, the closing
// prompt, the View and Options menus and the window on the table just written.
//
//   quorval_screenshot_tour OUTPUT-FOLDER WORK-FOLDER
//
// The offscreen platform draws no window frames; each window is shown in a
// plain frame with its own title, so that captions can be read.
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <filesystem>
#include <string>

#include "desktop_user.h"
#include "log_generator.h"
#include "state/epoch_record.h"
#include "backends/qt/qt_backend.h"
#include "resources/resources.h"
#include "shell/main_window.h"
#include "shell/progress_dialog.h"
#include "state/run_state.h"

using namespace quorval;

namespace {

using desktop_test::User;

constexpr int kTitleHeight = 26;
constexpr int kMargin = 16;
const QColor kBackdrop(0xd6, 0xdb, 0xe1);
const QColor kTitleBar(0x3d, 0x5a, 0x80);

std::string outputFolder;
QtBackend* desktop = nullptr;

// The window's client area on the screen, and with its frame.
QRect ClientOnScreen(const QWidget* window) {
  return QRect(window->mapToGlobal(QPoint(0, 0)), window->size());
}
QRect FramedOnScreen(const QWidget* window) {
  const QRect client = ClientOnScreen(window);
  if (window->windowType() == Qt::Popup) return client;
  return client.adjusted(-1, -kTitleHeight, 1, 1);
}

// The windows as they stand on the screen, in stacking order (lowest first).
void Shoot(const char* name, const std::vector<QWidget*>& windows) {
  QRect area;
  for (const QWidget* window : windows) area |= FramedOnScreen(window);
  area.adjust(-kMargin, -kMargin, kMargin, kMargin);
  QImage image(area.size(), QImage::Format_RGB32);
  image.fill(kBackdrop);
  QPainter painter(&image);
  painter.translate(-area.topLeft());
  for (QWidget* window : windows) {
    const QRect framed = FramedOnScreen(window);
    const QRect client = ClientOnScreen(window);
    if (window->windowType() != Qt::Popup) {
      painter.fillRect(framed, kTitleBar);
      QFont font = QGuiApplication::font();
      font.setBold(true);
      painter.setFont(font);
      painter.setPen(Qt::white);
      const QRect title(framed.left() + 10, framed.top(), framed.width() - 44, kTitleHeight);
      painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, window->windowTitle());
      // The close box.
      const QRect close(framed.right() - 26, framed.top() + 5, 16, 16);
      painter.setPen(QPen(Qt::white, 2));
      painter.drawLine(close.topLeft() + QPoint(4, 4), close.bottomRight() - QPoint(4, 4));
      painter.drawLine(close.topRight() + QPoint(-4, 4), close.bottomLeft() + QPoint(4, -4));
    }
    painter.drawPixmap(client.topLeft(), window->grab());
  }
  painter.end();
  const std::string path = outputFolder + "/" + name;
  if (!image.save(QString::fromStdString(path))) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
  std::printf("%s\n", path.c_str());
}

// The backend places a box below the progress dialog's frame; the offscreen
// platform has no frames, so the box comes down by the title bar drawn for
// it here, where a window system would put the box's own.
void StandClearOfFrame(QWidget* box) {
  if (box->property("clearOfFrame").toBool()) return;
  box->setProperty("clearOfFrame", true);
  box->move(box->x(), box->y() + kTitleHeight + 1);
}

QWidget* ProgressDialogWindow() { return desktop->Widget(runState.progressDialog); }

QMenu* MenuOf(QMainWindow* main, int index) { return main->menuBar()->actions().at(index)->menu(); }

// Opens the menu bar's menu by a click on its title, with the entry highlighted.
bool OpenMenuOn(QMainWindow* main, int index, unsigned id) {
  QMenuBar* bar = main->menuBar();
  QMenu* menu = MenuOf(main, index);
  if (!menu->isVisible()) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(bar->actions().at(index)).center());
  }
  if (!menu->isVisible()) return false;
  menu->setActiveAction(User::MenuAction(id));
  return true;
}

// The box now up, where the backend put it below the progress dialog.
bool ShootBoxOverDialog(const char* name, QMainWindow* main) {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  QWidget* dialog = ProgressDialogWindow();
  if (box == nullptr || !box->isVisible() || dialog == nullptr) return false;
  StandClearOfFrame(box);
  Shoot(name, {main, dialog, box});
  return true;
}

QWidget* TableWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle().startsWith(QStringLiteral("Quorval - "))) return widget;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorval_screenshot_tour OUTPUT-FOLDER WORK-FOLDER\n");
    return 1;
  }
  outputFolder = std::filesystem::absolute(argv[1]).string();
  const std::string work = argv[2];
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::filesystem::create_directories(work);
  std::filesystem::current_path(work);

  // A synthetic day of driving, large enough to catch the bar mid-way.
  const std::string log = work + "/day1.txt";
  FILE* out = std::fopen(log.c_str(), "wb");
  if (out == nullptr || WriteSyntheticLog(out, 60'000'000) != 0 || std::fclose(out) != 0) {
    std::fprintf(stderr, "cannot write %s\n", log.c_str());
    return 1;
  }
  std::filesystem::remove(work + "/day1-103+000.csv");

  QApplication application(argc, argv);
  QtBackend backend;
  desktop = &backend;
  RegisterResourceModule(kProgramInstance, &kProgramResources);
  InstallBackend(&backend);

  User user;
  QMainWindow* main = nullptr;
  user.Then("the main window", [&] {
        main = User::MainWindow();
        if (main == nullptr) return false;
        main->resize(760, 420);
        return true;
      })
      .Then("a picture of the main window", [&] {
        Shoot("main-window.png", {main});
        return true;
      })
      .Then("the File menu opened on Single PostProc", [&] { return OpenMenuOn(main, 0, kSingleCommand); })
      .Then("a picture of the open menu", [&] {
        QMenu* menu = MenuOf(main, 0);
        Shoot("file-menu.png", {main, menu});
        menu->hide();
        return true;
      })
      .ChooseMenu(kSingleCommand)
      .ChooseFile(log)
      .ChooseFile(work + "/day1-103+000.csv")
      .Then("the conversion two fifths through", [&] {
        QWidget* dialog = ProgressDialogWindow();
        if (dialog == nullptr || runState.inputFile == nullptr) return false;
        const long position = std::ftell(runState.inputFile);
        if (position < runState.inputSize * 2 / 5) return false;
        Shoot("progress-dialog.png", {main, dialog});
        return true;
      })
      .CloseMainWindowDuringConversion()
      .Then("the question the close box asks", [&] { return ShootBoxOverDialog("close-question.png", main); })
      .Answer(QMessageBox::No)
      .Then("the closing prompt", [&] { return ShootBoxOverDialog("final-prompt.png", main); })
      .Answer(QMessageBox::No)
      .Then("the View menu opened on Show Last Table", [&] {
        return OpenMenuOn(main, 1, kShowLastTableCommand);
      })
      .Then("a picture of the View menu", [&] {
        QMenu* menu = MenuOf(main, 1);
        Shoot("view-menu.png", {main, menu});
        menu->hide();
        return true;
      })
      .Then("the Options menu opened on All satellite systems", [&] {
        return OpenMenuOn(main, 2, kAllSystemsCommand);
      })
      .Then("a picture of the Options menu", [&] {
        QMenu* menu = MenuOf(main, 2);
        Shoot("options-menu.png", {main, menu});
        menu->hide();
        return true;
      })
      .ChooseMenu(kShowLastTableCommand)
      .Then("the window on the table", [&] {
        QWidget* window = TableWindow();
        if (window == nullptr || !window->isVisible()) return false;
        window->resize(900, 640);
        return true;
      })
      .Then("a picture of the table's window", [&] {
        QWidget* window = TableWindow();
        Shoot("table-window.png", {window});
        window->close();
        return true;
      })
      .ChooseMenu(kExitCommand);

  const int exitCode = ProgramEntry(kProgramInstance, 0, "", SW_SHOWNORMAL);
  InstallBackend(nullptr);
  return exitCode == 0 && user.Done() ? 0 : 1;
}
