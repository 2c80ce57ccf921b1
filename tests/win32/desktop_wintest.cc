// The desktop program on its real Win32 windows, driven through the
// platform's own messages by a person on another thread: the menu, the file
// dialogs answered, the boxes, Cancel clicked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/conversion_loop.h"
#include "files/input_opening.h"
#include "log_generator.h"
#include "backends/win32/win32_backend.h"
#include "resources/resources.h"
#include "shell/main_window.h"
#include "support/fresh_program.h"
#include "support/temp_folder.h"
#include "win32/desktop_user.h"

using namespace quorval;

namespace {

using desktop_user::User;
using Strings = std::vector<std::string>;
constexpr int kExportButtonId = 1;  // the table window's "Export..." button

const std::string kDay1 =
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
    "$GPGGA,123519.25,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
    "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n"
    "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n"
    "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48\r\n"
    "$GPGGA,123520,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

class Win32Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    StartFreshProgram(&backend);
    // The test program's module carries the compiled resources too.
    RegisterResourceModule(Win32ProgramInstance(), &kProgramResources);
  }
  void TearDown() override {
    EndProgram();
    // The file dialog made the chosen folder the current one, which keeps
    // Windows from removing it.
    std::filesystem::current_path(std::filesystem::temp_directory_path());
  }

  // The program from its start to the end of its message loop, with the
  // user at it meanwhile.
  int Run(std::function<void(User&)> script) {
    user.Start(std::move(script));
    const int exitCode = ProgramEntry(Win32ProgramInstance(), 0, "", SW_SHOWNORMAL);
    user.Join();
    for (const std::string& failure : user.failures) ADD_FAILURE() << failure;
    return exitCode;
  }

  // The table a fresh program writes for the log, converted here directly
  // (reading every satellite system when allSystems is set).
  static std::string TableOf(const std::string& log, bool allSystems = false) {
    runState.allSystemsInRun = allSystems ? 1 : 0;
    runState.inputFile = std::fopen(log.c_str(), "rb");
    PrepareInput();
    FILE* table = TempStream();
    static Conversion conversion;
    ConvertLog(runState.inputFile, table, conversion);
    std::fclose(runState.inputFile);
    runState.inputFile = nullptr;
    std::string bytes(static_cast<size_t>(std::ftell(table)), '\0');
    std::rewind(table);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), table));
    std::fclose(table);
    ResetEpochRecord();
    runState.allSystemsInRun = 0;
    return bytes;
  }

  std::string WriteLargeLog(const char* name, int64_t size) const {
    const std::string path = folder / name;
    FILE* out = std::fopen(path.c_str(), "wb");
    WriteSyntheticLog(out, size);
    std::fclose(out);
    return path;
  }

  Win32Backend backend;
  User user;
  TempFolder folder;
};

