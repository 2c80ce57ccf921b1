// Options → All satellite systems: off at every start, checked and unchecked
// by choosing it, and honoured by the runs that begin while it is checked.
#include <gtest/gtest.h>

#include "shell_test_support.h"

using namespace quorval;

namespace shell_test {
namespace {

// Two fixes that only the multi-system mode reads (no $GPGGA at all).
const std::string kMultiSystemLog =
    "$GNRMC,003956.00,A,4552.65403,S,17030.00668,E,0.025,,120419,,,A,V*07\r\n"
    "$GNGGA,003956.00,4552.65403,S,17030.00668,E,1,12,0.64,14.2,M,1.8,M,,*56\r\n"
    "$GNRMC,003957.00,A,4552.65403,S,17030.00673,E,0.061,,120419,,,A,V*0C\r\n"
    "$GNGGA,003957.00,4552.65403,S,17030.00673,E,1,12,0.64,14.2,M,1.8,M,,*5D\r\n";

class OptionsMenu : public ShellTest {};

TEST_F(OptionsMenu, ASingleRunTakesTheCheckAsItBeginsAndAChangeDuringItWaitsForTheNext) {
  const std::string log = folder.Write("f9p.txt", kMultiSystemLog);
  backend.WhenIdle(ChooseMenuItem(kAllSystemsCommand))
      .WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "first.csv")
      .AfterLine(1, 2, ChooseMenuItem(kAllSystemsCommand))  // unchecked during the run
      .AnswerBox(IDYES)
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "second.csv")
      .AnswerBox(IDNO);

  EXPECT_EQ(RunProgram(), kScriptEnded);

  EXPECT_EQ(CsvLines(ReadBytes(folder / "first.csv")), 3);  // header and both fixes
  EXPECT_EQ(ReadBytes(folder / "second.csv"), "");          // the classic table of it
  const size_t checked = backend.Find("CheckMenuItem " + std::to_string(runState.mainWindow) + " " +
                                      std::to_string(kAllSystemsCommand) + " checked");
  const size_t unchecked = backend.Find("CheckMenuItem " + std::to_string(runState.mainWindow) + " " +
                                        std::to_string(kAllSystemsCommand) + " unchecked");
  EXPECT_LT(checked, unchecked);
  EXPECT_LT(unchecked, backend.transcript.size());
  EXPECT_FALSE(MenuItemChecked(runState.mainWindow, kAllSystemsCommand));
  // As the platform's call: the state before, or -1 for an item the menu has not.
  EXPECT_EQ(CheckMenuItem(runState.mainWindow, kAllSystemsCommand, MF_CHECKED), int{MF_UNCHECKED});
  EXPECT_EQ(CheckMenuItem(runState.mainWindow, kAllSystemsCommand, MF_UNCHECKED), int{MF_CHECKED});
  EXPECT_EQ(CheckMenuItem(runState.mainWindow, kBlankCommand + 1000, MF_CHECKED), -1);
}

TEST_F(OptionsMenu, ABatchStartedWhileItIsCheckedReadsEverySystem) {
  folder.Write("f9p.log", kMultiSystemLog);
  const std::string list = folder.Write("AllData.ini", folder / "f9p.txt\n");
  backend.WhenIdle(ChooseMenuItem(kAllSystemsCommand))
      .WhenIdle(ChooseMenuItem(kBatchCommand))
      .ChooseInFileDialog(list);

  EXPECT_EQ(RunProgram(), 0);  // a finished batch closes the program

  EXPECT_EQ(CsvLines(ReadBytes(folder / "f9p-103+000.xlx")), 3);
}

}  // namespace
}  // namespace shell_test
