// quorval: the desktop program.
#include <QApplication>

#include <cstdlib>

#include "platform/qt/qt_backend.h"
#include "shell/main_window.h"

namespace {

// Stands for the module handle the platform gives a program.
constexpr InstanceHandle kProgramInstance = 0x400000;

int RunWithoutWindows() { return ProgramEntry(kProgramInstance, 0, "", SW_SHOWDEFAULT); }

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

int main(int argc, char** argv) {
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
