#include "support/fresh_program.h"
#include "files/input_opening.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "support/scripted_backend.h"
#include "support/temp_folder.h"
#include "state/epoch_record.h"
#include "state/run_state.h"

using namespace quorval;

namespace {

class InputOpening : public ::testing::Test {
 protected:
  void SetUp() override {
    StartFreshProgram(&backend);
    runState.progressStarted = 1;  // left over from an earlier log
  }
  void TearDown() override {
    EndProgram();
    for (const std::string& problem : backend.Problems()) ADD_FAILURE() << problem;
  }

  ScriptedBackend backend;
  TempFolder folder;
};

TEST_F(InputOpening, LogOpensRewoundWithItsSizeAndNames) {
  const std::string log = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
  const struct {
    const char* name;
    std::string bytes;
    const char* extension;
  } cases[] = {
      {"day1.txt", log + log, ".txt"},
      {"empty.nmea", "", ".nmea"},
      {"gps", log, "."},
  };
  for (const auto& c : cases) {
    const std::string path = folder.Write(c.name, c.bytes);
    runState.progressStarted = 1;
    ASSERT_EQ(OpenInputDirect(path.c_str()), 0) << c.name;
    ASSERT_NE(runState.inputFile, nullptr);
    EXPECT_EQ(runState.inputSize, static_cast<int64_t>(c.bytes.size())) << c.name;
    EXPECT_EQ(std::ftell(runState.inputFile), 0) << c.name;
    EXPECT_EQ(runState.progressStarted, 0);
    EXPECT_EQ(std::string(runState.inputBase) + runState.inputExtension,
              path + (c.extension[1] == '\0' ? "." : ""));
    EXPECT_STREQ(runState.inputExtension, c.extension);
    // Binary mode: the first byte read is the log's first byte.
    EXPECT_EQ(std::fgetc(runState.inputFile), c.bytes.empty() ? EOF : '$');
    std::fclose(runState.inputFile);
    runState.inputFile = nullptr;
  }
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(InputOpening, LogThatCannotBeOpenedIsNamedInTheFailureBox) {
  std::filesystem::create_directory(folder / "day2.dir");
  const struct {
    std::string path;
    int reason;
    const char* base;
    const char* extension;
  } cases[] = {
      {folder / "missing.log", ENOENT, "missing", ".log"},
      {folder / "day2.dir", EISDIR, "day2", ".dir"},  // a folder holds no log
  };
  for (const auto& c : cases) {
    backend.boxes.clear();
    EXPECT_EQ(OpenInputDirect(c.path.c_str()), 1) << c.path;
    EXPECT_EQ(runState.inputFile, nullptr);
    ASSERT_EQ(backend.boxes.size(), 1u);
    const BoxShown& box = backend.boxes[0];
    EXPECT_EQ(box.text, c.path);
    EXPECT_EQ(box.caption, "Failure to open Input File");
    EXPECT_EQ(box.style, MB_TASKMODAL | MB_ICONWARNING);
    EXPECT_EQ(box.owner, kNoWindow);
    EXPECT_EQ(box.reason, c.reason) << c.path;
    // The names follow the path even though the open failed.
    EXPECT_EQ(std::string(runState.inputBase), folder / c.base);
    EXPECT_STREQ(runState.inputExtension, c.extension);
  }
}

}  // namespace
