// Command lines a careless or hostile user types: every one ends with its
// documented exit status and message, leaves the files it must not touch
// as they were, and keeps whole rows when it is interrupted.
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "support/program_process.h"

namespace {

using namespace test_support;
namespace fs = std::filesystem;

// `fixes` GGA sentences, one per line: a header and fixes - 1 rows.
std::string Fixes(int fixes) {
  std::string log;
  for (int i = 0; i < fixes; ++i) {
    log += "$GPGGA,1131" + std::to_string(10 + i) +
           ".00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
  }
  return log;
}

class HostileCommand : public CommandRunner {};

TEST_F(HostileCommand, EndsWithItsStatusAndMessageAndLosesNothing) {
  folder.Write("day1.txt", Fixes(3));
  folder.Write("day1.dat", Fixes(4));
  folder.Write("day2.txt", Fixes(2));
  folder.Write("in2.txt", Fixes(3));
  fs::create_hard_link(folder / "day1.txt", folder / "alias.txt");
  folder.Write("copy.txt", Fixes(3));
  folder.Write("copy-103+000.csv", Fixes(2));  // a log named like another log's table
  folder.Write("b1.log", Fixes(3));
  folder.Write("b1-103+000.xlx", "b1.txt\n");  // a list named like its first table
  folder.Write("list.ini", "day1.txt\n");
  folder.Write("long.ini", std::string(396, 'a') + ".x\n");
  folder.Write("full.ini", "day1.txt\n");
  folder.Write("day1.log", Fixes(3));
  fs::create_directory(folder / "logs");
#ifndef _WIN32
  fs::create_symlink("/dev/full", folder / "full-diag.txt");
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
#endif
  folder.Write("a.txt", Fixes(3));
  folder.Write("victim.txt", "notes the user keeps\n");
  folder.Write("packed.txt", std::string("\x1f\x8b\x08\0\0\0\0\0", 8) + "deflated");
  const std::string later = folder.Write("later.txt", Fixes(3) + Fixes(6));
  const std::string five = folder.Write("five.txt", Fixes(5));
  const std::string table5 = Run(Spawn{{"-o", "-", "five.txt"}}).out;
  const std::string table6 = Run(Spawn{{"-"}, folder.Write("six.txt", Fixes(6))}).out;
  ASSERT_EQ(CsvLineCount(table5), 5);
  folder.Write("kept.csv", table5);

  const std::string q = "quorval-convert: ";
  const std::string refused = "; nothing was converted\n";
  const struct {
    const char* scenario;
    Spawn spawn;
    int status;
    std::string error;  // all of standard error
    std::vector<std::string> unchanged;
    std::vector<std::string> absent;
    const std::string* table = nullptr;  // expected in `tableFile`, or on standard output
    std::string tableFile = "";
  } cases[] = {
      {"the log is the output, by standard input", {{"-o", "in2.txt", "-"}, folder / "in2.txt"}, 3,
       q + "cannot write 'in2.txt': it is the same file as standard input, a log it reads" + refused,
       {"in2.txt"}, {}},
      {"standard output appends to the log",
       Spawn({"-o", "-", "day1.txt"}, kNullDevice, folder / "day1.txt").Append(), 3,
       q + "cannot write standard output: it is the same file as 'day1.txt', a log it reads" + refused,
       {"day1.txt"}, {}},
      {"a link to the log", {{"-o", "alias.txt", "day1.txt"}}, 3,
       q + "cannot write 'alias.txt': it is the same file as 'day1.txt', a log it reads" + refused,
       {"day1.txt"}, {}},
      {"a log named like another log's table", {{"copy.txt", "copy-103+000.csv"}}, 3,
       q + "cannot write 'copy-103+000.csv': it is the same file as 'copy-103+000.csv', a log it "
           "reads" + refused,
       {"copy-103+000.csv"}, {"copy-103+000-103+000.csv"}},
      {"a batch table named like its list", {{"--batch", "b1-103+000.xlx"}}, 3,
       q + "refusing to write 'b1-103+000.xlx': it is the same file as 'b1-103+000.xlx', which the "
           "batch reads" + refused,
       {"b1-103+000.xlx", "b1.log"}, {"b1-103+000-diag.txt"}},
      {"two logs, one table", {{"day1.txt", "day1.dat"}}, 1,
       q + "'day1.txt' and 'day1.dat' would both write 'day1-103+000.csv'" + refused, {},
       {"day1-103+000.csv"}},
      {"standard input twice", {{"-", "--", "-"}, five}, 1,
       q + "'-' (standard input) may be given only once\n"
           "Try 'quorval-convert --help' for more information.\n",
       {}, {}},
      {"standard input read from where it stands", Spawn({"-"}, later).Skip(Fixes(3).size()), 0,
       "", {"later.txt"}, {}, &table6},
      {"a folder as the list", {{"--batch", "logs"}}, 2,
       q + "cannot open the list 'logs': Is a directory\n", {}, {"logs-diag.txt"}},
      {"an output that cannot be created", {{"-o", "missing/out.csv", "day1.txt"}}, 3,
       q + "cannot create 'missing/out.csv': No such file or directory\n", {}, {}},
      {"a list entry past its 399 characters", {{"--batch", "long.ini"}}, 2,
       q + "File name too long: The name formed from '" + std::string(396, 'a') +
           ".x' would be longer than 399 characters. Move or rename the file to a shorter path.\n" +
           q + "Processing Complete\n",
       {}, {}},
      {"a log typed after -o", {{"-o", "victim.txt", "day2.txt"}}, 3,
       q + "refusing to write over 'victim.txt': it is neither empty nor a table of this program "
           "(--force writes over it)" + refused,
       {"victim.txt", "day2.txt"}, {}},
      {"--force writes over it", {{"--force", "-o", "victim.txt", "five.txt"}}, 0, "", {}, {},
       &table5, "victim.txt"},
      {"-o twice", {{"-o", "a.csv", "-o", "b.csv", "day1.txt"}}, 1,
       q + "option -o may be given only once\nTry 'quorval-convert --help' for more information.\n",
       {}, {"a.csv", "b.csv"}},
      {"a later log is an earlier log's table", {{"a.txt", "a-103+000.csv"}}, 3,
       q + "cannot write 'a-103+000.csv': it is the same file as 'a-103+000.csv', a log it reads" +
           refused,
       {}, {"a-103+000.csv", "a-103+000-103+000.csv"}},
      {"a compressed log whose data is damaged", {{"packed.txt"}}, 2,
       q + "cannot read 'packed.txt': the gzip data is damaged (corrupt); no table was written\n",
       {}, {"packed-103+000.csv"}},
      {"a receiver's rows stream out while the pipe stays open",
       Spawn({"-"}).Feed(Fixes(5), "", 5), 0, "", {}, {}, &table5},
#ifndef _WIN32
      // Windows has no signals to send, no FIFO, no /dev and no line feed in a name.
      {"/dev/stdout appends to the log",
       Spawn({"-o", "/dev/stdout", "day1.txt"}, "/dev/null", folder / "day1.txt").Append(), 3,
       q + "cannot write '/dev/stdout': it is the same file as 'day1.txt', a log it reads" + refused,
       {"day1.txt"}, {}},
      {"Ctrl-C while a receiver's rows stream out", Spawn({"-"}).Interrupt(SIGINT, Fixes(5), "", 5),
       128 + SIGINT,
       q + "conversion of standard input interrupted; standard output holds 4 complete rows\n", {},
       {}, &table5},
      {"SIGTERM while a pipe fills a file",
       Spawn({"-o", "out.csv", "-"}).Interrupt(SIGTERM, Fixes(5), "out.csv", 5), 128 + SIGTERM,
       q + "conversion of standard input interrupted; 'out.csv' holds 4 complete rows\n", {}, {},
       &table5, "out.csv"},
      {"hang-up while a FIFO waits for its writer",
       Spawn({"fifo", "day2.txt"}).Interrupt(SIGHUP), 128 + SIGHUP, q + "interrupted\n", {},
       {"day2-103+000.csv"}},
      {"standard input is a folder", {{"-o", "x.csv", "-"}, folder / "logs"}, 2,
       q + "cannot read standard input: Is a directory; no table was written\n", {}, {"x.csv"}},
      {"a failed read keeps the table it would replace", {{"-o", "kept.csv", "/proc/self/mem"}}, 2,
       q + "cannot read '/proc/self/mem': Input/output error; 'kept.csv' was left as it was\n",
       {"kept.csv"}, {}},
      {"an output in a folder it may not write", {{"-o", "/sys/x.csv", "day1.txt"}}, 3,
       q + "cannot create '/sys/x.csv': Permission denied\n", {}, {}},
      {"/dev/stdin writes to standard output", {{"/dev/stdin"}, five}, 0, "", {}, {"/dev/stdin-103+000.csv"},
       &table5},
      {"a list from /dev/stdin", {{"--batch", "/dev/stdin"}, folder / "list.ini"}, 2,
       q + "cannot use '/dev/stdin' as the list: a list is a regular file outside /dev, for its "
           "diagnostics file is written beside it\n",
       {}, {"/dev/stdin-diag.txt", "day1-103+000.xlx"}},
      {"a line feed in a name", {{"nol\nog.txt"}}, 2,
       q + "cannot open 'nol'$'\\n''og.txt': No such file or directory\n", {}, {}},
      {"the diagnostics file on a full disk", {{"--batch", "full.ini"}}, 3,
       q + "cannot write the diagnostics file 'full-diag.txt' completely: No space left on "
           "device\n" + q + "Processing Complete\n",
       {}, {}},
#endif
  };
  for (const auto& c : cases) {
    std::vector<std::string> before;
    for (const std::string& name : c.unchanged) before.push_back(Read(name));
    const Result run = Run(c.spawn);
    EXPECT_EQ(run.status, c.status) << c.scenario;
    EXPECT_EQ(run.err, c.error) << c.scenario;
    for (size_t i = 0; i < c.unchanged.size(); ++i) {
      EXPECT_EQ(Read(c.unchanged[i]), before[i]) << c.scenario << ": " << c.unchanged[i];
    }
    for (const std::string& name : c.absent) EXPECT_FALSE(Exists(name)) << c.scenario << ": " << name;
    if (c.table != nullptr) {
      EXPECT_EQ(c.tableFile.empty() ? run.out : Read(c.tableFile), *c.table) << c.scenario;
    }
  }
}

}  // namespace
