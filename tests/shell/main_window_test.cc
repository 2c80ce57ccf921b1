// The program's start and end, the main window and its menu commands.
#include "shell/main_window.h"

#include <gmock/gmock.h>

#include "shell_test_support.h"

using namespace quorval;

namespace shell_test {
namespace {

using ::testing::ElementsAre;

class MainWindow : public ShellTest {};

TEST_F(MainWindow, StartShowsTheTitledWindowWithItsMenuAndAWhiteEmptyClientArea) {
  EXPECT_EQ(RunProgram(), kScriptEnded);

  ASSERT_EQ(backend.classes.size(), 1u);
  const ClassRegistered& registered = backend.classes[0];
  EXPECT_EQ(registered.className, "Quorval");
  EXPECT_EQ(registered.menuName, kMainMenuName);
  EXPECT_EQ(registered.style, CS_HREDRAW | CS_VREDRAW);
  EXPECT_EQ(registered.icon, IDI_APPLICATION);
  EXPECT_EQ(registered.cursor, IDC_ARROW);
  EXPECT_EQ(registered.background, WHITE_BRUSH);

  ASSERT_EQ(backend.windows.size(), 1u);
  const WindowCreated& created = backend.windows[0];
  EXPECT_EQ(created.className, "Quorval");
  EXPECT_EQ(created.title, "Quorval-103");
  EXPECT_EQ(created.style, WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(created.x, CW_USEDEFAULT);
  EXPECT_EQ(created.height, CW_USEDEFAULT);
  EXPECT_EQ(created.menuName, kMainMenuName);  // the class menu, from the program's module
  ASSERT_EQ(backend.shown.size(), 1u);
  EXPECT_EQ(backend.shown[0].showCommand, SW_SHOWNORMAL);
  EXPECT_EQ(backend.Count("UpdateWindow"), 1);
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
  ASSERT_EQ(backend.textsDrawn.size(), 1u);
  const TextDrawn& drawn = backend.textsDrawn[0];
  EXPECT_EQ(drawn.text, "");
  EXPECT_EQ(drawn.format, DT_CENTER | DT_WORDBREAK);
  EXPECT_EQ(drawn.rect.right, backend.mainClient.right);
  EXPECT_EQ(drawn.colour, RGB(0, 0, 0));
  EXPECT_EQ(backend.Count("EndPaint"), 1);
}

TEST_F(MainWindow, AboutShowsTheVersionAndChangesNothing) {
  backend.WhenIdle(ChooseMenuItem(kAboutCommand));
  EXPECT_EQ(RunProgram(), kScriptEnded);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "ZARN-103");
  EXPECT_EQ(backend.boxes[0].caption, "Bramlet");
  EXPECT_EQ(backend.boxes[0].style, MB_TASKMODAL | MB_ICONINFORMATION | MB_OK);
  EXPECT_EQ(backend.boxes[0].owner, kNoWindow);
  EXPECT_STREQ(runState.inputPath, "DEFAULT.TXT");
}

TEST_F(MainWindow, BlankEntryDoesNothing) {
  backend.WhenIdle(ChooseMenuItem(kBlankCommand));
  EXPECT_EQ(RunProgram(), kScriptEnded);
  EXPECT_TRUE(backend.Boxes().empty());
  EXPECT_TRUE(backend.choosers.empty());
  EXPECT_TRUE(backend.destroyed.empty());
}

TEST_F(MainWindow, ExitAndTheCloseBoxBothEndTheProgramWithZero) {
  {
    ScriptedBackend script;
    script.WhenIdle(ChooseMenuItem(kExitCommand));
    EXPECT_EQ(RunProgramWith(script), 0);
    // Exit closes the streams and destroys the window before it quits.
    EXPECT_EQ(script.destroyed.size(), 1u);
  }
  {
    ScriptedBackend script;
    script.WhenIdle(CloseMainWindow());
    EXPECT_EQ(RunProgramWith(script), 0);
    // The close request neither destroys the window nor closes streams.
    EXPECT_TRUE(script.destroyed.empty());
  }
}

TEST_F(MainWindow, ExitClosesEveryStreamStillOpen) {
  runState.listFile = std::fopen(folder.Write("AllData.ini", "").c_str(), "r");
  backend.WhenIdle(ChooseMenuItem(kExitCommand));
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(AllStreamsClosed());
}

TEST_F(MainWindow, ShowLastTableBeforeAnyTableWasWrittenOpensTheTableChosen) {
  const std::string table = folder.Write("day1-103+000.csv", "");
  backend.WhenIdle(ChooseMenuItem(kShowLastTableCommand)).ChooseInFileDialog(table);
  RunProgram();
  ASSERT_EQ(backend.choosers.size(), 1u);
  EXPECT_EQ(backend.choosers[0].title, "Open Table File Name");
  EXPECT_EQ(backend.choosers[0].flags, OFN_EXPLORER | OFN_FILEMUSTEXIST);
  EXPECT_THAT(backend.choosers[0].filter,
              ElementsAre("Quorval Tables (*.csv;*.xlx)", "*.csv;*.xlx", "All Files (*.*)", "*.*"));
  ASSERT_EQ(backend.tableWindows.size(), 1u);
  EXPECT_EQ(backend.tableWindows[0].tablePath, table);
}

TEST_F(MainWindow, ShowLastTableOpensTheTableWrittenLastAlsoDuringTheNextRun) {
  folder.Write("day1.log", LogWithFixes(4));
  folder.Write("day2.log", LogWithFixes(4));
  const std::string single = folder / "single.csv";
  backend.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(folder / "day1.log")
      .ChooseInFileDialog(single)
      .AnswerBox(IDNO)
      .WhenIdle(ChooseMenuItem(kShowLastTableCommand))
      .WhenIdle(ChooseMenuItem(kBatchCommand))
      .ChooseInFileDialog(folder.Write("AllData.ini", folder / "day1.log\n" + folder / "day2.log\n"))
      // Not greyed while day2 is converted: it opens the finished day1 table.
      .AfterLine(3, 2, ChooseMenuItem(kShowLastTableCommand));

  EXPECT_EQ(RunProgram(), 0);  // closed by the batch
  std::vector<std::string> shown;
  for (const TableWindowShown& window : backend.tableWindows) {
    EXPECT_EQ(window.owner, runState.mainWindow);
    shown.push_back(window.tablePath);
  }
  EXPECT_THAT(shown, ElementsAre(single, folder / "day1-103+000.xlx"));
  EXPECT_EQ(backend.choosers.size(), 3u);  // the run's two and the list: no table chooser
  EXPECT_EQ(CsvLines(ReadBytes(folder / "day2-103+000.xlx")), 4);
  EXPECT_STREQ(runState.lastTablePath, (folder / "day2-103+000.xlx").c_str());
}

TEST_F(MainWindow, MainWindowThatCannotBeCreatedIsReportedWithExitCodeTwo) {
  backend.refuseWindowCreation = true;
  EXPECT_EQ(RunProgram(), kExitNoMainWindow);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Window creation failed!");
  EXPECT_EQ(backend.boxes[0].caption, "");
  EXPECT_EQ(backend.boxes[0].style, MB_APPLMODAL | MB_ICONWARNING | MB_OK);
}

TEST_F(MainWindow, FailedClassRegistrationEndsWithZeroAndNoMessage) {
  backend.refuseClassRegistration = true;
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(backend.Boxes().empty());
  EXPECT_TRUE(backend.windows.empty());
}

TEST_F(MainWindow, ASecondInstanceTakesTheClassAsRegistered) {
  RegisterMainWindowClass(kProgramInstance);
  EXPECT_EQ(ProgramEntry(kProgramInstance, kProgramInstance, "ignored arguments", SW_SHOWNORMAL), kScriptEnded);
  EXPECT_EQ(backend.classes.size(), 1u);
  EXPECT_EQ(backend.windows.size(), 1u);
}

}  // namespace
}  // namespace shell_test
