// Batch PostProc, from the list chooser to the final box and the close.
#include "shell/batch_run.h"

#include <gmock/gmock.h>

#include <cstring>
#include <filesystem>

#include "shell_test_support.h"

using namespace quorval;

namespace shell_test {
namespace {

using ::testing::ElementsAre;

const std::string kFinalBox = "Processing Complete: Processing Complete";

class BatchRun : public ShellTest {
 protected:
  // Writes the list and scripts the command with it chosen.
  void ChooseList(const std::string& text) {
    list = folder.Write("AllData.ini", text);
    backend.WhenIdle(ChooseMenuItem(kBatchCommand)).ChooseInFileDialog(list);
  }
  std::string Diagnostics() const { return ReadBytes(folder / "AllData-diag.txt"); }
  int TableLines(const std::string& base) const { return CsvLines(ReadBytes(folder / (base + "-103+000.xlx"))); }

  std::string list;
};

TEST_F(BatchRun, ThreeLogsGiveThreeTablesAndTheDiagnosticsFileThenTheProgramCloses) {
  folder.Write("day1.log", LogWithFixes(3));
  folder.Write("day2.log", LogWithFixes(4));
  folder.Write("day3.log", LogWithFixes(5));
  // Whatever an entry's extension, its log is the ".log"; blank lines name
  // nothing; the last entry has no line end.
  ChooseList(folder / "day1.txt\r\n" + "\n" + "  \t\n" + folder / "day2.dat\n" + folder / "day3");

  EXPECT_EQ(RunProgram(), 0);  // closed by the batch, not by the script

  ASSERT_EQ(backend.choosers.size(), 1u);
  const ChooserShown& chooser = backend.choosers[0];
  EXPECT_EQ(chooser.title, "Open List File Name");
  EXPECT_EQ(chooser.proposedName, "AllData.ini");
  EXPECT_THAT(chooser.filter, ElementsAre(".ini", ""));
  EXPECT_EQ(chooser.flags, OFN_EXPLORER | OFN_FILEMUSTEXIST);
  EXPECT_EQ(TableLines("day1"), 3);
  EXPECT_EQ(TableLines("day2"), 4);
  EXPECT_EQ(TableLines("day3"), 5);
  // A text file: its lines end as the platform's do.
  EXPECT_EQ(Diagnostics(), kTextLineEnd + folder / "day1.log" + kTextLineEnd + folder / "day2.log" +
                               kTextLineEnd + folder / "day3.log");
  EXPECT_EQ(backend.Boxes(), std::vector<std::string>{kFinalBox});
  EXPECT_EQ(backend.boxes[0].style, MB_TASKMODAL | MB_ICONWARNING | MB_OK);
  EXPECT_EQ(backend.Conversions(), 3);
  EXPECT_EQ(backend.destroyed.size(), 3u);  // the dialogs; the main window stays
  EXPECT_TRUE(AllStreamsClosed());
  // The next input chooser would propose the last listed log.
  EXPECT_EQ(std::string(runState.inputPath), folder / "day3.log");
}

TEST_F(BatchRun, MissingSecondLogStopsTheBatchAfterTheFirst) {
  folder.Write("day1.log", LogWithFixes(3));
  folder.Write("day3.log", LogWithFixes(3));
  ChooseList(folder / "day1.txt\n" + folder / "day2.txt\n" + folder / "day3.txt\n");

  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(TableLines("day1"), 3);
  EXPECT_FALSE(std::filesystem::exists(folder / "day3-103+000.xlx"));
  EXPECT_THAT(backend.Boxes(), ElementsAre("Failure to open Input File: " + folder / "day2.log", kFinalBox));
  EXPECT_EQ(Diagnostics(), kTextLineEnd + folder / "day1.log");
  EXPECT_TRUE(AllStreamsClosed());
}

TEST_F(BatchRun, CancelDuringTheFirstOfTwoLogsEndsOnlyThatLog) {
  folder.Write("day1.log", LogWithFixes(8));
  folder.Write("day2.log", LogWithFixes(8));
  ChooseList(folder / "day1.log\n" + folder / "day2.log\n");
  backend.AfterLine(1, 2, ClickCancel());

  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(TableLines("day1"), 2);
  EXPECT_EQ(TableLines("day2"), 8);
  EXPECT_EQ(backend.Boxes(), std::vector<std::string>{kFinalBox});
  EXPECT_EQ(runState.cancelRequested, 0);
}

TEST_F(BatchRun, ATableTheDiskCannotHoldEndsTheBatchAndLeavesNoCancelBehind) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no device that is always full, as /dev/full is";
#endif
  folder.Write("day1.log", LogWithFixes(8));
  folder.Write("day2.log", LogWithFixes(8));
  std::filesystem::create_symlink("/dev/full", folder / "day1-103+000.xlx");
  ChooseList(folder / "day1.log\n" + folder / "day2.log\n");
  backend.AfterLine(1, 2, ClickCancel());
  int cancelAtFinalBox = -1;
  backend.beforeAnswer = [&](const std::string& caption) {
    if (caption == "Processing Complete") cancelAtFinalBox = runState.cancelRequested;
  };

