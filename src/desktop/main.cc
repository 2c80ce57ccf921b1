// quorval: the desktop program.
#include <QApplication>

#include <cstdlib>

#include "backends/console/console_backend.h"
#include "backends/qt/qt_backend.h"
#include "resources/resources.h"
#include "shell/main_window.h"

namespace quorval {
namespace {

// On the console a box is a line on standard error, and the main window
// cannot be created.
int RunWithoutWindows() {
  InstallBackend(&ConsoleBackend());
  return ProgramEntry(kProgramInstance, 0, "", SW_SHOWDEFAULT);
}

QtMessageHandler qtDefaultHandler = nullptr;

// A display that is named but cannot be reached makes Qt give up while it
// starts. That is the window system refusing the main window: the program
// says so as it does then, and ends with 2 instead of aborting.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  qtDefaultHandler(type == QtFatalMsg ? QtCriticalMsg : type, context, message);
  if (type == QtFatalMsg) std::_Exit(RunWithoutWindows());
}

}  // namespace

}  // namespace quorval

int main(int argc, char** argv) {
  using namespace quorval;
  // What the platform's loader does for a program's module.
  RegisterResourceModule(kProgramInstance, &kProgramResources);
  // Without a display Qt would abort while starting. The program runs on
  // the console instead, where its main window cannot be created: the
  // message "Window creation failed!" goes to standard error and the exit
  // code is 2, as when a window system refuses the window.
  if (!DisplayAvailable()) return RunWithoutWindows();

  qtDefaultHandler = qInstallMessageHandler(StartupMessageHandler);
  QApplication application(argc, argv);
  qInstallMessageHandler(qtDefaultHandler);
  QApplication::setApplicationName(QStringLiteral("quorval"));
  QtBackend backend;
  InstallBackend(&backend);
  // The command line is not used.
  const int exitCode = ProgramEntry(kProgramInstance, 0, "", SW_SHOWDEFAULT);
  InstallBackend(nullptr);
  return exitCode;
}
