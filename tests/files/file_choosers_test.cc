// The one file dialog wrapper and the interactive input opener.
#include "files/file_choosers.h"

#include <gmock/gmock.h>

#include "files/input_opening.h"
#include "files/output_files.h"
#include "shell/shell_test_support.h"

using namespace quorval;

namespace {

using ::testing::ElementsAre;
using shell_test::ShellTest;

constexpr WindowHandle kOwner = 0x77;

class FileChoosers : public ShellTest {
 protected:
  ChooseFileResult Choose(const std::string& proposed, ChooseFileKind kind,
                          const char* filterText = "a|b|") {
    std::strcpy(path, proposed.c_str());
    std::strcpy(filter, filterText);
    return ChooseFile(kOwner, path, filter, kind);
  }

  char path[kPathSize] = {};
  char filter[64] = {};
};

TEST_F(FileChoosers, EachKindShowsItsTitleAndFlagsOverTheOwner) {
  const struct {
    ChooseFileKind kind;
    const char* title;
    uint32_t flags;
  } cases[] = {
      {kChooseInput, "Open Input File Name", OFN_EXPLORER | OFN_FILEMUSTEXIST},
      {kChooseOutput, "Open Output File Name", OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY},
      {kChooseList, "Open List File Name", OFN_EXPLORER | OFN_FILEMUSTEXIST},
      {kChooseTable, "Open Table File Name", OFN_EXPLORER | OFN_FILEMUSTEXIST},
  };
  for (const auto& c : cases) {
    backend.ChooseInFileDialog(folder / "absent.txt");
    EXPECT_EQ(Choose("proposed.txt", c.kind, "Text (*.txt)|*.txt|All Files (*.*)|*.*|"), IDYES);
    const ChooserShown shown = backend.choosers.back();
    EXPECT_EQ(shown.title, c.title);
    EXPECT_EQ(shown.flags, c.flags);
    EXPECT_EQ(shown.owner, kOwner);
    EXPECT_EQ(shown.proposedName, "proposed.txt");
    EXPECT_EQ(shown.structSize, OPENFILENAME_SIZE_VERSION_400);
    EXPECT_EQ(shown.bufferSize, 1000u);
    EXPECT_THAT(shown.filter, ElementsAre("Text (*.txt)", "*.txt", "All Files (*.*)", "*.*"));
    EXPECT_EQ(std::string(path), folder / "absent.txt");
  }
  EXPECT_TRUE(backend.Boxes().empty());  // an absent output needs no question
}

TEST_F(FileChoosers, UnknownKindShowsNothingAndCancels) {
  EXPECT_EQ(Choose("x.txt", static_cast<ChooseFileKind>(4)), IDCANCEL);
  EXPECT_EQ(Choose("x.txt", static_cast<ChooseFileKind>(-1)), IDCANCEL);
  EXPECT_TRUE(backend.choosers.empty());
}

TEST_F(FileChoosers, DismissedChooserCancels) {
  backend.CancelFileDialog();
  EXPECT_EQ(Choose("x.txt", kChooseInput), IDCANCEL);
}

TEST_F(FileChoosers, ExistingOutputIsOnlyChosenAfterTheOverwriteQuestion) {
  const std::string existing = folder.Write("run.csv", "table");
  const struct {
    std::vector<int> answers;
    ChooseFileResult result;
    size_t dialogs;
  } cases[] = {
      {{IDYES}, IDYES, 1},
      {{IDCANCEL}, IDCANCEL, 1},
      {{IDNO, IDYES}, IDYES, 2},  // No shows the chooser again
  };
  for (const auto& c : cases) {
    ScriptedBackend script;
    InstallBackend(&script);
    for (size_t i = 0; i < c.dialogs; ++i) script.ChooseInFileDialog(existing);
    for (int answer : c.answers) script.AnswerBox(answer);
    EXPECT_EQ(Choose("run.csv", kChooseOutput), c.result);
    ASSERT_EQ(script.choosers.size(), c.dialogs);
    if (c.dialogs == 2) {
      EXPECT_EQ(script.choosers[1].proposedName, existing);  // proposed once more
    }
    const auto& questions = script.boxes;
    ASSERT_EQ(questions.size(), c.answers.size());
    EXPECT_EQ(questions[0].text, "File already exists.  Overwrite?");
    EXPECT_EQ(questions[0].caption, "Open Output File");
    EXPECT_EQ(questions[0].style, MB_TASKMODAL | MB_ICONQUESTION | MB_YESNOCANCEL);
    EXPECT_EQ(questions[0].owner, kOwner);
    EXPECT_TRUE(script.Problems().empty());
    InstallBackend(&backend);
  }
}

TEST_F(FileChoosers, InputChooserProposesTheLastLogAndFiltersOnItsExtension) {
  const struct {
    const char* log;
    const char* proposedNext;
    const char* pattern;
  } cases[] = {
      {"a.nmea", "a.nmea", "*.nmea"},
      {"gps", "gps.", "*."},  // no extension: files without one
  };
  for (const auto& c : cases) {
    const std::string log = folder.Write(c.log, shell_test::LogWithFixes(1));
    std::strcpy(runState.inputPath, log.c_str());
    backend.ChooseInFileDialog(log);
    ASSERT_EQ(OpenInputInteractive(kOwner, runState.inputPath), 0);
    EXPECT_EQ(runState.inputSize, static_cast<int64_t>(shell_test::LogWithFixes(1).size()));
    CloseAllStreams();
    backend.CancelFileDialog();
    EXPECT_EQ(OpenInputInteractive(kOwner, runState.inputPath), 1);
    const ChooserShown next = backend.choosers.back();
    EXPECT_EQ(next.proposedName, folder / c.proposedNext);
    EXPECT_EQ(next.filter[1], c.pattern);
    EXPECT_EQ(next.filter[0], std::string("Input Files, (") + c.pattern + ")");
  }
}

TEST_F(FileChoosers, ChosenLogThatCannotBeOpenedIsNamedAndNothingStaysOpen) {
  std::strcpy(runState.inputPath, "DEFAULT.TXT");
  backend.ChooseInFileDialog(folder / "gone.log");
  EXPECT_EQ(OpenInputInteractive(kOwner, runState.inputPath), 1);
  EXPECT_EQ(backend.Boxes(), std::vector<std::string>{"Failure to open Input File: " + folder / "gone.log"});
  EXPECT_EQ(runState.inputFile, nullptr);
  // The names keep what the proposal gave them.
  EXPECT_STREQ(runState.inputBase, "DEFAULT");
  EXPECT_STREQ(runState.inputExtension, ".TXT");
}

TEST_F(FileChoosers, ClosingRunFilesWithNothingOpenSucceeds) {
  EXPECT_EQ(CloseRunFiles(), 0);
  runState.inputFile = std::fopen(folder.Write("in.log", "x").c_str(), "rb");
  std::strcpy(runState.batchOutputPath, (folder / "out.xlx").c_str());
  runState.outputFile = std::fopen(runState.batchOutputPath, "wb");
  EXPECT_EQ(CloseRunFiles(), 0);
  EXPECT_TRUE(AllStreamsClosed());
}

}  // namespace
