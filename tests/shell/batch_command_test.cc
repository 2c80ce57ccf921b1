// quorval-convert --batch: the desktop batch on the command line.
#include <gmock/gmock.h>

#include <filesystem>

#include "shell/batch_run.h"
#include "shell_test_support.h"
#include "support/program_process.h"

using namespace quorval;

namespace shell_test {
namespace {

using ::testing::HasSubstr;

// day1 sets the date and the satellites; day2 does not, so its rows carry
// day1's values, in the desktop program and on the command line alike.
const std::string kDay1 =
    "$GPRMC,113100.00,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
    "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n"
    "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n" +
    LogWithFixes(4);
const std::string kDay2 = LogWithFixes(3);

class BatchCommand : public ShellTest {
 protected:
  test_support::Result RunConsoleBatch(const std::string& listFile) {
    return test_support::RunProgram(test_support::Spawn{{"--quiet", "--batch", listFile}}, folder,
                                    captures);
  }

  std::vector<std::string> TakeBatchFiles() {
    std::vector<std::string> files;
    for (const char* name : {"day1-103+000.xlx", "day2-103+000.xlx", "AllData-diag.txt"}) {
      files.push_back(ReadBytes(folder / name));
      std::filesystem::remove(folder / name);
    }
    return files;
  }

  TempFolder captures;
};

TEST_F(BatchCommand, WritesTheSameFilesByteForByteAsTheDesktopBatch) {
  folder.Write("day1.log", kDay1);
  folder.Write("day2.log", kDay2);
  const std::string list = folder.Write("AllData.ini", folder / "day1.txt\n\n" + folder / "day2\n");

  backend.WhenIdle(ChooseMenuItem(kBatchCommand)).ChooseInFileDialog(list);
  ASSERT_EQ(RunProgram(), 0);
  const std::vector<std::string> desktop = TakeBatchFiles();
  ASSERT_EQ(CsvLines(desktop[0]), 4);
  ASSERT_EQ(CsvLines(desktop[1]), 3);

  const test_support::Result console = RunConsoleBatch(list);
  EXPECT_EQ(console.status, 0) << console.err;
  EXPECT_EQ(TakeBatchFiles(), desktop);
  EXPECT_EQ(console.err, "quorval-convert: Processing Complete\n");
}

TEST_F(BatchCommand, FormatMustIncludeClassicAndAddsItsTablesBesideEachButNeverOverAnotherFile) {
  folder.Write("day1.log", kOneCycle);
  folder.Write("day2.log", kOneCycle);
  folder.Write("day2-103+000-satellites.csv", "notes\n");
  const std::string list = folder.Write("AllData.ini", folder / "day1\n" + folder / "day2\n");
  for (const auto& [formats, status] : {std::pair{"fixes", 1}, {"classic,satellites", 3}, {"fixes,classic", 0}}) {
    const auto run =
        test_support::RunProgram(test_support::Spawn{{"--format", formats, "--batch", list}}, folder, captures);
    EXPECT_EQ(run.status, status) << formats << ": " << run.err;
  }
  EXPECT_EQ(ReadBytes(folder / "day2-103+000-satellites.csv"), "notes\n");
  EXPECT_FALSE(std::filesystem::exists(folder / "day1-103+000-satellites.csv"));  // refused before day1
  EXPECT_EQ(CsvLines(ReadBytes(folder / "day2-103+000-fixes.csv")), 2);
}

// A zstd frame's header alone: the Windows build does not read zstd.
#ifdef _WIN32
const std::string kPackedReason = "a zstd-compressed file, not a text log";
#else
const std::string kPackedReason = "the zstd data is damaged (truncated)";
#endif

TEST_F(BatchCommand, ExitStatusSaysWhereTheBatchStopped) {
  folder.Write("day1.log", kDay1);
  folder.Write("packed.log", std::string("\x28\xb5\x2f\xfd\0\0", 6));
  const struct {
    const char* scenario;
    std::string list;  // empty: no list file at all
    bool blockSecondOutput;
    int exitStatus;
    std::string error;
  } cases[] = {
      {"the list done", folder / "day1.log\n", false, 0, "Processing Complete"},
      {"an empty list", "\n", false, 0, ""},
      {"a log that cannot be opened", folder / "day1.log\n" + folder / "day2.log\n", false, 2,
       "quorval-convert: cannot open '" + folder / "day2.log': No such file or directory\n"},
      {"an output that cannot be created", folder / "day1.log\n" + folder / "day2.log\n", true, 3,
       "quorval-convert: cannot create '" + folder / "day2-103+000.xlx': Is a directory\n"},
      {"no list", "", false, 2, "cannot open the list"},
      {"a log that cannot be read", folder / "packed.log\n" + folder / "day1.log\n", false, 2,
       "quorval-convert: Quorval-103: Cannot read '" + folder / "packed.log': " + kPackedReason +
           ". No table was written.\n"
           "quorval-convert: Processing Complete\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(folder / "AllData.ini");
    if (!c.list.empty()) folder.Write("AllData.ini", c.list);
    if (c.blockSecondOutput) {
      folder.Write("day2.log", kDay2);
      std::filesystem::create_directory(folder / "day2-103+000.xlx");
    }
    const test_support::Result console = RunConsoleBatch(folder / "AllData.ini");
    EXPECT_EQ(console.status, c.exitStatus) << c.scenario;
    EXPECT_THAT(console.err, HasSubstr(c.error)) << c.scenario;
    if (c.error.empty()) {
      EXPECT_EQ(console.err, "") << c.scenario;
    }
    std::filesystem::remove_all(folder / "day2-103+000.xlx");
    std::filesystem::remove(folder / "day2.log");
  }
}

}  // namespace
}  // namespace shell_test
