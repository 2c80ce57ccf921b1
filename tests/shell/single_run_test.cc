// Single PostProc, from the menu choice to the question "Do another file?".
#include "shell/single_run.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "shell_test_support.h"

using namespace quorval;

namespace shell_test {
namespace {

using ::testing::ElementsAre;

constexpr unsigned kPromptStyle = MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO;

class SingleRun : public ShellTest {};

TEST_F(SingleRun, FirstRunProposesDefaultTxtThenConvertsTheChosenLogAndAsksForAnother) {
  const std::string log = folder.Write("day1.txt", LogWithFixes(5));
  backend.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "day1-103+000.csv")  // the proposal, accepted
      .AnswerBox(IDNO);

  EXPECT_EQ(RunProgram(), kScriptEnded);  // No: the program waits for the next command

  const auto& choosers = backend.choosers;
  ASSERT_EQ(choosers.size(), 2u);
  EXPECT_EQ(choosers[0].proposedName, "DEFAULT.TXT");
  EXPECT_EQ(choosers[0].title, "Open Input File Name");
  EXPECT_THAT(choosers[0].filter, ElementsAre("Input Files, (*.TXT)", "*.TXT", "All Files (*.*)", "*.*"));
  EXPECT_EQ(choosers[0].flags, OFN_EXPLORER | OFN_FILEMUSTEXIST);
  EXPECT_EQ(choosers[0].owner, runState.mainWindow);
  EXPECT_EQ(choosers[0].structSize, OPENFILENAME_SIZE_VERSION_400);
  EXPECT_EQ(choosers[0].bufferSize, 1000u);
  EXPECT_EQ(choosers[1].proposedName, folder / "day1-103+000.csv");
  EXPECT_EQ(choosers[1].title, "Open Output File Name");
  EXPECT_THAT(choosers[1].filter, ElementsAre("Output Files, (*.csv)", "*.csv", "All Files (*.*)", "*.*"));
  EXPECT_EQ(choosers[1].flags, OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY);

  EXPECT_EQ(CsvLines(ReadBytes(folder / "day1-103+000.csv")), 5);
  ASSERT_EQ(backend.boxes.size(), 1u);
  const BoxShown& prompt = backend.boxes[0];
  EXPECT_EQ(prompt.caption, "Processing Complete");
  EXPECT_EQ(prompt.text, "Do another file?");
  EXPECT_EQ(prompt.style, kPromptStyle);
  EXPECT_EQ(prompt.owner, kNoWindow);
  // The dialog shows the final state while the question is up.
  ASSERT_EQ(backend.dialogs.size(), 1u);
  const WindowHandle dialog = backend.dialogs[0].dialog;
  EXPECT_LT(prompt.at, backend.Find("DestroyWindow", dialog));
  EXPECT_EQ(backend.Find("DestroyWindow", runState.mainWindow), backend.transcript.size());
  // A log under 500 bytes notifies the dialog after every line but the
  // first; at the last line the bar is full.
  int notifications = 0;
  for (const MessageSent& message : backend.sent) {
    if (message.window == dialog && message.message == WM_PAINT) ++notifications;
  }
  EXPECT_EQ(notifications, 4);
  EXPECT_EQ(backend.barsFilled.back().rect.right, backend.barClient.right);
  EXPECT_TRUE(AllStreamsClosed());
  EXPECT_EQ(runState.progressDialog, kNoWindow);
  EXPECT_EQ(runState.cancelRequested, 0);
}

TEST_F(SingleRun, YesAtThePromptOpensTheChooserAgainOnTheLogJustConverted) {
  const std::string log = folder.Write("a.nmea", LogWithFixes(3));
  backend.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "a-103+000.csv")
      .AnswerBox(IDYES)
      .CancelFileDialog();

  EXPECT_EQ(RunProgram(), kScriptEnded);

  const auto& choosers = backend.choosers;
  ASSERT_EQ(choosers.size(), 3u);
  EXPECT_EQ(choosers[2].title, "Open Input File Name");
  EXPECT_EQ(choosers[2].proposedName, log);
  EXPECT_THAT(choosers[2].filter, ElementsAre("Input Files, (*.nmea)", "*.nmea", "All Files (*.*)", "*.*"));
  // Dismissing the chooser of the repeat ends it without a prompt.
  EXPECT_EQ(backend.Boxes().size(), 1u);
}

TEST_F(SingleRun, DismissingTheInputChooserEndsTheCommandWithoutAnythingElse) {
  backend.WhenIdle(ChooseMenuItem(kSingleCommand)).CancelFileDialog();
  EXPECT_EQ(RunProgram(), kScriptEnded);
  EXPECT_EQ(FileDialogTitles(), std::vector<std::string>{"Open Input File Name"});
  EXPECT_TRUE(backend.Boxes().empty());
  EXPECT_EQ(backend.Conversions(), 0);
}

