// quorval-convert end to end: its outputs, options, messages and exit statuses.
#include <unistd.h>

#include <sstream>

#include "output/csv_writer.h"
#include "support/program_process.h"

using namespace quorval;

namespace {

using namespace test_support;
namespace fs = std::filesystem;

// RMC first, so that the GGA time with a quarter second is the one printed.
const std::string kDay1 =
    "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
    "$GPGGA,123519.25,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
    "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n"
    "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75\r\n"
    "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48\r\n"
    "$GPGGA,123520,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
std::string Zeros(int count) {
  std::string zeros;
  while (count-- > 0) zeros += "0,";
  return zeros;
}
// GSV gives elevation before azimuth; the table has azimuth first.
const std::string kDay1Row =
    "1,45319.3,11:31:00.00E,48:07:02.27N,11.516667,48.117300,498.5,545.4,2.829,54.700,2.309,"
    "1.635,0.9,2.5,1.3,2.1,3,94,3,23,8,5,8,1,"
    "1,83,40,46,0,2,308,17,41,0,12,344,7,39,1,14,228,22,45,0," +
    Zeros(8 * 5) + "\r\n";
// No RMC: the date columns show whatever an earlier log of the same run set.
const std::string kDay2 =
    "$GPGGA,010203,3351.408,S,15112.900,E,2,05,1.5,10.0,M,0.0,M,,*47\r\n"
    "$GPGGA,010204,3351.408,S,15112.900,E,2,05,1.5,10.0,M,0.0,M,,*47\r\n";
const int kYearColumn = CsvColumnIndex("year");

class ConvertCommand : public CommandRunner {
 protected:
  void SetUp() override {
    folder.Write("day1.txt", kDay1);
    folder.Write("day2.txt", kDay2);
  }
};

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> values;
  size_t start = 0;
  for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1) {
    values.push_back(line.substr(start, comma - start));
  }
  return values;
}


TEST_F(ConvertCommand, EachLogBecomesACsvBesideItAndLaterLogsKeepEarlierValues) {
  const Result run = Run({"day1.txt", "day2.txt"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");  // standard error is no terminal: no progress line
  const std::string day1 = Read("day1-103+000.csv");
  ASSERT_TRUE(day1.starts_with("index,TimeOfDay(s),"));
  EXPECT_EQ(day1.substr(day1.find("\r\n") + 2), kDay1Row);

  // The second log sets no date: its row shows the first log's.
  const std::vector<std::string> after = Fields(Read("day2-103+000.csv").substr(day1.find('\n')));
  ASSERT_EQ(after.size(), 84u);
  EXPECT_EQ(std::vector(after.begin() + kYearColumn, after.begin() + kYearColumn + 3),
            (std::vector<std::string>{"94", "3", "23"}));

  // Alone, in a fresh process, it has no date.
  EXPECT_EQ(Run({"day2.txt"}).status, 0);
  const std::vector<std::string> alone = Fields(Read("day2-103+000.csv").substr(day1.find('\n')));
  ASSERT_EQ(alone.size(), 84u);
  EXPECT_EQ(std::vector(alone.begin() + kYearColumn, alone.begin() + kYearColumn + 3),
            (std::vector<std::string>{"0", "0", "0"}));
  EXPECT_EQ(alone[CsvColumnIndex("TimeOfDay(s)")], "3723.0");
  EXPECT_EQ(alone[CsvColumnIndex("Latitude")], "33:51:24.47S");
}

TEST_F(ConvertCommand, OutputCanBeNamedOrGoToStandardOutputByteForByte) {
  ASSERT_EQ(Run({"day1.txt"}).status, 0);
  const std::string table = Read("day1-103+000.csv");
  fs::remove(folder / "day1-103+000.csv");
  fs::create_directory(folder / "tables");
  // A Ctrl-Z on a line of its own, which would end a log in a text stream.
  const size_t secondLine = kDay1.find('\n') + 1;
  const std::string withCtrlZ = folder.Write(
      "ctrlz.txt", kDay1.substr(0, secondLine) + "\x1a\r\n" + kDay1.substr(secondLine));
  const struct {
    const char* scenario;
    Spawn spawn;
    const char* file;  // where the table lands; nullptr: standard output
  } cases[] = {
      {"-o FILE", {{"-o", "tables/monday.csv", "day1.txt"}}, "tables/monday.csv"},
      {"-o -", {{"-o", "-", "day1.txt"}}, nullptr},
      {"- reads standard input", {{"-"}, folder / "day1.txt"}, nullptr},
      {"- reads standard input past a Ctrl-Z", {{"-"}, withCtrlZ}, nullptr},
      {"- with -o FILE", {{"-o", "stdin.csv", "-"}, folder / "day1.txt"}, "stdin.csv"},
      {"options after the log", {{"day1.txt", "-o", "after.csv", "--quiet"}}, "after.csv"},
  };
  for (const auto& c : cases) {
    const Result run = Run(c.spawn);
    EXPECT_EQ(run.status, 0) << c.scenario << ": " << run.err;
    EXPECT_EQ(run.err, "") << c.scenario;
    EXPECT_EQ(c.file != nullptr ? Read(c.file) : run.out, table) << c.scenario;
    if (c.file != nullptr) {
      EXPECT_EQ(run.out, "") << c.scenario;
    }
    EXPECT_FALSE(Exists("day1-103+000.csv")) << c.scenario << " also wrote the default name";
  }
}

TEST_F(ConvertCommand, HelpAndVersionAnswerOnStandardOutput) {
  const Result help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: quorval-convert")) << help.out;
  EXPECT_NE(help.out.find("Example:"), std::string::npos);
  EXPECT_NE(help.out.find("day1-103+000.csv"), std::string::npos);
  std::istringstream lines(help.out);  // a terminal's 80 columns
  for (std::string line; std::getline(lines, line);) EXPECT_LT(line.size() - line.ends_with('\r'), 80u) << line;
  EXPECT_EQ(help.err, "");
  const Result version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "quorval-convert 103" + kTextLineEnd);
}

TEST_F(ConvertCommand, UsageErrorsExitOneAndConvertNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--quiet"},
      {"--frobnicate", "day1.txt"},
      {"-o", "both.csv", "day1.txt", "day2.txt"},
      {"day1.txt", "-o"},
      {"--satellites", "0", "day1.txt"},
      {"--satellites", "65", "day1.txt"},
      {"--satellites", "12x", "day1.txt"},
      {"day1.txt", "--satellites"},
      {"--format", "svg", "day1.txt"},
      {"--format", "fixes,fixes", "day1.txt"},
      {"--format", "classic,fixes", "-o", "both.csv", "day1.txt"},
      {"day1.txt", "--format"},
  };
  for (const auto& args : cases) {
    const Result run = Run(args);
    const std::string shown = args.empty() ? "(nothing)" : args[0] + " ...";
    EXPECT_EQ(run.status, 1) << shown;
    EXPECT_EQ(run.out, "") << shown;
    EXPECT_NE(run.err.find("--help"), std::string::npos) << shown << ": " << run.err;
    EXPECT_FALSE(Exists("day1-103+000.csv") || Exists("both.csv")) << shown;
  }
}

