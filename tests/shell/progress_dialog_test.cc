// The progress dialog: its texts, the kilobyte and per-mille arithmetic,
// the bar, its place over the main window, and Cancel.
#include "shell/progress_dialog.h"

#include "convert/progress_pump.h"

#include <gmock/gmock.h>

#include "shell_test_support.h"

using namespace quorval;

namespace shell_test {
namespace {

using ::testing::ElementsAre;

class ProgressDialog : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    RegisterMainWindowClass(kProgramInstance);
    runState.instance = kProgramInstance;
    runState.mainWindow = CreateWindow(kMainWindowClass, "Quorval-103", WS_OVERLAPPEDWINDOW,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                       kNoWindow, 0, kProgramInstance, nullptr);
    std::strcpy(runState.outputBase, "D:\\logs\\day1-103+000");
    runState.inputSize = 1234567;
  }

  WindowHandle Show() {
    ShowProgressDialog();
    return runState.progressDialog;
  }

  // The bar rectangles drawn so far, as "left,top-right,bottom".
  std::vector<std::string> BarsDrawn() const {
    std::vector<std::string> bars;
    for (const BarFilled& bar : backend.barsFilled) {
      EXPECT_EQ(bar.colour, RGB(150, 0, 150));
      EXPECT_EQ(bar.controlId, kProgressBarId);
      bars.push_back(std::to_string(bar.rect.left) + "," + std::to_string(bar.rect.top) + "-" +
                     std::to_string(bar.rect.right) + "," + std::to_string(bar.rect.bottom));
    }
    return bars;
  }
};

TEST_F(ProgressDialog, ShowsTheOutputFolderAndNameAndTheKilobytesInTotal) {
  const struct {
    const char* outputBase;
    const char* name;
    const char* folder;
  } cases[] = {
      {"D:\\logs\\day1-103+000", "day1-103+000", "D:\\logs\\"},
      {"day1-103+000", "day1-103+000", ""},
      {"/var/gps/day1-103+000", "day1-103+000", "/var/gps/"},
  };
  for (const auto& c : cases) {
    std::strcpy(runState.outputBase, c.outputBase);
    const WindowHandle dialog = Show();
    ASSERT_NE(dialog, kNoWindow);
    EXPECT_EQ(backend.ControlText(kFileNameFieldId), c.name);
    EXPECT_EQ(backend.ControlText(kFolderFieldId), c.folder);
    EXPECT_EQ(backend.ControlText(kKilobytesReadFieldId), "0");
    EXPECT_EQ(backend.ControlText(kKilobytesTotalFieldId), "1234");
    DestroyWindow(dialog);
  }
  ASSERT_FALSE(backend.dialogs.empty());
  EXPECT_EQ(backend.dialogs[0].templateName, "PROGRESS");
  EXPECT_EQ(backend.dialogs[0].caption, "Post-Processing");
  EXPECT_EQ(backend.dialogs[0].owner, runState.mainWindow);
  EXPECT_EQ(backend.shown.back().showCommand, SW_SHOWNORMAL);
}

TEST_F(ProgressDialog, NotificationsShowKilobytesReadAndRedrawTheBarOnlyWhenItsPermilleChanges) {
  const WindowHandle dialog = Show();
  SendMessage(dialog, WM_PAINT, 0, 617283);  // 0.49999... of the log: 499 per mille
  EXPECT_EQ(backend.ControlText(kKilobytesReadFieldId), "617");
  SendMessage(dialog, WM_PAINT, 0, 617000);  // still 499: nothing to redraw
  EXPECT_EQ(backend.ControlText(kKilobytesReadFieldId), "617");
  SendMessage(dialog, WM_PAINT, 0, 1234567);
  EXPECT_EQ(backend.ControlText(kKilobytesReadFieldId), "1234");
  // Bar client area 300 x 20: 499 per mille fill 149 pixels, the whole log all 300.
  EXPECT_THAT(BarsDrawn(), ElementsAre("0,0-149,20", "0,0-300,20"));
  // The rectangle drawn before is wiped by repainting the bar, erased.
  ASSERT_EQ(backend.barsWiped.size(), 2u);
  EXPECT_EQ(backend.barsWiped[0].controlId, kProgressBarId);
  EXPECT_TRUE(backend.barsWiped[0].erase);
}

TEST_F(ProgressDialog, RepaintAskedByTheWindowSystemShowsNothingReadUntilTheNextNotification) {
  const WindowHandle dialog = Show();
  SendMessage(dialog, WM_PAINT, 0, 900000);
  SendMessage(dialog, WM_PAINT, 0, 0);
  EXPECT_EQ(backend.ControlText(kKilobytesReadFieldId), "0");
  EXPECT_THAT(BarsDrawn(), ElementsAre("0,0-218,20", "0,0-0,20"));
}