TEST_F(SingleRun, DismissingTheOutputChooserClosesTheInputAgain) {
  const std::string log = folder.Write("day1.txt", LogWithFixes(3));
  bool inputOpenAtOutputChooser = false;
  backend.beforeAnswer = [&](const std::string& caption) {
    if (caption == "Open Output File Name") inputOpenAtOutputChooser = runState.inputFile != nullptr;
  };
  backend.WhenIdle(ChooseMenuItem(kSingleCommand)).ChooseInFileDialog(log).CancelFileDialog();

  EXPECT_EQ(RunProgram(), kScriptEnded);
  EXPECT_TRUE(inputOpenAtOutputChooser);
  EXPECT_TRUE(AllStreamsClosed());
  EXPECT_TRUE(backend.Boxes().empty());
  EXPECT_EQ(backend.Conversions(), 0);
  EXPECT_FALSE(std::filesystem::exists(folder / "day1-103+000.csv"));
}

TEST_F(SingleRun, TheOutputAlwaysGetsCsvWhateverNameTheUserTyped) {
  std::filesystem::create_directory(folder / "out");
  const std::string log = folder.Write("day1.txt", LogWithFixes(2));
  const struct {
    const char* chosen;
    const char* output;
  } cases[] = {
      {"day1-103+000.csv", "day1-103+000.csv"},
      {"out/run.txt", "out/run.csv"},
      {"out/noext", "out/noext.csv"},
      // The proposed name in other letters keeps the proposal's own case.
      {"DAY1-103+000.TXT", "day1-103+000.csv"},
  };
  for (const auto& c : cases) {
    ScriptedBackend script;
    script.WhenIdle(ChooseMenuItem(kSingleCommand))
        .ChooseInFileDialog(log)
        .ChooseInFileDialog(folder / c.chosen)
        .AnswerBox(IDNO);
    EXPECT_EQ(RunProgramWith(script), kScriptEnded) << c.chosen;
    EXPECT_EQ(CsvLines(ReadBytes(folder / c.output)), 2) << c.chosen;
    EXPECT_EQ(script.Boxes(), std::vector<std::string>{"Processing Complete: Do another file?"});
    std::filesystem::remove(folder / c.output);
  }
}

TEST_F(SingleRun, AnExistingOutputIsOnlyOverwrittenAfterYes) {
  const std::string log = folder.Write("day1.txt", LogWithFixes(4));
  const std::string output = folder / "day1-103+000.csv";
  const std::string question = "Open Output File: File already exists.  Overwrite?";
  const std::string prompt = "Processing Complete: Do another file?";
  const struct {
    const char* scenario;
    std::vector<int> answers;  // the question's, then the prompt's
    bool chooseAgainAfterNo;
    std::vector<std::string> boxes;
    bool overwritten;
  } cases[] = {
      {"Yes", {IDYES, IDNO}, false, {question, prompt}, true},
      {"No, then the same name again and Yes", {IDNO, IDYES, IDNO}, true, {question, question, prompt}, true},
      {"Cancel", {IDCANCEL}, false, {question}, false},
  };
  for (const auto& c : cases) {
    folder.Write("day1-103+000.csv", "earlier table");
    ScriptedBackend script;
    script.WhenIdle(ChooseMenuItem(kSingleCommand)).ChooseInFileDialog(log).ChooseInFileDialog(output);
    if (c.chooseAgainAfterNo) script.ChooseInFileDialog(output);
    for (int answer : c.answers) script.AnswerBox(answer);

    RunProgramWith(script);
    EXPECT_EQ(script.Boxes(), c.boxes) << c.scenario;
    EXPECT_EQ(ReadBytes(output) != "earlier table", c.overwritten) << c.scenario;
    const BoxShown& question = script.boxes.at(0);
    EXPECT_EQ(question.style, MB_TASKMODAL | MB_ICONQUESTION | MB_YESNOCANCEL);
    EXPECT_EQ(question.owner, runState.mainWindow);  // owned by the chooser's owner
    if (c.chooseAgainAfterNo) {
      EXPECT_EQ(script.choosers.at(2).proposedName, output);
    }
    EXPECT_TRUE(AllStreamsClosed()) << c.scenario;
  }
}

