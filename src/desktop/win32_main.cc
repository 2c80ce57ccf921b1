// quorval.exe: the desktop program on Windows. The entry the platform calls
// is declared here with plain types, since windows.h and the layer's header
// cannot share a translation unit.
#include "backends/win32/win32_backend.h"
#include "resources/resources.h"
#include "shell/main_window.h"

extern "C" int __stdcall WinMain(struct HINSTANCE__* instance, struct HINSTANCE__*,
                                 char* commandLine, int showCommand) {
  using namespace quorval;
  // The program's module holds its resources: the layer finds the menu, the
  // strings and the dialog template under its handle, as the platform finds
  // the compiled ones.
  const auto module = reinterpret_cast<InstanceHandle>(instance);
  RegisterResourceModule(module, &kProgramResources);
  Win32Backend backend;
  InstallBackend(&backend);
  // The command line is not used.
  const int exitCode = ProgramEntry(module, 0, commandLine, showCommand);
  InstallBackend(nullptr);
  return exitCode;
}
