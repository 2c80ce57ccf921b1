// Single PostProc on the desktop, driven through the real dialogs: the file
// choosers, the overwrite question, the progress dialog's Cancel button and
// the closing prompt.
#include <gmock/gmock.h>

#include <cstdio>

#include "desktop_test_support.h"
#include "log_generator.h"

using namespace quorval;

namespace desktop_test {
namespace {

constexpr size_t kLongLogBytes = 150'000'000;

using ::testing::ElementsAre;
using Clock = std::chrono::steady_clock;

class DesktopSingleRun : public DesktopTest {
 protected:
  // A synthetic 1 Hz receiver log of the given size.
  std::string WriteLog(const std::string& name, int64_t size) {
    const std::string path = folder / name;
    FILE* out = std::fopen(path.c_str(), "wb");
    EXPECT_NE(out, nullptr);
    EXPECT_EQ(WriteSyntheticLog(out, size), 0);
    std::fclose(out);
    return path;
  }
};

int CountOf(const std::string& text, const std::string& what) {
  int count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

TEST_F(DesktopSingleRun, ChoosingALogAndOverwritingTheOldTableGivesTheConvertersTableByteForByte) {
  const std::string log = WriteLog("day1.txt", 3'000'000);
  const std::string table = folder / "day1-103+000.csv";
  folder.Write("day1-103+000.csv", "an older table\r\n");

  User user;
  FileDialogSeen input, output;
  BoxSeen overwrite, prompt;
  user.ChooseMenu(kSingleCommand)
      .ChooseFile(log, &input)
      .ChooseFile(table, &output)
      .Answer(QMessageBox::Yes, &overwrite)
      .Answer(QMessageBox::No, &prompt)
      .ChooseMenu(kExitCommand);

  EXPECT_EQ(RunProgram(), 0);
  ASSERT_TRUE(user.Done());

  EXPECT_EQ(input.title, "Open Input File Name");
  EXPECT_EQ(input.proposedName, "DEFAULT.TXT");
  EXPECT_THAT(input.filters, ElementsAre("Input Files, (*.TXT)", "All Files (*.*)"));
  EXPECT_EQ(input.mode, QFileDialog::ExistingFile);
  EXPECT_EQ(output.title, "Open Output File Name");
  EXPECT_EQ(output.folder, folder.path().string());
  EXPECT_EQ(output.proposedName, "day1-103+000.csv");
  EXPECT_THAT(output.filters, ElementsAre("Output Files, (*.csv)", "All Files (*.*)"));

  EXPECT_EQ(overwrite.caption, "Open Output File");
  EXPECT_EQ(overwrite.text, "File already exists.  Overwrite?");
  EXPECT_EQ(overwrite.icon, QMessageBox::Question);
  EXPECT_THAT(overwrite.buttons, ElementsAre(QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel));
  EXPECT_EQ(prompt.caption, "Processing Complete");
  EXPECT_EQ(prompt.text, "Do another file?");
  EXPECT_EQ(prompt.icon, QMessageBox::Question);
  EXPECT_THAT(prompt.buttons, ElementsAre(QMessageBox::Yes, QMessageBox::No));

  const std::string desktop = ReadBytes(table);
  const std::string converter = ConvertedByTheConverter(log, folder / "converter.csv", folder);
  ASSERT_GT(converter.size(), 100'000u);
  EXPECT_TRUE(desktop == converter) << "the desktop table (" << desktop.size()
                                    << " bytes) differs from the converter's (" << converter.size() << ")";
}

TEST_F(DesktopSingleRun, CancelClickedDuringALargeConversionStopsItAtOnceAndTheTableIsCutShort) {
  // Long enough that the conversion outlasts the user's steps on a machine
  // busy with other tests: the window is serviced only every 25 ms.
  const std::string log = WriteLog("big.txt", kLongLogBytes);
  const std::string table = folder / "big-103+000.csv";

  User user;
  BoxSeen prompt;
  std::string readAtClick;
  int rowsAtClick = 0;
  Clock::time_point clicked, prompted;
  user.ChooseMenu(kSingleCommand)
      .ChooseFile(log)
      .ChooseFile(table)
      .Then("the progress dialog under way", [&] {
        if (runState.progressDialog == kNoWindow || runState.outputFile == nullptr) return false;
        readAtClick = FieldText(kKilobytesReadFieldId);
        if (readAtClick.empty() || readAtClick == "0") return false;
        rowsAtClick = EpochCounter - 1;
        clicked = Clock::now();
        QTest::mouseClick(ProgressControl(IDCANCEL), Qt::LeftButton);
        return true;
      })
      .Then("the prompt", [&] {
        if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) == nullptr) return false;
        prompted = Clock::now();
        return true;
      })
      .Answer(QMessageBox::No, &prompt)
      .ChooseMenu(kExitCommand);

  EXPECT_EQ(RunProgram(), 0);
  ASSERT_TRUE(user.Done());

  EXPECT_EQ(prompt.caption, "Processing Aborted");
  EXPECT_EQ(prompt.text, "Do another file?");
  // The conversion stopped within the line in progress at the click: the
  // table holds the rows made by then (the header's line aside), and at
  // most one more.
  const std::string cut = ReadBytes(table);
  const int rows = CountOf(cut, "\r\n") - 1;
  EXPECT_GE(rows, rowsAtClick);
  EXPECT_LE(rows, rowsAtClick + 1);
  EXPECT_LT(rows, CountOf(ReadBytes(log), "$GPGGA") / 2) << "read " << readAtClick << " kB";
  EXPECT_EQ(cut.substr(cut.size() - 2), "\r\n");
  const auto latency = std::chrono::duration_cast<std::chrono::milliseconds>(prompted - clicked);
  // Well under 50 ms on an idle machine; the bound leaves room for a busy one.
  EXPECT_LT(latency.count(), 1000);
  std::printf("Cancel clicked at %s kB; the prompt came %lld ms later\n", readAtClick.c_str(),
              static_cast<long long>(latency.count()));
  EXPECT_EQ(runState.cancelRequested, 0);
}

TEST_F(DesktopSingleRun, ClosingTheWindowDuringAConversionAsksFirstNoGoesOnAndYesStopsAndQuits) {
  // Long enough that the conversion outlasts the user's steps on a machine
  // busy with other tests: the window is serviced only every 25 ms.
  const std::string log = WriteLog("big.txt", kLongLogBytes);
  const std::string table = folder / "big-103+000.csv";

  User user;
  BoxSeen question;
  long writtenAtNo = 0;
  user.ChooseMenu(kSingleCommand)
      .ChooseFile(log)
      .ChooseFile(table)
      .CloseMainWindowDuringConversion()
      .Answer(QMessageBox::No, &question)
      .Then("the conversion going on", [&] {
        writtenAtNo = runState.outputFile != nullptr ? std::ftell(runState.outputFile) : -1;
        return true;
      })
      .CloseMainWindowDuringConversion()
      .Answer(QMessageBox::Yes);

  EXPECT_EQ(RunProgram(), 0);
  ASSERT_TRUE(user.Done());

  EXPECT_EQ(question.text, "A conversion is running. Stop it and quit?");
  EXPECT_EQ(question.defaultButton, QMessageBox::No);
  // No went on converting; Yes stopped it with its files closed, the table
  // ending on a whole row, and no "Do another file?" came.
  const std::string cut = ReadBytes(table);
  EXPECT_GT(static_cast<long>(cut.size()), writtenAtNo);
  EXPECT_LT(CountOf(cut, "\r\n"), CountOf(ReadBytes(log), "$GPGGA"));
  EXPECT_EQ(cut.substr(cut.size() - 2), "\r\n");
  EXPECT_EQ(runState.outputFile, nullptr);
}

}  // namespace
}  // namespace desktop_test
