// The message model the shell relies on: what the pump takes off the queue,
// when the quit request is seen, and the run state at program start.
#include <gmock/gmock.h>

#include "convert/progress_pump.h"
#include "shell_test_support.h"

using namespace quorval;

namespace shell_test {
namespace {

using ::testing::ElementsAre;

std::vector<unsigned> delivered;

intptr_t RecordingProc(WindowHandle window, unsigned message, uintptr_t wParam, intptr_t lParam) {
  if (message != WM_CREATE && message != WM_DESTROY) delivered.push_back(message);
  return DefWindowProc(window, message, wParam, lParam);
}

class MessageModel : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    delivered.clear();
    WindowClass windowClass{};
    windowClass.windowProc = RecordingProc;
    windowClass.className = "Recorder";
    ASSERT_NE(RegisterClass(windowClass), 0);
    window = CreateWindow("Recorder", "", 0, 0, 0, 10, 10, kNoWindow, 0, kProgramInstance, nullptr);
    ASSERT_NE(window, kNoWindow);
  }
  WindowHandle window = kNoWindow;
};

TEST_F(MessageModel, QuitRequestTakenOffByThePumpEndsNothing) {
  PostQuitMessage(0);
  ServicePendingMessages();
  PostMessage(window, WM_COMMAND, 1, 0);
  // The loop goes on: the posted command is handled, then the script ends it.
  EXPECT_EQ(RunMessageLoop(), kScriptEnded);
  EXPECT_THAT(delivered, ElementsAre(WM_COMMAND));
}

TEST_F(MessageModel, QuitIsSeenOnlyAfterTheMessagesPostedBeforeAndAfterIt) {
  PostMessage(window, WM_MOVE, 0, 0);
  PostQuitMessage(5);
  PostMessage(window, WM_SIZE, 0, 0);
  EXPECT_EQ(RunMessageLoop(), 5);
  EXPECT_THAT(delivered, ElementsAre(WM_MOVE, WM_SIZE));
}

TEST_F(MessageModel, MessagesForAWindowThatIsGoneReachNobody) {
  PostMessage(window, WM_COMMAND, 1, 0);
  PostMessage(window, WM_CLOSE, 0, 0);  // the default handling destroys it
  PostMessage(window, WM_COMMAND, 2, 0);
  ServicePendingMessages();
  EXPECT_THAT(delivered, ElementsAre(WM_COMMAND, WM_CLOSE));
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(MessageModel, ThePumpServicesMessagesAfterEveryLine) {
  runState.inputFile = TempStream();
  runState.inputSize = 100000;
  PostMessage(window, WM_COMMAND, 1, 0);
  UpdateProgress(10);
  EXPECT_THAT(delivered, ElementsAre(WM_COMMAND));
}

TEST_F(MessageModel, ProgramStartsWithNoStreamsAndTheTxtFilter) {
  EXPECT_TRUE(AllStreamsClosed());
  EXPECT_EQ(runState.cancelRequested, 0);
  EXPECT_STREQ(runState.inputExtension, ".txt");
  CloseAllStreams();
  CloseAllStreams();  // nothing left to close the second time
  EXPECT_TRUE(AllStreamsClosed());
}

}  // namespace
}  // namespace shell_test
