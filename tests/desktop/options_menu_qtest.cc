// Options → All satellite systems on the desktop: the entry's check mark,
// and a Single PostProc while it is checked writing the table that
// quorval-convert --gnss writes.
#include <gtest/gtest.h>

#include "desktop_test_support.h"

using namespace quorval;

namespace desktop_test {
namespace {

class DesktopOptionsMenu : public DesktopTest {};

// Two fixes that only the multi-system mode reads (no $GPGGA at all).
const std::string kMultiSystemLog =
    "$GNRMC,003956.00,A,4552.65403,S,17030.00668,E,0.025,,120419,,,A,V*07\r\n"
    "$GNGGA,003956.00,4552.65403,S,17030.00668,E,1,12,0.64,14.2,M,1.8,M,,*56\r\n"
    "$GNGSA,A,3,13,16,21,15,10,29,27,20,,,,,1.05,0.64,0.83,1*03\r\n"
    "$GAGSV,3,3,09,33,62,034,08,7*41\r\n"
    "$GNRMC,003957.00,A,4552.65403,S,17030.00673,E,0.061,,120419,,,A,V*0C\r\n"
    "$GNGGA,003957.00,4552.65403,S,17030.00673,E,1,12,0.64,14.2,M,1.8,M,,*5D\r\n";

bool EntryChecked(unsigned id) {
  QAction* action = User::MenuAction(id);
  return action != nullptr && action->isChecked();
}

TEST_F(DesktopOptionsMenu, CheckedTheSingleRunWritesTheMultiSystemTableUncheckedTheClassicOne) {
  const std::string log = folder.Write("f9p.txt", kMultiSystemLog);
  RunTheConverter({"--quiet", "--gnss", "-o", folder / "gnss.csv", log}, folder);
  bool checkedAtStart = true, checkedAfterChoice = false, checkedAfterSecondChoice = true;
  User user;
  user.Then("the start", [&] {
        checkedAtStart = EntryChecked(kAllSystemsCommand);
        return User::MainWindow() != nullptr;
      })
      .ChooseMenu(kAllSystemsCommand)
      .Then("the entry checked", [&] { return checkedAfterChoice = EntryChecked(kAllSystemsCommand); })
      .ChooseMenu(kSingleCommand)
      .ChooseFile(log)
      .ChooseFile(folder / "desktop.csv")
      .Answer(QMessageBox::No)
      .ChooseMenu(kAllSystemsCommand)
      .Then("the entry unchecked", [&] { return !(checkedAfterSecondChoice = EntryChecked(kAllSystemsCommand)); })
      .ChooseMenu(kSingleCommand)
      .ChooseFile(log)
      .ChooseFile(folder / "classic.csv")
      .Answer(QMessageBox::No)
      .ChooseMenu(kExitCommand);

  EXPECT_EQ(RunProgram(), 0);
  ASSERT_TRUE(user.Done());

  EXPECT_FALSE(checkedAtStart);
  EXPECT_TRUE(checkedAfterChoice);
  EXPECT_FALSE(checkedAfterSecondChoice);
  const std::string gnss = ReadBytes(folder / "gnss.csv");
  EXPECT_EQ(test_support::CsvLineCount(gnss), 3);
  EXPECT_EQ(ReadBytes(folder / "desktop.csv"), gnss);
  EXPECT_EQ(ReadBytes(folder / "classic.csv"), "");
}

}  // namespace
}  // namespace desktop_test
