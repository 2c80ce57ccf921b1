// Each log of data/samples beside the table the conversion rules give for it,
// compared byte for byte: through ConvertLog and the reference converter as
// the first log of a program run, and through quorval-convert as a user runs
// it. day2.txt is converted after day1.txt, sharing the record with it.
// multi-system.txt, of a receiver of four systems, has the table of the
// multi-system mode with fourteen satellite slots (--gnss --satellites 14).
// The logs of modern receivers (RTK at 10 Hz, 20 Hz, a cold start, NMEA 4.11
// signals) and two older ones have fixes and satellites tables and GPX,
// GeoJSON and KML tracks beside them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "convert/conversion_loop.h"
#include "convert/convert_test_support.h"
#include "reference/reference_converter.h"
#include "support/program_process.h"

using namespace quorval;

namespace {

const std::string kSamples = QUORVAL_SAMPLES_DIR;
const char* const kLogs[] = {"day1",          "rmc-first",     "cut-short",    "gsv-signal-id",
                             "damaged-lines", "no-final-lf",   "twenty-hz",    "no-fix-start"};
const char* const kCycleTableLogs[] = {"rtk-fixed", "twenty-hz",    "no-fix-start",
                                       "signals-4-11", "multi-system", "day1"};
const char kMultiSystemLog[] = "multi-system";
constexpr int kMultiSystemSlots = 14;

std::string LogPath(const std::string& name) { return kSamples + "/" + name + ".txt"; }
std::string Expected(const std::string& name) {
  return ReadBytes(kSamples + "/" + name + "-103+000.csv");
}

class GoldenTables : public convert_test::ConvertTest {
 protected:
  std::string Convert(const std::string& name, void (*convert)(FILE*, FILE*)) {
    return ConvertWith(name, convert);
  }
  std::string Convert(const std::string& name, ConversionEnd (*convert)(FILE*, FILE*, Conversion&)) {
    return ConvertWith(name, [&](FILE* input, FILE* output) { convert(input, output, conversion); });
  }
  std::string ConvertWith(const std::string& name, auto convert) {
    FILE* input = std::fopen(LogPath(name).c_str(), "rb");
    if (input == nullptr) return "cannot open " + LogPath(name);
    FILE* output = TempStream();
    runState.inputFile = input;
    runState.progressStarted = 0;
    convert(input, output);
    runState.inputFile = nullptr;
    std::fclose(input);
    std::string table = convert_test::ReadAll(output);
    std::fclose(output);
    return table;
  }
};

TEST_F(GoldenTables, EveryLogConvertsToItsTable) {
  for (const char* name : kLogs) {
    StartFreshProgram(&backend);
    EXPECT_EQ(Convert(name, ConvertLog), Expected(name)) << name;
    reference::ResetRecord();
    EXPECT_EQ(Convert(name, reference::ConvertLog), Expected(name)) << name << " (reference)";
  }
}

TEST_F(GoldenTables, TheMultiSystemLogConvertsToItsTableInTheMultiSystemMode) {
  runState.allSystemsInRun = 1;
  runState.satelliteSlots = kMultiSystemSlots;
  EXPECT_EQ(Convert(kMultiSystemLog, ConvertLog), Expected(kMultiSystemLog));
}

TEST_F(GoldenTables, TheSecondLogOfARunStartsFromWhatTheFirstLeft) {
  EXPECT_EQ(Convert("day1", ConvertLog), Expected("day1"));
  EXPECT_EQ(Convert("day2", ConvertLog), Expected("day2"));
  reference::ResetRecord();
  EXPECT_EQ(Convert("day1", reference::ConvertLog), Expected("day1"));
  EXPECT_EQ(Convert("day2", reference::ConvertLog), Expected("day2"));
}

using GoldenTablesCommand = test_support::CommandRunner;

TEST_F(GoldenTablesCommand, EveryLogConvertsToItsTable) {
  for (const char* name : kLogs) {
    const std::string log = folder.Write(std::string(name) + ".txt", ReadBytes(LogPath(name)));
    ASSERT_EQ(Run({"--quiet", log}).status, 0) << name;
    EXPECT_EQ(Read(std::string(name) + "-103+000.csv"), Expected(name)) << name;
  }
}

TEST_F(GoldenTablesCommand, TheMultiSystemLogConvertsToItsTableWithGnss) {
  const std::string log = folder.Write("multi-system.txt", ReadBytes(LogPath(kMultiSystemLog)));
  ASSERT_EQ(Run({"--quiet", "--gnss", "--satellites", std::to_string(kMultiSystemSlots), log}).status, 0);
  EXPECT_EQ(Read("multi-system-103+000.csv"), Expected(kMultiSystemLog));
}

TEST_F(GoldenTablesCommand, EveryLogConvertsToItsFixesAndSatellitesTables) {
  for (const char* name : kCycleTableLogs) {
    const std::string log = folder.Write(std::string(name) + ".txt", ReadBytes(LogPath(name)));
    ASSERT_EQ(Run({"--quiet", "--format", "fixes,satellites,gpx,geojson,kml", log}).status, 0) << name;
    for (const char* table : {"-fixes.csv", "-satellites.csv", ".gpx", ".geojson", ".kml"}) {
      const std::string file = name + std::string(table);
      EXPECT_EQ(Read(file), ReadBytes(kSamples + "/" + file)) << file;
    }
  }
}

TEST_F(GoldenTablesCommand, TheSecondLogOfARunStartsFromWhatTheFirstLeft) {
  const std::string day1 = folder.Write("day1.txt", ReadBytes(LogPath("day1")));
  const std::string day2 = folder.Write("day2.txt", ReadBytes(LogPath("day2")));
  ASSERT_EQ(Run({"--quiet", day1, day2}).status, 0);
  EXPECT_EQ(ReadBytes(folder / "day1-103+000.csv"), Expected("day1"));
  EXPECT_EQ(ReadBytes(folder / "day2-103+000.csv"), Expected("day2"));
}

}  // namespace