// A 32-bit build's lParam ends at 2 GB; the position past it still arrives.
TEST_F(ProgressDialog, PositionsPastTwoGigabytesShowAsTheyStand) {
  runState.inputSize = 4'000'000'000;
  const WindowHandle dialog = Show();
  EXPECT_EQ(backend.ControlText(kKilobytesTotalFieldId), "4000000");
  runState.lastNotifiedPosition = 3'000'000'000;  // as the pump records it before notifying
  SendMessage(dialog, WM_PAINT, 0, PositionParam(3'000'000'000));
  EXPECT_EQ(backend.ControlText(kKilobytesReadFieldId), "3000000");
  EXPECT_THAT(BarsDrawn(), ElementsAre("0,0-225,20"));  // 750 per mille of 300 pixels
}

TEST_F(ProgressDialog, LogOfUnknownSizeKeepsTheBarEmpty) {
  runState.inputSize = 0;
  const WindowHandle dialog = Show();
  SendMessage(dialog, WM_PAINT, 0, 5000);
  EXPECT_EQ(backend.ControlText(kKilobytesReadFieldId), "5");
  EXPECT_EQ(backend.ControlText(kKilobytesTotalFieldId), "0");
  EXPECT_TRUE(BarsDrawn().empty());
}

TEST(ProgressArithmetic, PermilleIsTheDivisionScaledAndTruncated) {
  const struct {
    int64_t position, size;
    int32_t permille;
  } cases[] = {
      {617283, 1234567, 499}, {617290, 1234567, 500}, {1234567, 1234567, 1000},
      {0, 1234567, 0},        {999, 1000, 999},       {500, 0, 0},  // size unknown
      {3000, 1000, 1000},  // a log that grew after it was measured
      {int64_t{5} << 40, 1, 1000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProgressPermille(c.position, c.size), c.permille) << c.position << " of " << c.size;
  }
}

TEST(ProgressArithmetic, BarWidthIsTheClientWidthScaledAndNeverMore) {
  const struct {
    int right;
    int32_t permille;
    int width;
  } cases[] = {
      {300, 500, 150}, {300, 499, 149}, {300, 1000, 300}, {300, 1500, 300},
      {300, 0, 0},     {0, 700, 0},     {211, 3, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(BarWidth(c.right, c.permille), c.width) << c.right << " " << c.permille;
}

TEST_F(ProgressDialog, DialogCentreLiesAQuarterDownTheMainWindowAndItsTopStaysOnScreen) {
  const struct {
    const char* scenario;
    Point origin;
    Rect client;
    int width, height;
    struct {
      int x, y, width, height;
    } placed;
  } cases[] = {
      {"plain", {100, 80}, {0, 0, 640, 480}, 540, 170, {150, 115, 540, 170}},
      {"odd sizes truncate", {100, 80}, {0, 0, 641, 483}, 541, 171, {150, 115, 541, 171}},
      {"window near the top", {0, 0}, {0, 0, 640, 100}, 540, 170, {50, 85, 540, 170}},
      {"window off the left edge", {-500, 300}, {0, 0, 200, 400}, 540, 170, {-670, 315, 540, 170}},
  };
  for (const auto& c : cases) {
    backend.mainClientOrigin = c.origin;
    backend.mainClient = c.client;
    backend.dialogWidth = c.width;
    backend.dialogHeight = c.height;
    const WindowHandle dialog = Show();
    ASSERT_FALSE(backend.moves.empty());
    const WindowMoved moved = backend.moves.back();
    EXPECT_EQ(moved.window, dialog);
    EXPECT_EQ(moved.x, c.placed.x) << c.scenario;
    EXPECT_EQ(moved.y, c.placed.y) << c.scenario;
    EXPECT_EQ(moved.width, c.placed.width) << c.scenario;
    EXPECT_EQ(moved.height, c.placed.height) << c.scenario;
    EXPECT_FALSE(moved.repaint) << c.scenario;
    DestroyWindow(dialog);
  }
}

TEST_F(ProgressDialog, CancelButtonAndCloseBoxAskTheConversionToStopAndTheDialogStays) {
  const WindowHandle dialog = Show();
  EXPECT_EQ(SendMessage(dialog, WM_COMMAND, IDOK, 0), 0);
  EXPECT_EQ(runState.cancelRequested, 0);
  EXPECT_NE(SendMessage(dialog, WM_COMMAND, IDCANCEL, 0), 0);
  EXPECT_EQ(runState.cancelRequested, 1);

  runState.cancelRequested = 0;
  PostMessage(dialog, WM_CLOSE, 0, 0);
  ServicePendingMessages();
  EXPECT_EQ(runState.cancelRequested, 1);
  EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(ProgressDialog, RunWithoutADialogStillConvertsAndAsks) {
  const std::string log = folder.Write("day1.txt", LogWithFixes(4));
  ScriptedBackend script;
  script.refuseDialogCreation = true;
  script.WhenIdle(ChooseMenuItem(kSingleCommand))
      .ChooseInFileDialog(log)
      .ChooseInFileDialog(folder / "day1-103+000.csv")
      .AnswerBox(IDNO);
  RunProgramWith(script);
  EXPECT_EQ(CsvLines(ReadBytes(folder / "day1-103+000.csv")), 4);
  EXPECT_EQ(script.Boxes(), std::vector<std::string>{"Processing Complete: Do another file?"});
  EXPECT_TRUE(script.barsFilled.empty());
}

}  // namespace
}  // namespace shell_test