TEST_F(SingleRun, OverwriteQuestionConcernsTheNameAsChosenNotTheCsv) {
  std::filesystem::create_directory(folder / "out");
  const std::string log = folder.Write("day1.txt", LogWithFixes(2));
  folder.Write("out/run.txt", "kept");
  folder.Write("out/run.csv", "emptied without a question");
  backend.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "out/run.txt")
      .AnswerBox(IDYES)
      .AnswerBox(IDNO);
  RunProgram();
  EXPECT_EQ(ReadBytes(folder / "out/run.txt"), "kept");
  EXPECT_EQ(CsvLines(ReadBytes(folder / "out/run.csv")), 2);
  EXPECT_EQ(backend.Boxes().size(), 2u);
}

TEST_F(SingleRun, RetryPromptRepeatsUntilTheFolderExistsAndCancelEndsTheRun) {
  const std::string log = folder.Write("day1.txt", LogWithFixes(3));
  const std::string output = folder / "later/day1.csv";
  const std::string retry = "Output File " + output +
                            " may be open.\nTo continue, close file and press Retry.\nTo abort, press Cancel";
  {
    ScriptedBackend script;
    int retryBoxes = 0;
    script.beforeAnswer = [&](const std::string& caption) {
      // The user creates the folder while the second prompt is up.
      if (caption == "Failure to open output file" && ++retryBoxes == 2) {
        std::filesystem::create_directory(folder / "later");
      }
    };
    script.WhenIdle(ChooseMenuItem(kSingleCommand))
        .ChooseInFileDialog(log)
        .ChooseInFileDialog(output)
        .AnswerBox(IDRETRY)
        .AnswerBox(IDRETRY)
        .AnswerBox(IDNO);
    RunProgramWith(script);
    const auto& boxes = script.boxes;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, retry);
    EXPECT_EQ(boxes[0].style, MB_TASKMODAL | MB_ICONWARNING | MB_RETRYCANCEL);
    EXPECT_EQ(boxes[0].owner, kNoWindow);
    EXPECT_EQ(boxes[2].text, "Do another file?");
    EXPECT_EQ(CsvLines(ReadBytes(output)), 3);
  }
  {
    std::filesystem::remove_all(folder / "later");
    ScriptedBackend script;
    script.WhenIdle(ChooseMenuItem(kSingleCommand))
        .ChooseInFileDialog(log)
        .ChooseInFileDialog(output)
        .AnswerBox(IDCANCEL);
    RunProgramWith(script);
    EXPECT_EQ(script.Boxes(), std::vector<std::string>{"Failure to open output file: " + retry});
    EXPECT_EQ(script.Conversions(), 0);
    EXPECT_TRUE(AllStreamsClosed());
  }
}

TEST_F(SingleRun, ExtraTablesChosenInOptionsBeginBesideTheTableAndAChangeDuringTheRunWaits) {
  const std::string log = folder.Write("f9p.txt", kOneCycle);
  backend.WhenIdle(ChooseMenuItem(kFixesTableCommand))
      .WhenIdle(ChooseMenuItem(kSatellitesTableCommand))
      .WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "day1-103+000.csv")
      .AfterLine(1, 2, ChooseMenuItem(kSatellitesTableCommand))  // unchecked during the run
      .AnswerBox(IDYES)
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "next.csv")
      .AnswerBox(IDNO);
  EXPECT_EQ(RunProgram(), kScriptEnded);
  const std::string fixes = ReadBytes(folder / "day1-103+000-fixes.csv");
  EXPECT_EQ(fixes.find("utc,time_of_day,lat,"), 0u);
  EXPECT_EQ(CsvLines(fixes), 2);
  EXPECT_EQ(ReadBytes(folder / "day1-103+000-satellites.csv").find("utc,time_of_day,system,"), 0u);
  EXPECT_EQ(CsvLines(ReadBytes(folder / "day1-103+000-satellites.csv")), 2);
  EXPECT_EQ(ReadBytes(folder / "next-fixes.csv"), fixes);
  EXPECT_EQ(FilesLeft(), 6);  // the log, three tables, next.csv and next-fixes.csv
}

TEST_F(SingleRun, CancelAtAnExtraTablesRetryPromptEndsTheRunAndLeavesNoFile) {
  const std::string log = folder.Write("day1.txt", kOneCycle);
  std::filesystem::create_directory(folder / "day1-103+000-satellites.csv");  // met after the fixes table
  backend.WhenIdle(ChooseMenuItem(kFixesTableCommand))
      .WhenIdle(ChooseMenuItem(kSatellitesTableCommand))
      .WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "day1-103+000.csv")
      .AnswerBox(IDCANCEL);
  EXPECT_EQ(RunProgram(), kScriptEnded);
  EXPECT_EQ(backend.Boxes().size(), 1u);  // the retry prompt, and no closing question
  EXPECT_EQ(FilesLeft(), 2);              // the log and the folder
  EXPECT_TRUE(AllStreamsClosed());
}