TEST_F(Win32Desktop, MainWindowShowsItsTitleAndMenuAndAboutAndClosesWithExitCodeZero) {
  Strings titles, file, view, options, help;
  std::string aboutCaption, aboutText, mainClass;
  const int exitCode = Run([&](User& u) {
    desktop_user::Window main = u.WaitFor("Quorval-103");
    mainClass = u.ClassName(main);
    titles = u.MenuTitles(main);
    file = u.MenuEntries(main, 0);
    view = u.MenuEntries(main, 1);
    options = u.MenuEntries(main, 2);
    help = u.MenuEntries(main, 3);
    u.ChooseMenu(main, kBlankCommand);  // does nothing
    u.ChooseMenu(main, kAboutCommand);
    desktop_user::Window about = u.WaitFor("Bramlet");
    aboutText = u.BoxText(about);
    u.Press(about, 1);
    u.Gone(about);
    u.CloseBox(main);
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(mainClass, "Quorval");
  EXPECT_EQ(titles, (Strings{"       File     ", "View", "Options", "      &Help      "}));
  EXPECT_EQ(file, (Strings{"Exit=1250", "=40007", "Single PostProc=40006", "Batch PostProc=40005"}));
  EXPECT_EQ(view, (Strings{"Show Last Table=40008"}));
  EXPECT_EQ(options, (Strings{"All satellite systems=40010", "Also write the fixes table (-fixes.csv)=40011",
                              "Also write the satellites table (-satellites.csv)=40012"}));
  EXPECT_EQ(help, (Strings{"&About . . .=3050"}));
  EXPECT_EQ(aboutText, "ZARN-103");
}

TEST_F(Win32Desktop, SinglePostProcConvertsTheChosenLogAndAsksForAnother) {
  const std::string log = folder.Write("day1.txt", kDay1);
  const std::string expected = TableOf(log);
  std::string proposedInput, proposedOutput, prompt, shownName, shownFolder, read, total;
  Strings filters, tabs;
  std::vector<unsigned> track, sky;
  std::vector<User::Control> controls;
  const int exitCode = Run([&](User& u) {
    desktop_user::Window main = u.WaitFor("Quorval-103");
    u.ChooseMenu(main, kSingleCommand);
    desktop_user::Window input = u.WaitFor("Open Input File Name");
    proposedInput = u.ProposedName(input);
    filters = u.Filters(input);
    u.ChooseName(input, log);
    desktop_user::Window output = u.WaitFor("Open Output File Name");
    proposedOutput = u.ProposedName(output);
    u.Press(output, 1);  // Open: the proposed name
    desktop_user::Window box = u.WaitFor("Processing Complete");
    prompt = u.BoxText(box);
    // The progress dialog stays up with the run's final state meanwhile.
    desktop_user::Window progress = u.WaitFor("Post-Processing");
    shownName = u.ItemText(progress, kFileNameFieldId);
    shownFolder = u.ItemText(progress, kFolderFieldId);
    read = u.ItemText(progress, kKilobytesReadFieldId);
    total = u.ItemText(progress, kKilobytesTotalFieldId);
    controls = u.Controls(progress);
    u.Press(box, 7);  // No
    if (!u.Gone(progress)) u.Fail("the progress dialog stayed after the prompt");
    // The pictures of the table just written, in a window of their own.
    u.ChooseMenu(main, kShowLastTableCommand);
    desktop_user::Window pictures = u.WaitFor("Quorval - day1-103+000.csv");
    tabs = u.Tabs(pictures);
    track = u.ClientPixels(pictures);
    u.ChooseTab(pictures, 1);
    sky = u.ClientPixels(pictures);
    for (const char* name : {"sky.png", "sky.svg"}) {
      u.Press(pictures, kExportButtonId);
      desktop_user::Window chooser = u.WaitFor("Export View");
      u.ChooseName(chooser, folder / name);
      if (!u.Gone(chooser)) u.Fail("the export chooser stayed");
    }
    u.CloseBox(pictures);
    if (!u.Gone(pictures)) u.Fail("the table's window stayed after its close box");
    u.CloseBox(main);
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(tabs, (Strings{"Track", "Sky", "Signal", "Satellites and DOP"}));
  // Each view draws something of its own over the white background.
  ASSERT_FALSE(track.empty());
  EXPECT_NE(std::count(track.begin(), track.end(), 0xFFFFFFu), static_cast<long>(track.size()));
  EXPECT_NE(track, sky);
  EXPECT_EQ(ReadBytes(folder / "sky.png").substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_NE(ReadBytes(folder / "sky.svg").find("<svg"), std::string::npos);
  EXPECT_EQ(proposedInput, "DEFAULT.TXT");
  ASSERT_FALSE(filters.empty());
  EXPECT_EQ(filters[0], "Input Files, (*.TXT)");
  // The explorer-style dialog opens in the log's folder and proposes the name there.
  EXPECT_EQ(proposedOutput, "day1-103+000.csv");
  EXPECT_EQ(prompt, "Do another file?");
  EXPECT_EQ(shownName, "day1-103+000");
  EXPECT_EQ(shownFolder, (folder.path() / "").string());
  EXPECT_EQ(total, "0");  // under a kilobyte
  EXPECT_EQ(read, "0");
  EXPECT_EQ(ReadBytes(folder / "day1-103+000.csv"), expected);

  // The module's template, control for control, as the resources data has it.
  ASSERT_EQ(controls.size(), static_cast<size_t>(kProgressTemplate.controlCount));
  for (int i = 0; i < kProgressTemplate.controlCount; ++i) {
    const DialogControl& c = kProgressTemplate.controls[i];
    EXPECT_EQ(controls[i].id, c.id) << i;
    // DS_3DLOOK draws a control's border as a sunken edge (WS_EX_CLIENTEDGE).
    const unsigned style = c.style & ~WS_BORDER;
    EXPECT_EQ(controls[i].style & style, style) << i;
    if (std::string(c.className) != "edit") {
      EXPECT_EQ(controls[i].text, c.text) << i;
    }
  }
  EXPECT_EQ(controls[1].className, "msctls_progress32");
}

TEST_F(Win32Desktop, AllSatelliteSystemsChecksItsEntryAndTheRunStartedMeanwhileReadsEverySystem) {
  // Two fixes that only the multi-system mode reads (no $GPGGA at all).
  const std::string log = folder.Write(
      "f9p.txt",
      "$GNRMC,003956.00,A,4552.65403,S,17030.00668,E,0.025,,120419,,,A,V*07\r\n"
      "$GNGGA,003956.00,4552.65403,S,17030.00668,E,1,12,0.64,14.2,M,1.8,M,,*56\r\n"
      "$GNGSA,A,3,13,16,21,15,10,29,27,20,,,,,1.05,0.64,0.83,1*03\r\n"
      "$GAGSV,3,3,09,33,62,034,08,7*41\r\n"
      "$GNRMC,003957.00,A,4552.65403,S,17030.00673,E,0.061,,120419,,,A,V*0C\r\n"
      "$GNGGA,003957.00,4552.65403,S,17030.00673,E,1,12,0.64,14.2,M,1.8,M,,*5D\r\n");
  const std::string expected = TableOf(log, true);
  bool atStart = true, afterChoice = false, afterSecondChoice = true;
  const int exitCode = Run([&](User& u) {
    // The prompt's No; the next choice waits for the run to be over.
    const auto finishRun = [](User& u) {
      desktop_user::Window box = u.WaitFor("Processing Complete");
      desktop_user::Window progress = u.WaitFor("Post-Processing");
      u.Press(box, 7);
      if (!u.Gone(progress)) u.Fail("the progress dialog stayed after the prompt");
    };
    desktop_user::Window main = u.WaitFor("Quorval-103");
    atStart = u.MenuChecked(main, kAllSystemsCommand);
    u.ChooseMenu(main, kAllSystemsCommand);
    for (int i = 0; i < 200 && !u.MenuChecked(main, kAllSystemsCommand); ++i) u.Pause(10);
    afterChoice = u.MenuChecked(main, kAllSystemsCommand);
    u.ChooseMenu(main, kSingleCommand);
    u.ChooseName(u.WaitFor("Open Input File Name"), log);
    u.ChooseName(u.WaitFor("Open Output File Name"), folder / "desktop.csv");
    finishRun(u);
    u.ChooseMenu(main, kAllSystemsCommand);
    for (int i = 0; i < 200 && u.MenuChecked(main, kAllSystemsCommand); ++i) u.Pause(10);
    afterSecondChoice = u.MenuChecked(main, kAllSystemsCommand);
    u.ChooseMenu(main, kSingleCommand);
    u.ChooseName(u.WaitFor("Open Input File Name"), log);
    u.ChooseName(u.WaitFor("Open Output File Name"), folder / "classic.csv");
    finishRun(u);
    u.CloseBox(main);
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_FALSE(atStart);
  EXPECT_TRUE(afterChoice);
  EXPECT_FALSE(afterSecondChoice);
  EXPECT_EQ(std::count(expected.begin(), expected.end(), '\n'), 3);  // the header and two rows
  EXPECT_EQ(ReadBytes(folder / "desktop.csv"), expected);
  EXPECT_EQ(ReadBytes(folder / "classic.csv"), "");
}

TEST_F(Win32Desktop, CancelDuringASingleRunCutsTheTableShortAndThePromptAnnouncesTheAbort) {
  const std::string log = WriteLargeLog("big.txt", 40'000'000);
  std::string prompt;
  int64_t tableBytes = 0;
  const int exitCode = Run([&](User& u) {
    desktop_user::Window main = u.WaitFor("Quorval-103");
    u.ChooseMenu(main, kSingleCommand);
    u.ChooseName(u.WaitFor("Open Input File Name"), log);
    u.Press(u.WaitFor("Open Output File Name"), 1);
    desktop_user::Window progress = u.WaitFor("Post-Processing");
    // Some of the log is read, and shown, before the click.
    for (int i = 0; i < 200 && u.ItemText(progress, kKilobytesReadFieldId) == "0"; ++i) u.Pause(10);
    u.Press(progress, 2);  // Cancel
    desktop_user::Window box = u.WaitFor("Processing Aborted");
    prompt = u.BoxText(box);
    u.Press(box, 7);
    u.CloseBox(main);
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(prompt, "Do another file?");
  tableBytes = static_cast<int64_t>(ReadBytes(folder / "big-103+000.csv").size());
  EXPECT_GT(tableBytes, 0);
  EXPECT_LT(tableBytes, 10'000'000) << "the whole log was converted";
  EXPECT_EQ(runState.cancelRequested, 0);
}

TEST_F(Win32Desktop, TheCloseBoxDuringARunAsksNoGoesOnAndYesStopsTheRunAndQuits) {
  const std::string log = WriteLargeLog("big.txt", 80'000'000);
  std::string question, readAtNo, readAfterNo;
  const int exitCode = Run([&](User& u) {
    desktop_user::Window main = u.WaitFor("Quorval-103");
    u.ChooseMenu(main, kSingleCommand);
    u.ChooseName(u.WaitFor("Open Input File Name"), log);
    u.Press(u.WaitFor("Open Output File Name"), 1);
    desktop_user::Window progress = u.WaitFor("Post-Processing");
    for (int i = 0; i < 200 && u.ItemText(progress, kKilobytesReadFieldId) == "0"; ++i) u.Pause(10);
    u.CloseBox(main);
    desktop_user::Window box = u.WaitForBox("Quorval-103");
    question = u.BoxText(box);
    readAtNo = u.ItemText(progress, kKilobytesReadFieldId);
    u.Press(box, 7);  // No: the run goes on
    if (!u.Gone(box)) u.Fail("the question stayed after No");
    for (int i = 0; i < 200 && u.ItemText(progress, kKilobytesReadFieldId) == readAtNo; ++i) u.Pause(5);
    readAfterNo = u.ItemText(progress, kKilobytesReadFieldId);
    u.CloseBox(main);
    u.Press(u.WaitForBox("Quorval-103"), 6);  // Yes: the program ends, no other prompt
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(question, "A conversion is running. Stop it and quit?");
  EXPECT_NE(readAfterNo, readAtNo);
  const std::string table = ReadBytes(folder / "big-103+000.csv");
  EXPECT_GT(table.size(), 0u);
  EXPECT_LT(table.size(), 50'000'000u) << "the whole log was converted";
  EXPECT_EQ(table.substr(table.size() - 2), "\r\n");  // closed after a whole row
}

TEST_F(Win32Desktop, BatchPostProcConvertsTheListCancelSkipsTheRestOfOneLogAndTheProgramCloses) {
  const std::string big = WriteLargeLog("first.log", 40'000'000);
  const std::string day1 = folder.Write("day1.log", kDay1);
  const std::string expected = TableOf(day1);
  const std::string list = folder.Write("AllData.ini", folder / "first.txt\r\n" + folder / "day1.txt\r\n");
  std::string proposedList, finalText;
  const int exitCode = Run([&](User& u) {
    desktop_user::Window main = u.WaitFor("Quorval-103");
    u.ChooseMenu(main, kBatchCommand);
    desktop_user::Window chooser = u.WaitFor("Open List File Name");
    proposedList = u.ProposedName(chooser);
    u.ChooseName(chooser, list);
    desktop_user::Window progress = u.WaitFor("Post-Processing");
    for (int i = 0; i < 200 && u.ItemText(progress, kKilobytesReadFieldId) == "0"; ++i) u.Pause(10);
    u.Press(progress, 2);  // Cancel: the first log only
    desktop_user::Window done = u.WaitFor("Processing Complete");
    finalText = u.BoxText(done);
    u.Press(done, 1);  // OK: the program closes itself
  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(proposedList, "AllData.ini");
  EXPECT_EQ(finalText, "Processing Complete");
  EXPECT_LT(ReadBytes(folder / "first-103+000.xlx").size(), 10'000'000u);
  EXPECT_EQ(ReadBytes(folder / "day1-103+000.xlx"), expected);
  // A text file, with the line ends of Windows.
  EXPECT_EQ(ReadBytes(folder / "AllData-diag.txt"), "\r\n" + big + "\r\n" + day1);
}

}  // namespace
