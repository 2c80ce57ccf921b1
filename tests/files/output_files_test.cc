#include "support/fresh_program.h"
#include "files/output_files.h"
#include "files/staged_output.h"
#include "output/csv_writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "support/scripted_backend.h"
#include "support/temp_folder.h"
#include "state/epoch_record.h"
#include "state/run_state.h"

using namespace quorval;

namespace {

constexpr unsigned kRetryStyle = MB_TASKMODAL | MB_ICONWARNING | MB_RETRYCANCEL;

class OutputFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    StartFreshProgram(&backend);
  }
  void TearDown() override {
    EndProgram();
    for (const std::string& problem : backend.Problems()) ADD_FAILURE() << problem;
  }

  // A path buffer of exactly kPathSize bytes, so that writing past it shows
  // under the address sanitizer; filled to see whether it was touched.
  static std::unique_ptr<char[]> PathBuffer() {
    std::unique_ptr<char[]> buffer(new char[kPathSize]);
    std::memset(buffer.get(), 'x', kPathSize - 1);
    buffer[kPathSize - 1] = '\0';
    return buffer;
  }

  ScriptedBackend backend;
  TempFolder folder;
};

TEST_F(OutputFiles, OutputNamesCarryTheVersionAndNumberAfterTheInputBase) {
  const struct {
    const char* inputBase;
    const char* extension;
    const char* outputPath;
  } cases[] = {
      {"D:\\logs\\day1", kCsvExtension, "D:\\logs\\day1-103+000.csv"},
      {"D:\\logs\\day1", kBatchExtension, "D:\\logs\\day1-103+000.xlx"},
      {"/var/gps/run.2/track", kCsvExtension, "/var/gps/run.2/track-103+000.csv"},
      {"", kCsvExtension, "-103+000.csv"},
  };
  for (const auto& c : cases) {
    std::strcpy(runState.inputBase, c.inputBase);
    runState.outputFileNumber = 41;
    auto outputPath = PathBuffer();
    EXPECT_EQ(FormOutputName(outputPath.get(), c.extension), 0) << c.inputBase;
    EXPECT_STREQ(outputPath.get(), c.outputPath);
    const std::string path = c.outputPath;
    EXPECT_EQ(runState.outputBase, path.substr(0, path.size() - 4));
    EXPECT_EQ(runState.outputFileNumber, 0);
  }
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(OutputFiles, NameOfExactlyNineHundredNinetyNineCharactersFits) {
  const std::string base(999 - 12, 'b');  // "-103+000" and ".csv" fill it up
  std::strcpy(runState.inputBase, base.c_str());
  auto outputPath = PathBuffer();
  ASSERT_EQ(FormOutputName(outputPath.get(), kCsvExtension), 0);
  EXPECT_EQ(std::string(outputPath.get()), base + "-103+000.csv");
  EXPECT_EQ(std::strlen(outputPath.get()), 999u);
}

TEST_F(OutputFiles, NameThatWouldPassTheBufferIsRefusedWithAMessage) {
  for (size_t length : {size_t{999 - 11}, size_t{999}}) {
    backend.boxes.clear();
    const std::string base(length, 'b');
    std::strcpy(runState.inputBase, base.c_str());
    std::strcpy(runState.inputPath, (base + ".txt").substr(0, 999).c_str());
    std::strcpy(runState.outputBase, "earlier-103+000");
    auto outputPath = PathBuffer();
    EXPECT_EQ(FormOutputName(outputPath.get(), kBatchExtension), 1) << length;
    ASSERT_EQ(backend.boxes.size(), 1u) << length;
    EXPECT_EQ(backend.boxes[0].owner, kNoWindow);
    EXPECT_EQ(backend.boxes[0].style, MB_TASKMODAL | MB_ICONWARNING);
    EXPECT_NE(backend.boxes[0].text.find(runState.inputPath), std::string::npos);
    // Nothing was formed: neither the path nor the base changed.
    EXPECT_EQ(std::string(outputPath.get()), std::string(kPathSize - 1, 'x'));
    EXPECT_STREQ(runState.outputBase, "earlier-103+000");
  }
}

TEST_F(OutputFiles, OpeningCreatesTheOutputOrEmptiesAnExistingOne) {
  const std::string fresh = folder / "fresh.csv";
  const std::string existing = folder.Write("existing.csv", "old rows\r\n");
  for (const std::string& path : {fresh, existing}) {
    ASSERT_EQ(OpenOutputWithRetry(path.c_str()), 0) << path;
    ASSERT_NE(runState.outputFile, nullptr);
    EXPECT_EQ(FinishOutput(path.c_str()), TableFate::kInPlace);
    EXPECT_EQ(ReadBytes(path), "") << path;
  }
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(OutputFiles, OutputInAMissingFolderPromptsAndCancelGivesUp) {
  const std::string path = folder / "missing/day1-103+000.csv";
  backend.AnswerBox(IDCANCEL);
  EXPECT_EQ(OpenOutputWithRetry(path.c_str()), 1);
  EXPECT_EQ(runState.outputFile, nullptr);
  ASSERT_EQ(backend.boxes.size(), 1u);
  const BoxShown& box = backend.boxes[0];
  EXPECT_EQ(box.text, "Output File " + path +
                          " may be open.\nTo continue, close file and press Retry.\n"
                          "To abort, press Cancel");
  EXPECT_EQ(box.caption, "Failure to open output file");
  EXPECT_EQ(box.style, kRetryStyle);
  EXPECT_EQ(box.owner, kNoWindow);
  EXPECT_EQ(box.reason, ENOENT);
}

TEST_F(OutputFiles, RetrySucceedsOnceTheObstacleIsGone) {
  const std::string missing = folder / "later";
  const std::string path = missing + "/out.csv";
  // The user makes the folder while the second prompt is up.
  int prompts = 0;
  backend.beforeAnswer = [&](const std::string&) {
    if (++prompts == 2) std::filesystem::create_directory(missing);
  };
  backend.AnswerBox(IDRETRY).AnswerBox(IDRETRY);
  EXPECT_EQ(OpenOutputWithRetry(path.c_str()), 0);
  EXPECT_NE(runState.outputFile, nullptr);
  EXPECT_EQ(backend.boxes.size(), 2u);  // two prompts, then the open succeeded
  EXPECT_EQ(FinishOutput(path.c_str()), TableFate::kInPlace);
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST_F(OutputFiles, RetryPromptHoldsALongPathWhole) {
  std::string path = folder / "missing/";
  path += std::string(999 - path.size(), 'p');
  backend.AnswerBox(IDCANCEL);
  EXPECT_EQ(OpenOutputWithRetry(path.c_str()), 1);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_NE(backend.boxes[0].text.find(path + " may be open."), std::string::npos);
}

TEST_F(OutputFiles, OutputThatCouldNotBeWrittenCompletelyIsReportedAsFailure) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no device that is always full, as /dev/full is";
#endif
  // A short output stays in the stream buffer until the close; a long one
  // fails while it is being written.
  for (size_t bytes : {size_t{100}, size_t{100000}}) {
    backend.boxes.clear();
    ASSERT_EQ(OpenOutputWithRetry("/dev/full"), 0);
    EXPECT_EQ(runState.outputWriteFailed, 0);
    const std::string rows(bytes, 'r');
    std::fwrite(rows.data(), 1, rows.size(), runState.outputFile);
    EXPECT_EQ(FinishOutput("/dev/full"), TableFate::kLost) << bytes;
    EXPECT_EQ(runState.outputFile, nullptr);
    EXPECT_EQ(runState.outputWriteFailed, 1);
    ASSERT_EQ(backend.boxes.size(), 1u);
    EXPECT_EQ(backend.boxes[0].caption, "Failure writing output file");
    EXPECT_EQ(backend.boxes[0].text, "/dev/full");
    EXPECT_EQ(backend.boxes[0].style, MB_TASKMODAL | MB_ICONWARNING);
    if (bytes < 16000) {
      EXPECT_EQ(backend.boxes[0].reason, ENOSPC);
    }
  }
}

TEST_F(OutputFiles, FullDiskDuringALongOutputIsReportedWithItsReason) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no device that is always full, as /dev/full is";
#endif
  // The disk fills in the middle of the table, long before the close.
  ASSERT_EQ(OpenOutputWithRetry("/dev/full"), 0);
  WriteCsvHeader(runState.outputFile);
  for (int row = 0; row < 1000; ++row) WriteCsvRow(runState.outputFile);
  EXPECT_EQ(FinishOutput("/dev/full"), TableFate::kLost);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].reason, ENOSPC);
}

