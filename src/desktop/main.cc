// quorval: the desktop program.
#include <QApplication>

#include "platform/qt/qt_backend.h"
#include "shell/main_window.h"

namespace {

// Stands for the module handle the platform gives a program.
constexpr InstanceHandle kProgramInstance = 0x400000;

}  // namespace

int main(int argc, char** argv) {
  // Without a display Qt would abort while starting. The program runs on
  // the console instead, where its main window cannot be created: the
  // message "Window creation failed!" goes to standard error and the exit
  // code is 2, as when a window system refuses the window.
  if (!DisplayAvailable()) return ProgramEntry(kProgramInstance, 0, "", SW_SHOWDEFAULT);

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quorval"));
  QtBackend backend;
  InstallBackend(&backend);
  // The command line is not used.
  const int exitCode = ProgramEntry(kProgramInstance, 0, "", SW_SHOWDEFAULT);
  InstallBackend(nullptr);
  return exitCode;
}
