// Batch PostProc on the desktop: the list chooser, every listed log
// converted without questions, the final message, and the program closing.
#include <gmock/gmock.h>

#include <filesystem>

#include "desktop_test_support.h"
#include "log_generator.h"

using namespace quorval;

namespace desktop_test {
namespace {

using ::testing::ElementsAre;

class DesktopBatchRun : public DesktopTest {};

void WriteLogTo(const std::string& path, int64_t size) {
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(WriteSyntheticLog(out, size), 0);
  std::fclose(out);
}

TEST_F(DesktopBatchRun, TwoListedLogsBecomeTheConvertersTablesThenTheFinalMessageClosesTheProgram) {
  WriteLogTo(folder / "day1.log", 200'000);
  WriteLogTo(folder / "day2.log", 350'000);
  // Whatever the listed extension, the log converted is the ".log" one.
  const std::string list = folder.Write("AllData.ini", folder / "day1.txt" + "\n" + folder / "day2.dat" + "\n");

  User user;
  FileDialogSeen chooser;
  BoxSeen final;
  user.ChooseMenu(kBatchCommand).ChooseFile(list, &chooser).Answer(QMessageBox::Ok, &final);

  EXPECT_EQ(RunProgram(), 0);  // closed by the batch itself, no further step
  EXPECT_TRUE(user.Done());

  EXPECT_EQ(chooser.title, "Open List File Name");
  EXPECT_EQ(chooser.proposedName, "AllData.ini");
  EXPECT_THAT(chooser.filters, ElementsAre(".ini"));
  EXPECT_EQ(chooser.mode, QFileDialog::ExistingFile);
  EXPECT_EQ(final.caption, "Processing Complete");
  EXPECT_EQ(final.text, "Processing Complete");
  EXPECT_EQ(final.icon, QMessageBox::Warning);
  EXPECT_THAT(final.buttons, ElementsAre(QMessageBox::Ok));

  // The converter given both logs at once shares the epoch record between
  // them as the batch does.
  std::filesystem::create_directory(folder / "cli");
  for (const char* name : {"day1.log", "day2.log"}) {
    std::filesystem::copy_file(folder / name, folder / (std::string("cli/") + name));
  }
  RunTheConverter({"--quiet", folder / "cli/day1.log", folder / "cli/day2.log"}, folder);
  for (const char* base : {"day1", "day2"}) {
    const std::string desktop = ReadBytes(folder / (std::string(base) + "-103+000.xlx"));
    EXPECT_GT(desktop.size(), 10'000u) << base;
    EXPECT_TRUE(desktop == ReadBytes(folder / (std::string("cli/") + base + "-103+000.csv"))) << base;
  }
  EXPECT_EQ(ReadBytes(folder / "AllData-diag.txt"), "\n" + folder / "day1.log" + "\n" + folder / "day2.log");
}

TEST_F(DesktopBatchRun, ClosingTheWindowDuringTheFirstLogAndAnsweringYesConvertsNoFurtherLog) {
  WriteLogTo(folder / "big.log", 30'000'000);
  WriteLogTo(folder / "day2.log", 200'000);
  const std::string list = folder.Write("AllData.ini", folder / "big.log" + "\n" + folder / "day2.log" + "\n");

  User user;
  user.ChooseMenu(kBatchCommand).ChooseFile(list).CloseMainWindowDuringConversion().Answer(QMessageBox::Yes);

  EXPECT_EQ(RunProgram(), 0);  // no "Processing Complete" to answer
  EXPECT_TRUE(user.Done());
  EXPECT_FALSE(std::filesystem::exists(folder / "day2-103+000.xlx"));
  EXPECT_EQ(ReadBytes(folder / "AllData-diag.txt"), "\n" + folder / "big.log");
}

}  // namespace
}  // namespace desktop_test