  EXPECT_EQ(RunProgram(), 0);
  EXPECT_THAT(backend.Boxes(),
              ElementsAre("Failure writing output file: " + folder / "day1-103+000.xlx", kFinalBox));
  EXPECT_FALSE(std::filesystem::exists(folder / "day2-103+000.xlx"));
  EXPECT_EQ(cancelAtFinalBox, 0);
  EXPECT_TRUE(AllStreamsClosed());
}

TEST_F(BatchRun, NothingToConvertEndsQuietlyAndTheProgramStays) {
  const struct {
    const char* scenario;
    const char* list;  // nullptr: the chooser is dismissed
  } cases[] = {
      {"list chooser dismissed", nullptr},
      {"empty list", ""},
      {"only blank lines", "\n   \r\n\t\n"},
  };
  for (const auto& c : cases) {
    ScriptedBackend script;
    script.WhenIdle(ChooseMenuItem(kBatchCommand));
    if (c.list == nullptr) {
      script.CancelFileDialog();
    } else {
      script.ChooseInFileDialog(folder.Write("AllData.ini", c.list));
    }
    EXPECT_EQ(RunProgramWith(script), kScriptEnded) << c.scenario;
    EXPECT_TRUE(script.Boxes().empty()) << c.scenario;
    EXPECT_EQ(script.Conversions(), 0) << c.scenario;
    EXPECT_TRUE(AllStreamsClosed()) << c.scenario;
  }
}

TEST_F(BatchRun, CancelAtTheOutputRetryPromptStopsWithoutTheFinalBox) {
  folder.Write("day1.log", LogWithFixes(3));
  folder.Write("day2.log", LogWithFixes(3));
  std::filesystem::create_directory(folder / "day2-103+000.xlx");  // cannot be written
  ChooseList(folder / "day1.log\n" + folder / "day2.log\n");
  backend.AnswerBox(IDCANCEL);

  EXPECT_EQ(RunProgram(), kScriptEnded);  // the program stays open
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].caption, "Failure to open output file");
  EXPECT_EQ(Diagnostics(), kTextLineEnd + folder / "day1.log");
  EXPECT_TRUE(AllStreamsClosed());
}

TEST_F(BatchRun, AnExtraTableChosenInOptionsIsWrittenBesideEachLogsTable) {
  folder.Write("day1.log", kOneCycle);
  folder.Write("day2.log", kOneCycle);
  backend.WhenIdle(ChooseMenuItem(kFixesTableCommand));
  ChooseList(folder / "day1\n" + folder / "day2\n");
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(CsvLines(ReadBytes(folder / "day1-103+000-fixes.csv")), 2);
  EXPECT_EQ(ReadBytes(folder / "day2-103+000-fixes.csv"), ReadBytes(folder / "day1-103+000-fixes.csv"));
  EXPECT_EQ(FilesLeft(), 8);  // the list, its diagnostics file, and each log with two tables
}

TEST_F(BatchRun, EntryIsCutAtItsLastDotEvenInAFolderName) {
  folder.Write("run.log", LogWithFixes(2));
  ChooseList(folder / "run.2/day1\n");
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(TableLines("run"), 2);
  EXPECT_EQ(Diagnostics(), kTextLineEnd + folder / "run.log");
}

