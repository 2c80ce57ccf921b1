#include "convert/progress_pump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "convert_test_support.h"

using namespace quorval;

namespace {

constexpr WindowHandle kDialog = 77;

class ProgressPump : public convert_test::ConvertTest {
 protected:
  void SetUp() override {
    ConvertTest::SetUp();
    // The pump only needs an open input; the log itself is not read.
#ifdef _WIN32
    input_ = std::fopen("NUL", "rb");
#else
    input_ = std::fopen("/dev/null", "rb");
#endif
    ASSERT_NE(input_, nullptr);
    runState.inputFile = input_;
    runState.progressDialog = kDialog;
  }
  void TearDown() override {
    runState.inputFile = nullptr;
    std::fclose(input_);
    ConvertTest::TearDown();
  }

  std::vector<int64_t> Notified() const {
    std::vector<int64_t> positions;
    for (const MessageSent& n : backend.sent) {
      EXPECT_EQ(n.window, kDialog);
      EXPECT_EQ(n.message, WM_PAINT);
      EXPECT_EQ(n.wParam, 0u);
      positions.push_back(n.position);
    }
    return positions;
  }

  FILE* input_ = nullptr;
};

TEST_F(ProgressPump, NotifiesOnlyWhenMoreThanAFiveHundredthHasPassed) {
  const struct {
    const char* scenario;
    int64_t inputSize;
    std::vector<int64_t> positions;  // one call each; the first only starts
    int64_t step;
    std::vector<int64_t> notified;
  } cases[] = {
      {"a log of 1234567 bytes", 1234567, {100, 2569, 2570, 5039, 5040, 5041, 9000}, 2469,
       {2570, 5040, 9000}},
      {"a log under 500 bytes notifies every advance", 499, {10, 10, 20, 30, 30, 31}, 0,
       {20, 30, 31}},
      {"a log of 3 GB", 3'000'000'000, {0, 6'000'000, 6'000'001, 2'500'000'000, 2'999'999'999},
       6'000'000, {6'000'001, 2'500'000'000, 2'999'999'999}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    runState.inputSize = c.inputSize;
    runState.progressStarted = 0;
    backend.sent.clear();
    const int servicedBefore = backend.Serviced();
    for (int64_t p : c.positions) EXPECT_EQ(UpdateProgress(p), 0);
    EXPECT_EQ(runState.progressStep, c.step);
    EXPECT_EQ(Notified(), c.notified);
    EXPECT_EQ(backend.Serviced() - servicedBefore, static_cast<int>(c.positions.size()));
  }
}

TEST_F(ProgressPump, AfterCancelNothingIsNotifiedButMessagesAreStillServiced) {
  runState.inputSize = 1000;
  UpdateProgress(0);
  UpdateProgress(100);
  backend.AfterLine(0, 3, RequestCancel());
  EXPECT_EQ(UpdateProgress(200), 1) << "the click arrives while messages are serviced";
  EXPECT_EQ(UpdateProgress(300), 1);
  EXPECT_EQ(UpdateProgress(400), 1);
  EXPECT_EQ(Notified(), (std::vector<int64_t>{100, 200}));
  EXPECT_EQ(backend.Serviced(), 5);
  EXPECT_EQ(runState.cancelRequested, 1);
}

TEST_F(ProgressPump, WithoutADialogTheConversionRunsUndisplayed) {
  runState.progressDialog = kNoWindow;
  runState.inputSize = 1000;
  UpdateProgress(0);
  EXPECT_EQ(UpdateProgress(500), 0);
  EXPECT_TRUE(backend.sent.empty());
  EXPECT_EQ(runState.lastNotifiedPosition, 500) << "the step counts from the last advance";
  EXPECT_EQ(backend.Serviced(), 2);
}

TEST_F(ProgressPump, EachLogStartsThePumpAfresh) {
  runState.inputSize = 5000;
  UpdateProgress(0);
  UpdateProgress(4000);
  runState.progressStarted = 0;  // what opening the next log does
  runState.inputSize = 100'000;
  UpdateProgress(50);
  EXPECT_EQ(runState.progressStep, 200);
  EXPECT_EQ(runState.lastNotifiedPosition, 50);
  EXPECT_EQ(Notified(), (std::vector<int64_t>{4000}));
}

TEST_F(ProgressPump, WithNoInputOpenTheRunIsCancelled) {
  runState.inputFile = nullptr;
  EXPECT_EQ(UpdateProgress(10), 0);
  EXPECT_EQ(runState.cancelRequested, 1);
  EXPECT_EQ(runState.progressStarted, 0);
  EXPECT_EQ(backend.Serviced(), 0);
  EXPECT_TRUE(backend.sent.empty());
}

}  // namespace