TEST_F(SingleRun, CancelDuringTheConversionKeepsTheRowsSoFarAndMarksTheRunAborted) {
  const std::string log = folder.Write("day1.txt", LogWithFixes(10));
  for (const UserAction& cancel : {ClickCancel(), CloseDialog()}) {
    ScriptedBackend script;
    int cancelAtNextRun = -1;
    script.beforeAnswer = [&](const std::string& caption) {
      if (caption == "Open Input File Name") cancelAtNextRun = runState.cancelRequested;
    };
    script.WhenIdle(ChooseMenuItem(kSingleCommand))
        .ChooseInFileDialog(log)
        .ChooseInFileDialog(folder / "day1-103+000.csv")
        .AfterLine(1, 4, cancel)
        .AnswerBox(IDYES)
        .CancelFileDialog();
    RunProgramWith(script);
    // Four lines read: the header and the rows of the first three fixes.
    EXPECT_EQ(CsvLines(ReadBytes(folder / "day1-103+000.csv")), 4);
    EXPECT_EQ(script.Boxes(), std::vector<std::string>{"Processing Aborted: Do another file?"});
    EXPECT_EQ(cancelAtNextRun, 0);
    EXPECT_TRUE(AllStreamsClosed());
    std::filesystem::remove(folder / "day1-103+000.csv");
  }
}

TEST_F(SingleRun, ClosingTheWindowDuringTheConversionAsksAndYesStopsAndQuitsWhileNoGoesOn) {
  const std::string log = folder.Write("day1.txt", LogWithFixes(10));
  const std::string question = "Quorval-103: A conversion is running. Stop it and quit?";
  const struct {
    int answer;
    int exitCode;
    int tableLines;
    std::vector<std::string> boxes;
  } cases[] = {
      // Stopped after the third line: the header and two rows; no "Do another file?".
      {IDYES, 0, 3, {question}},
      {IDNO, kScriptEnded, 10, {question, "Processing Complete: Do another file?"}},
  };
  for (const auto& c : cases) {
    ScriptedBackend script;
    script.WhenIdle(ChooseMenuItem(kSingleCommand))
        .ChooseInFileDialog(log)
        .ChooseInFileDialog(folder / "day1-103+000.csv")
        .AfterLine(1, 3, CloseMainWindow())
        .AnswerBox(c.answer);
    if (c.answer == IDNO) script.AnswerBox(IDNO);
    EXPECT_EQ(RunProgramWith(script), c.exitCode) << c.answer;
    EXPECT_EQ(script.Boxes(), c.boxes);
    EXPECT_EQ(script.boxes.at(0).style, MB_TASKMODAL | MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(CsvLines(ReadBytes(folder / "day1-103+000.csv")), c.tableLines) << c.answer;
    EXPECT_EQ(runState.progressDialog, kNoWindow);
    std::filesystem::remove(folder / "day1-103+000.csv");
  }
}

TEST_F(SingleRun, CommandsDuringTheConversionStartNothingButAboutIsShown) {
  const std::string log = folder.Write("day1.txt", LogWithFixes(10));
  backend.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "day1-103+000.csv")
      .AfterLine(1, 2, ChooseMenuItem(kSingleCommand))  // greyed: nothing arrives
      .AfterLine(1, 3, QueuedCommand(kBatchCommand))    // arrives anyway: ignored
      .AfterLine(1, 4, QueuedCommand(kExitCommand))
      .AfterLine(1, 5, ChooseMenuItem(kAboutCommand))
      .AnswerBox(IDNO);
  EXPECT_EQ(RunProgram(), kScriptEnded);
  EXPECT_EQ(FileDialogTitles(), (std::vector<std::string>{"Open Input File Name", "Open Output File Name"}));
  EXPECT_EQ(backend.Boxes(), (std::vector<std::string>{"Bramlet: ZARN-103", "Processing Complete: Do another file?"}));
  EXPECT_EQ(CsvLines(ReadBytes(folder / "day1-103+000.csv")), 10);
  EXPECT_FALSE(backend.actions.at(1).reached);  // the greyed entry could not be chosen

  std::vector<std::pair<unsigned, bool>> menuStates;
  for (const MenuItemState& item : backend.menuStates) menuStates.emplace_back(item.id, item.enabled);
  EXPECT_THAT(menuStates, ElementsAre(std::pair(kSingleCommand, false), std::pair(kBatchCommand, false),
                                      std::pair(kExitCommand, false), std::pair(kSingleCommand, true),
                                      std::pair(kBatchCommand, true), std::pair(kExitCommand, true)));
}