TEST_F(ConvertCommand, FormatsWriteTheirTablesInOnePassAndRefuseStandardOutputForSeveral) {
  const Result all = Run({"--format", "satellites,fixes,classic", "day1.txt"});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(Read("day1-103+000.csv").find(kDay1Row), Read("day1-103+000.csv").size() - kDay1Row.size());
  EXPECT_EQ(Read("day1-fixes.csv").substr(0, 4), "utc,");
  // The GGAs fail their checksums: the receiver cycles pass them over.
  EXPECT_NE(Read("day1-fixes.csv").find("\r\n1994-03-23T12:35:19Z,45319,48.1173000,11.5166667,,,,11.5236,084.4,,A,"),
            std::string::npos) << Read("day1-fixes.csv");
  EXPECT_NE(Read("day1-satellites.csv").find(",GPS,12,12,,07,344,39,1\r\n"), std::string::npos);
  // One table fits standard output; the same table as a named file.
  const Result piped = Run(Spawn{{"--format", "fixes", "-"}, folder / "day1.txt"});
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.out, Read("day1-fixes.csv"));
  const Result two = Run(Spawn{{"--format", "classic,fixes", "-"}, folder / "day1.txt"});
  EXPECT_EQ(two.status, 1);
  EXPECT_EQ(two.out, "");
  EXPECT_NE(two.err.find("standard output"), std::string::npos) << two.err;
}

TEST_F(ConvertCommand, TracksAreNamedByFormatOrExtensionAndGoWhereOutputDirSays) {
  fs::create_directories(folder / "other");
  folder.Write("other/day1.txt", kDay1);
  struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> written;
  };
  const std::vector<Case> cases = {
      {{"--format", "gpx,kml", "day1.txt"}, 0, {"day1.gpx", "day1.kml"}},
      {{"-o", "track.GeoJSON", "day1.txt"}, 0, {"track.GeoJSON"}},
      {{"--output-dir", "out", "--format", "classic,geojson", "day1.txt", "day2.txt"},
       0, {"out/day1-103+000.csv", "out/day1.geojson", "out/day2-103+000.csv", "out/day2.geojson"}},
      // Two logs of one name would write one file in the folder.
      {{"--output-dir", "out2", "day1.txt", "other/day1.txt"}, 1, {}},
      {{"--output-dir", "out3", "-o", "x.csv", "day1.txt"}, 1, {}},
  };
  for (const Case& c : cases) {
    const Result run = Run(c.args);
    EXPECT_EQ(run.status, c.status) << c.args[1] << ": " << run.err;
    for (const std::string& name : c.written) EXPECT_TRUE(Exists(name)) << name;
  }
  EXPECT_EQ(Read("day1.gpx").rfind("<?xml", 0), 0u);
  EXPECT_EQ(Read("track.GeoJSON").rfind("{\"type\":\"FeatureCollection\"", 0), 0u);
  EXPECT_FALSE(Exists("out2") && Exists("out2/day1-103+000.csv"));
  // A track of this program may be written over; another program's may not.
  folder.Write("day1.kml", "<kml>not ours</kml>");
  EXPECT_EQ(Run({"--format", "kml", "day1.txt"}).status, 3);
  EXPECT_EQ(Run({"--format", "gpx", "day1.txt"}).status, 0);
}