TEST_F(BatchRun, EntryWhoseLogNameWouldNotFitIsRefusedAndEndsTheBatch) {
  folder.Write("day1.log", LogWithFixes(2));
  // 396 characters before the last '.': with ".log" the name needs 401 bytes.
  const std::string longEntry = std::string(396, 'a') + ".x";
  ChooseList(folder / "day1.log\n" + longEntry + "\n" + folder / "day1.log\n");

  EXPECT_EQ(RunProgram(), 0);
  const auto& boxes = backend.boxes;
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "File name too long");
  EXPECT_NE(boxes[0].text.find(longEntry), std::string::npos);
  EXPECT_EQ(boxes[1].caption, "Processing Complete");
  EXPECT_EQ(backend.Conversions(), 1);
}

TEST_F(BatchRun, ClosingTheWindowDuringABatchAsksAndYesStopsTheListWhileNoGoesOn) {
  folder.Write("day1.log", LogWithFixes(8));
  folder.Write("day2.log", LogWithFixes(8));
  const std::string question = "Quorval-103: A conversion is running. Stop it and quit?";
  const struct {
    int answer;
    int day1Lines;
    bool day2Converted;
    std::vector<std::string> boxes;
  } cases[] = {
      // The log under way is cut short, the rest of the list is not
      // converted, and no "Processing Complete" follows.
      {IDYES, 2, false, {question}},
      {IDNO, 8, true, {question, kFinalBox}},
  };
  for (const auto& c : cases) {
    ScriptedBackend script;
    script.WhenIdle(ChooseMenuItem(kBatchCommand))
        .ChooseInFileDialog(folder.Write("AllData.ini", folder / "day1.log\n" + folder / "day2.log\n"))
        .AfterLine(1, 2, CloseMainWindow())
        .AnswerBox(c.answer);
    EXPECT_EQ(RunProgramWith(script), 0) << c.answer;  // ended by Yes, or by the finished batch
    EXPECT_EQ(script.Boxes(), c.boxes);
    EXPECT_EQ(TableLines("day1"), c.day1Lines);
    EXPECT_EQ(std::filesystem::exists(folder / "day2-103+000.xlx"), c.day2Converted);
    EXPECT_EQ(Diagnostics(),
              kTextLineEnd + folder / "day1.log" + (c.day2Converted ? kTextLineEnd + folder / "day2.log" : ""));
    std::filesystem::remove(folder / "day1-103+000.xlx");
  }
}

TEST_F(BatchRun, AListNamedLikeItsFirstTableIsRefusedInABoxAndNothingIsWritten) {
  folder.Write("b1.log", LogWithFixes(3));
  list = folder.Write("b1-103+000.xlx", folder / "b1.txt\n");
  backend.WhenIdle(ChooseMenuItem(kBatchCommand)).ChooseInFileDialog(list);

  EXPECT_EQ(RunProgram(), kScriptEnded);  // ended as at Cancel of the retry prompt: the program stays
  const auto& boxes = backend.boxes;
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Output would overwrite input");
  EXPECT_EQ(boxes[0].text, list + " is the same file as " + list +
                               ", which the batch reads.\nNothing was converted.");
  EXPECT_EQ(boxes[0].style, MB_TASKMODAL | MB_ICONWARNING);
  EXPECT_EQ(ReadBytes(list), folder / "b1.txt\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "b1-103+000-diag.txt"));
  EXPECT_EQ(backend.Conversions(), 0);
  EXPECT_TRUE(AllStreamsClosed());
}

TEST(BatchInputName, EntryBecomesTheLogNamedByItsTextBeforeTheLastDot) {
  const struct {
    const char* entry;
    const char* log;
  } cases[] = {
      {"D:\\data\\day1.txt\n", "D:\\data\\day1.log"},
      {"day1.dat\r\n", "day1.log"},
      {"day1.log", "day1.log"},
      {"  day1\r\n", "  day1.log"},  // leading blanks are part of the name
      {"D:\\run.2\\day1\n", "D:\\run.log"},
  };
  for (const auto& c : cases) {
    char entry[kListEntrySize] = {};
    std::strcpy(entry, c.entry);
    EXPECT_TRUE(FormBatchInputName(entry)) << c.entry;
    EXPECT_STREQ(entry, c.log);
  }
}

}  // namespace
}  // namespace shell_test