TEST_F(OutputFiles, CompleteOutputFinishesQuietlyAndNoOutputIsNoFailure) {
  EXPECT_EQ(FinishOutput("nothing open"), TableFate::kInPlace);
  const std::string path = folder / "day1-103+000.csv";
  ASSERT_EQ(OpenOutputWithRetry(path.c_str()), 0);
  std::fputs("index,\r\n", runState.outputFile);
  EXPECT_EQ(FinishOutput(path.c_str()), TableFate::kInPlace);
  EXPECT_EQ(ReadBytes(path), "index,\r\n");  // bytes as written, CR LF kept
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(OutputFiles, ATableReplacesItsNameOnlyWhenItsRunEndsWell) {
  const struct {
    bool existed;
    TableEnd end;
    TableFate fate;
    bool newRows;  // the name holds the new rows; else what stood there (or nothing)
  } cases[] = {
      {false, TableEnd::kWhole, TableFate::kInPlace, true},
      {true, TableEnd::kWhole, TableFate::kInPlace, true},
      {false, TableEnd::kReadFailed, TableFate::kInPlace, true},  // nothing to lose: rows kept
      {true, TableEnd::kReadFailed, TableFate::kPreviousKept, false},
      {false, TableEnd::kNotALog, TableFate::kNotWritten, false},
      {true, TableEnd::kNotALog, TableFate::kPreviousKept, false},
  };
  const std::string path = folder / "day1-103+000.csv";
  for (const auto& c : cases) {
    std::filesystem::remove(path);
    if (c.existed) folder.Write("day1-103+000.csv", "old rows\r\n");
    ASSERT_EQ(OpenOutputWithRetry(path.c_str()), 0);
    std::fputs("new rows\r\n", runState.outputFile);
    std::fflush(runState.outputFile);
    // Until the run ends, the name holds what it held.
    EXPECT_EQ(ReadBytes(path), c.existed ? "old rows\r\n" : "");
    EXPECT_EQ(FinishOutput(path.c_str(), c.end), c.fate);
    const std::string expected = c.newRows ? "new rows\r\n" : c.existed ? "old rows\r\n" : "";
    EXPECT_EQ(ReadBytes(path), expected) << c.existed << static_cast<int>(c.end);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / ""), {}),
              c.newRows || c.existed ? 1 : 0);  // no staged file left behind
  }
}

TEST_F(OutputFiles, TwoRunsWritingOneNameLeaveOneTableWholeWithItsPermissions) {
  const std::string path = folder.Write("shared.csv", "");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  StagedOutput first, second;
  FILE* a = OpenStagedOutput(path.c_str(), first);
  FILE* b = OpenStagedOutput(path.c_str(), second);
  ASSERT_TRUE(a != nullptr && b != nullptr);
  std::fputs("first\r\n", a);
  std::fputs("second\r\n", b);
  std::fclose(b);
  std::fclose(a);
  EXPECT_EQ(PlaceStagedOutput(second), 0);
  EXPECT_EQ(PlaceStagedOutput(first), 0);
  EXPECT_EQ(ReadBytes(path), "first\r\n");
#ifndef _WIN32
  EXPECT_EQ(std::filesystem::status(path).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
#endif
}

}  // namespace