TEST_F(ConvertCommand, MissingLogExitsTwoWithOneLineNamingItAndTheOthersStillConvert) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"nolog.txt"}, {"nolog.txt", "day1.txt"}}) {
    const Result run = Run(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find("nolog.txt"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(std::strerror(ENOENT)), std::string::npos) << run.err;
    EXPECT_FALSE(Exists("nolog-103+000.csv"));
  }
  EXPECT_EQ(Read("day1-103+000.csv").substr(Read("day1-103+000.csv").find('\n') + 1), kDay1Row);
}

TEST_F(ConvertCommand, OutputThatCannotBeCreatedOrCompletedExitsThree) {
  // A log whose derived name would pass 999 characters, in four deep folders.
  std::string deep;
  for (char c : {'a', 'b', 'c', 'd'}) deep += std::string(240, c) + "/";
  fs::create_directories(folder / deep);
  const std::string name(24, 'n');
  const std::string longLog = deep + name + ".txt";  // 992 characters, 1000 for the output
  folder.Write(longLog, kDay1);
  fs::create_directory(folder / "locked");
  folder.Write("locked/day3.txt", kDay1);
  fs::permissions(folder / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  const bool lockHolds = access((folder / "locked").c_str(), W_OK) != 0;

  const struct {
    const char* scenario;
    Spawn spawn;
    const char* named;  // what the message names
  } cases[] = {
      {"folder missing", {{"-o", "missing/out.csv", "day1.txt"}}, "missing/out.csv"},
      {"read-only folder", {{"locked/day3.txt"}}, "locked/day3-103+000.csv"},
      {"name too long", {{longLog}}, "nnnnnnnnnnnnnnnnnnnnnnnn.txt"},
#ifndef _WIN32
      // Windows has no device that is always full.
      {"disk full", {{"-o", "/dev/full", "day1.txt"}}, "/dev/full"},
      {"standard output full", {{"-o", "-", "day1.txt"}, "/dev/null", "/dev/full"}, "standard output"},
#endif
  };
  for (const auto& c : cases) {
    if (std::string(c.scenario) == "read-only folder" && !lockHolds) {
      std::printf("  (read-only folder not checked: this user writes into any folder)\n");
      continue;
    }
    const Result run = Run(c.spawn);
    EXPECT_EQ(run.status, 3) << c.scenario;
    EXPECT_NE(run.err.find(c.named), std::string::npos) << c.scenario << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.scenario << ": " << run.err;
  }
  EXPECT_FALSE(Exists(deep + name + "-103+000.csv"));
}

TEST_F(ConvertCommand, ProgressGoesToATerminalUnlessQuiet) {
#ifdef _WIN32
  GTEST_SKIP() << "a test cannot give a Windows program a console of its own to draw on";
#endif
  Spawn spawn{{"day1.txt"}};
  spawn.stderrIsTerminal = true;
  const Result shown = Run(spawn);
  EXPECT_EQ(shown.status, 0);
  EXPECT_NE(shown.err.find("day1.txt -> day1-103+000.csv (1 row)"), std::string::npos)
      << shown.err;
  spawn.args = {"--quiet", "day1.txt"};
  const Result quiet = Run(spawn);
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(Read("day1-103+000.csv").substr(Read("day1-103+000.csv").find('\n') + 1), kDay1Row);
}

// A locale with a decimal comma if the system has one, else any other.
std::string NonCLocale() {
  std::vector<std::string> names;
  if (FILE* list = popen("locale -a 2>/dev/null", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, list) != nullptr) {
      names.emplace_back(line, std::strcspn(line, "\n"));
    }
    pclose(list);
  }
  for (const std::string& name : names) {
    if (name.starts_with("de_DE")) return name;
  }
  for (const std::string& name : names) {
    if (name != "C" && name != "POSIX") return name;
  }
  return "";
}

TEST_F(ConvertCommand, SameLogGivesTheSameBytesEveryTimeAndInEveryLocale) {
  ASSERT_EQ(Run({"day1.txt", "day2.txt"}).status, 0);
  const std::string first = Read("day1-103+000.csv") + Read("day2-103+000.csv");
  ASSERT_EQ(Run({"day1.txt", "day2.txt"}).status, 0);
  EXPECT_EQ(Read("day1-103+000.csv") + Read("day2-103+000.csv"), first);

#ifdef _WIN32
  GTEST_SKIP() << "a Windows program's locale does not come from its environment";
#endif
  const std::string locale = NonCLocale();
  if (locale.empty()) GTEST_SKIP() << "no locale other than C installed";
  Spawn spawn{{"day1.txt", "day2.txt"}};
  spawn.environment = {"LC_ALL=" + locale, "LANG=" + locale};
  ASSERT_EQ(Run(spawn).status, 0);
  EXPECT_EQ(Read("day1-103+000.csv") + Read("day2-103+000.csv"), first) << locale;
}

}  // namespace
