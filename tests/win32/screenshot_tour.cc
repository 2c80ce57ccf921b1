// The README's pictures of the Windows program (scripts/screenshots-windows):
// the program on its real windows, driven through a Single PostProc by the
// same user as the tests, the screen written at each stop.
//   quorval_screenshot_tour.exe PICTURE-FOLDER LOG-FOLDER
#include <cstdio>
#include <cstdlib>
#include <string>

#include "log_generator.h"
#include "backends/win32/win32_backend.h"
#include "resources/resources.h"
#include "shell/main_window.h"
#include "win32/desktop_user.h"

int main(int argc, char** argv) {
  using namespace quorval;
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorval_screenshot_tour PICTURE-FOLDER LOG-FOLDER\n");
    return 1;
  }
  std::string pictures = argv[1], logs = argv[2];
  // The file dialog takes no '/' in a name.
  for (std::string* path : {&pictures, &logs}) {
    for (char& c : *path) c = c == '/' ? '\\' : c;
  }
  // Large enough that the dialog is seen in the middle of the log.
  const std::string log = logs + "\\day1.txt";
  FILE* out = std::fopen(log.c_str(), "wb");
  if (out == nullptr) return 1;
  WriteSyntheticLog(out, 400'000'000);
  std::fclose(out);

  RegisterResourceModule(Win32ProgramInstance(), &kProgramResources);
  Win32Backend backend;
  InstallBackend(&backend);
  desktop_user::User user;
  user.Start([&](desktop_user::User& u) {
    desktop_user::Window main = u.WaitFor("Quorval-103");
    u.Pause(500);
    u.CaptureScreen(pictures + "\\main-window.bmp");
    u.OpenMenu(main, 0);
    u.Pause(700);
    u.CaptureScreen(pictures + "\\file-menu.bmp");
    u.PressEscape(main);
    u.PressEscape(main);
    u.Pause(300);
    u.ChooseMenu(main, kSingleCommand);
    u.ChooseName(u.WaitFor("Open Input File Name"), log);
    u.Press(u.WaitFor("Open Output File Name"), 1);
    desktop_user::Window progress = u.WaitFor("Post-Processing");
    // About a third of the way through.
    for (int i = 0; i < 3000 && std::atoi(u.ItemText(progress, kKilobytesReadFieldId).c_str()) < 130000; ++i) {
      u.Pause(5);
    }
    u.CaptureScreen(pictures + "\\progress-dialog.bmp");
    desktop_user::Window box = u.WaitFor("Processing Complete", 120000);
    u.Pause(500);
    u.CaptureScreen(pictures + "\\final-prompt.bmp");
    u.Press(box, 7);
    u.ChooseMenu(main, kShowLastTableCommand);
    desktop_user::Window table = u.WaitFor("Quorval - day1-103+000.csv", 120000);
    u.Place(table, 0, 0, 934, 699);
    u.Pause(1500);
    u.CaptureScreen(pictures + "\\table-window.bmp");
    u.CloseBox(table);
    u.CloseBox(main);
  });
  const int exitCode = ProgramEntry(Win32ProgramInstance(), 0, "", SW_SHOWNORMAL);
  user.Join();
  InstallBackend(nullptr);
  for (const std::string& failure : user.failures) std::fprintf(stderr, "tour: %s\n", failure.c_str());
  return user.failures.empty() ? exitCode : 1;
}
