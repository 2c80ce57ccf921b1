// The program's start and end, the main window and its menu commands.
#include "shell/main_window.h"

#include <gmock/gmock.h>

#include "shell_test_support.h"

namespace shell_test {
namespace {

using ::testing::ElementsAre;

class MainWindow : public ShellTest {};

TEST_F(MainWindow, StartShowsTheTitledWindowWithItsMenuAndAWhiteEmptyClientArea) {
  EXPECT_EQ(RunProgram(), kScriptEnded);

  const auto registered = backend.Calls("RegisterClass");
  ASSERT_EQ(registered.size(), 1u);
  EXPECT_EQ(registered[0].caption, "Quorval");
  EXPECT_EQ(registered[0].text, "Bramlet_MENU");
  EXPECT_EQ(registered[0].flags, CS_HREDRAW | CS_VREDRAW);
  EXPECT_EQ(registered[0].id, static_cast<int>(IDI_APPLICATION));
  EXPECT_EQ(registered[0].size, IDC_ARROW);
  EXPECT_EQ(registered[0].rect.left, WHITE_BRUSH);

  const auto created = backend.Calls("CreateWindow");
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].text, "Quorval-103");
  EXPECT_EQ(created[0].flags, WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(created[0].rect.left, CW_USEDEFAULT);
  EXPECT_EQ(created[0].rect.bottom, CW_USEDEFAULT);
  EXPECT_THAT(created[0].filter, ElementsAre("Bramlet_MENU"));
  EXPECT_EQ(backend.Calls("ShowWindow")[0].flags, static_cast<uint32_t>(SW_SHOWNORMAL));
  EXPECT_EQ(backend.Calls("UpdateWindow").size(), 1u);
  EXPECT_STREQ(runState.inputPath, "DEFAULT.TXT");
  EXPECT_STREQ(runState.statusText, "");
  EXPECT_EQ(runState.cancelRequested, 0);
  EXPECT_EQ(runState.instance, kProgramInstance);
  EXPECT_TRUE(backend.Boxes().empty());
}

TEST_F(MainWindow, PaintingDrawsTheEmptyStatusTextCentredInBlack) {
  RunProgram();
  // The window system asks for a repaint once the program is idle.
  SendMessage(runState.mainWindow, WM_PAINT, 0, 0);
  const auto drawn = backend.Calls("DrawText");
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].text, "");
  EXPECT_EQ(drawn[0].flags, DT_CENTER | DT_WORDBREAK);
  EXPECT_EQ(drawn[0].rect.right, backend.mainClient.right);
  EXPECT_EQ(backend.Calls("SetTextColor")[0].flags, 0u);
  EXPECT_EQ(backend.Calls("EndPaint").size(), 1u);
}

TEST_F(MainWindow, AboutShowsTheVersionAndChangesNothing) {
  backend.WhenIdle(ChooseMenuItem(kAboutCommand));
  EXPECT_EQ(RunProgram(), kScriptEnded);
  const auto boxes = backend.Calls("MessageBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "ZARN-103");
  EXPECT_EQ(boxes[0].caption, "Bramlet");
  EXPECT_EQ(boxes[0].flags, MB_TASKMODAL | MB_ICONINFORMATION | MB_OK);
  EXPECT_EQ(boxes[0].window, kNoWindow);
  EXPECT_STREQ(runState.inputPath, "DEFAULT.TXT");
}

TEST_F(MainWindow, BlankEntryDoesNothing) {
  backend.WhenIdle(ChooseMenuItem(kBlankCommand));
  EXPECT_EQ(RunProgram(), kScriptEnded);
  EXPECT_TRUE(backend.Boxes().empty());
  EXPECT_TRUE(backend.Calls("GetOpenFileName").empty());
  EXPECT_TRUE(backend.Calls("DestroyWindow").empty());
}

TEST_F(MainWindow, ExitAndTheCloseBoxBothEndTheProgramWithZero) {
  {
    ScriptedBackend script;
    script.WhenIdle(ChooseMenuItem(kExitCommand));
    EXPECT_EQ(RunProgramWith(script), 0);
    // Exit closes the streams and destroys the window before it quits.
    EXPECT_EQ(script.Calls("DestroyWindow").size(), 1u);
  }
  {
    ScriptedBackend script;
    script.WhenIdle(CloseMainWindow());
    EXPECT_EQ(RunProgramWith(script), 0);
    // The close request neither destroys the window nor closes streams.
    EXPECT_TRUE(script.Calls("DestroyWindow").empty());
  }
}

TEST_F(MainWindow, ExitClosesEveryStreamStillOpen) {
  runState.listFile = std::fopen(folder.Write("AllData.ini", "").c_str(), "r");
  backend.WhenIdle(ChooseMenuItem(kExitCommand));
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(AllStreamsClosed());
}

TEST_F(MainWindow, MainWindowThatCannotBeCreatedIsReportedWithExitCodeTwo) {
  backend.refuseWindowCreation = true;
  EXPECT_EQ(RunProgram(), kExitNoMainWindow);
  const auto boxes = backend.Calls("MessageBox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "Window creation failed!");
  EXPECT_EQ(boxes[0].caption, "");
  EXPECT_EQ(boxes[0].flags, MB_APPLMODAL | MB_ICONWARNING | MB_OK);
}

TEST_F(MainWindow, FailedClassRegistrationEndsWithZeroAndNoMessage) {
  backend.refuseClassRegistration = true;
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(backend.Boxes().empty());
  EXPECT_TRUE(backend.Calls("CreateWindow").empty());
}

TEST_F(MainWindow, ASecondInstanceTakesTheClassAsRegistered) {
  RegisterMainWindowClass(kProgramInstance);
  EXPECT_EQ(ProgramEntry(kProgramInstance, kProgramInstance, "ignored arguments", SW_SHOWNORMAL), kScriptEnded);
  EXPECT_EQ(backend.Calls("RegisterClass").size(), 1u);
  EXPECT_EQ(backend.Calls("CreateWindow").size(), 1u);
}

}  // namespace
}  // namespace shell_test