TEST_F(SingleRun, OutputThatCouldNotBeWrittenCompletelyIsNamedAndTheRunAborted) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no device that is always full, as /dev/full is";
#endif
  const std::string log = folder.Write("day1.txt", LogWithFixes(5));
  const std::string output = folder / "day1-103+000.csv";
  std::filesystem::create_symlink("/dev/full", output);  // a disk that is full
  backend.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(output)
      .AnswerBox(IDYES)  // overwrite
      .AnswerBox(IDNO);
  RunProgram();
  EXPECT_THAT(backend.Boxes(), ElementsAre("Open Output File: File already exists.  Overwrite?",
                                           "Failure writing output file: " + output,
                                           "Processing Aborted: Do another file?"));
  EXPECT_TRUE(AllStreamsClosed());
}

TEST_F(SingleRun, LogWithoutFixesGivesAnEmptyTableAndTheUsualPrompt) {
  const std::string log = folder.Write("quiet.txt", "$GPRMC,113100.00,A,4807.038,N,01131.000,E,0.0,0.0,010203,,*00\r\n");
  backend.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "quiet-103+000.csv")
      .AnswerBox(IDNO);
  RunProgram();
  EXPECT_EQ(ReadBytes(folder / "quiet-103+000.csv"), "");
  EXPECT_EQ(backend.Boxes(), std::vector<std::string>{"Processing Complete: Do another file?"});
}

TEST_F(SingleRun, TheLogNamedAsItsOwnOutputIsRefusedAndTheNameAskedAgain) {
  const std::string log = folder.Write("track.csv", LogWithFixes(4));
  const std::string table = folder / "track-103+000.csv";
  backend.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(log)
      .AnswerBox(IDYES)  // overwrite
      .ChooseInFileDialog(table)
      .AnswerBox(IDNO);
  RunProgram();
  EXPECT_THAT(backend.Boxes(),
              ElementsAre("Open Output File: File already exists.  Overwrite?",
                          "Output would overwrite input: " + log +
                              " is the log being converted.\nChoose another name for the table.",
                          "Processing Complete: Do another file?"));
  EXPECT_EQ(ReadBytes(log), LogWithFixes(4));
  EXPECT_EQ(CsvLines(ReadBytes(table)), 4);
}

TEST_F(SingleRun, ACompressedLogIsReadAsItsTextAndItsBarReachesTheEnd) {
  const std::string log = folder.Write(
      "day1.gz", ReadBytes(std::string(QUORVAL_SOURCE_DIR) + "/tests/cli/compressed/day1-60-times.txt.gz"));
  backend.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(log + ".csv")
      .AnswerBox(IDNO);
  RunProgram();
  EXPECT_THAT(backend.Boxes(), ElementsAre("Processing Complete: Do another file?"));
  const std::string table = ReadBytes(log + ".csv");
  EXPECT_EQ(CsvLines(table), 60 * 20);
  EXPECT_TRUE(table.starts_with(ReadBytes(QUORVAL_SAMPLES_DIR "/day1-103+000.csv")));
  ASSERT_FALSE(backend.barsFilled.empty());
  // The compressed bytes count: within a step of the end, as for a plain log.
  EXPECT_GE(backend.barsFilled.back().rect.right, backend.barClient.right - 1);
}

TEST_F(SingleRun, ALogThatCannotBeReadToItsEndIsNamedWithItsReason) {
  const struct {
    std::string log;
    std::string reason;
  } cases[] = {
      {folder.Write("packed.txt", std::string("\x1f\x8b\x08\0\0\0\0\0", 8) + "deflated"),
       "the gzip data is damaged (corrupt)"},
#ifndef _WIN32
      {"/proc/self/mem", "Input/output error"},  // a read that fails at once
#endif
  };
  for (const auto& c : cases) {
    const std::string table = folder / "out.csv";
    ScriptedBackend script;
    script.WhenIdle(ChooseMenuItem(kSingleCommand))
        .ChooseInFileDialog(c.log)
        .ChooseInFileDialog(table)
        .AnswerBox(IDNO);
    RunProgramWith(script);
    EXPECT_THAT(script.Boxes(), ElementsAre("Quorval-103: Cannot read " + c.log + ":\n" + c.reason +
                                                ".\n\nNo table was written.",
                                            "Processing Aborted: Do another file?"))
        << c.log;
    EXPECT_FALSE(std::filesystem::exists(table)) << c.log;
  }
}

}  // namespace
}  // namespace shell_test
