#include "convert/conversion_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "convert_test_support.h"
#include "output/csv_writer.h"

using namespace quorval;

namespace {

using convert_test::ReadAll;
using convert_test::TempFileWith;

const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
const std::string kRmc = "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
const std::string kVtg = "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48";
const std::string kGsa = "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39";

// A GGA whose time of day is `seconds` (below one minute), to tell epochs apart.
std::string GgaAt(int seconds) {
  return "$GPGGA,0000" + std::to_string(seconds / 10) + std::to_string(seconds % 10) +
         ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";
}

std::string Lines(const std::vector<std::string>& sentences, const std::string& end = "\n") {
  std::string log;
  for (const std::string& s : sentences) log += s + end;
  return log;
}

// The CSV split into lines (without CR LF) and values.
struct Table {
  std::string raw;
  std::vector<std::vector<std::string>> lines;

  size_t Rows() const { return lines.empty() ? 0 : lines.size() - 1; }
  std::string Value(size_t row, const std::string& column) const {
    const auto& header = lines.at(0);
    for (size_t i = 0; i < header.size(); ++i) {
      if (header[i] == column) return lines.at(row).at(i);
    }
    ADD_FAILURE() << "no column " << column;
    return "";
  }
};

Table ParseCsv(const std::string& csv) {
  Table table{csv, {}};
  size_t start = 0;
  while (start < csv.size()) {
    const size_t end = csv.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "output ends without CR LF";
      break;
    }
    std::vector<std::string> values;
    size_t from = start;
    for (size_t comma; (comma = csv.find(',', from)) < end; from = comma + 1) {
      values.push_back(csv.substr(from, comma - from));
    }
    EXPECT_EQ(from, end) << "every value is followed by a comma";
    table.lines.push_back(values);
    start = end + 2;
  }
  return table;
}

class ConvertLogTest : public convert_test::ConvertTest {
 protected:
  // Converts one log as a run does: the input registered in the run state
  // with its size, the pump started afresh.
  Table Convert(const std::string& log) {
    FILE* input = TempFileWith(log);
    FILE* output = TempStream();
    runState.inputFile = input;
    runState.inputSize = static_cast<int64_t>(log.size());
    runState.progressStarted = 0;
    ConvertLog(input, output, conversion);
    runState.inputFile = nullptr;
    std::fclose(input);
    const std::string csv = ReadAll(output);
    std::fclose(output);
    return ParseCsv(csv);
  }

  // Header first, then rows numbered 1, 2, ... all as wide as the header.
  static void ExpectWellFormed(const Table& table) {
    if (table.lines.empty()) return;
    EXPECT_EQ(table.raw.substr(0, table.raw.find("\r\n") + 2), CsvHeaderText());
    for (size_t row = 1; row < table.lines.size(); ++row) {
      EXPECT_EQ(table.lines[row].size(), table.lines[0].size()) << "row " << row;
      EXPECT_EQ(table.lines[row][0], std::to_string(row));
    }
  }
};

TEST_F(ConvertLogTest, ALogWithoutGgaGivesAnEmptyFile) {
  const Table table = Convert(Lines({kRmc, kVtg, kGsa, "$GPGSV,1,1,00*79"}));
  EXPECT_EQ(table.raw, "");
  // The sentences before the first GGA still reach the record.
  EXPECT_EQ(epochRecord.day, 23);
  EXPECT_EQ(epochRecord.sGSAMode, 3);
}

TEST_F(ConvertLogTest, NFixesGiveAHeaderAndNMinusOneRows) {
  for (const std::string lineEnd : {"\n", "\r\n"}) {
    for (int fixes : {1, 2, 3, 7}) {
      SCOPED_TRACE(std::to_string(fixes) + " fixes, CR LF: " + (lineEnd == "\r\n" ? "yes" : "no"));
      std::vector<std::string> log;
      for (int i = 0; i < fixes; ++i) log.insert(log.end(), {GgaAt(i), kVtg, kGsa});
      const Table table = Convert(Lines(log, lineEnd));
      ASSERT_EQ(table.Rows(), static_cast<size_t>(fixes - 1));
      ExpectWellFormed(table);
      // Each row shows its own epoch: the GGA that opened it and what followed.
      for (size_t row = 1; row <= table.Rows(); ++row) {
        EXPECT_EQ(table.Value(row, "TimeOfDay(s)"), std::to_string(row - 1) + ".0");
        EXPECT_EQ(table.Value(row, "heading(deg)"), "54.700");
      }
      EXPECT_EQ(epochRecord.timeOfDay, fixes - 1) << "the last GGA is parsed but not written";
    }
  }
}

TEST_F(ConvertLogTest, OnlyExactUpperCaseTagsAreRecognised) {
  const struct {
    const char* scenario;
    std::string line;
    bool isGga;
  } cases[] = {
      {"text before the '$'", "xyz" + GgaAt(9), true},
      {"a GGA after a cut GSV", "$GPGSV,3,1,1" + GgaAt(9), true},
      {"a tag followed by more letters", "$GPGGAX,000009,4807.038,N", true},
      {"lower case", "$gpgga,000009,4807.038,N", false},
      {"another talker sentence", "$GPGLL,4916.45,N,12311.12,W,225444,A", false},
      {"a GGA followed by a VTG on the same line", GgaAt(9) + "$GPVTG,1", false},
      {"a tag cut short", "$GPGG", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    ResetEpochRecord();
    const Table table = Convert(Lines({GgaAt(1), c.line, GgaAt(2)}));
    ASSERT_EQ(table.Rows(), c.isGga ? 2u : 1u);
    if (c.isGga) {
      EXPECT_EQ(table.Value(2, "TimeOfDay(s)"), "9.0");
    }
  }
}

TEST_F(ConvertLogTest, ALineCutAtAControlByteIsParsedUpToIt) {
  Convert("$GPGGA,123519,4807.038\tjunk,1,2,3\r\n");
  EXPECT_EQ(EpochCounter, 1);
  EXPECT_EQ(epochRecord.timeOfDay, 45319.0);
  EXPECT_EQ(epochRecord.latitude, 0.0) << "the cut latitude is absent";
  EXPECT_EQ(epochRecord.msl, 4807.038) << "fields read always convert the cut text";

  // A restart leaves nothing of the GGA behind the VTG.
  Convert(kGga + "$GPVTG,1,T\n");
  EXPECT_EQ(EpochCounter, 0);
  EXPECT_EQ(epochRecord.heading, 1.0);
}

TEST_F(ConvertLogTest, TheLastLineWithoutLineFeedHasNoEffect) {
  const Table table = Convert(Lines({GgaAt(1), GgaAt(2)}) + GgaAt(3));
  EXPECT_EQ(table.Rows(), 1u);
  EXPECT_EQ(epochRecord.timeOfDay, 2.0);
}

TEST_F(ConvertLogTest, LinesEndingInCarriageReturnOnlyAreNeverComplete) {
  const Table table = Convert(Lines({GgaAt(1), kRmc, GgaAt(2), GgaAt(3)}, "\r"));
  EXPECT_EQ(table.raw, "");
  EXPECT_EQ(epochRecord.day, 0);
  EXPECT_EQ(backend.Serviced(), 0);
}

TEST_F(ConvertLogTest, CancelEndsTheConversionAfterTheCurrentLine) {
  std::vector<std::string> log;
  for (int i = 0; i < 10; ++i) log.push_back(GgaAt(i));
  backend.AfterLine(0, 4, RequestCancel());
  const Table table = Convert(Lines(log));
  EXPECT_EQ(table.Rows(), 3u) << "four GGA lines were read: header and three rows";
  ExpectWellFormed(table);
  EXPECT_EQ(backend.Serviced(), 4);
  EXPECT_EQ(runState.cancelRequested, 1) << "the request stays for the run to see";
}

TEST_F(ConvertLogTest, ConversionLeavesTheCancelRequestAsItFoundIt) {
  const std::string log = Lines({GgaAt(1), GgaAt(2), GgaAt(3)});
  Table table = Convert(log);
  EXPECT_EQ(runState.cancelRequested, 0);
  EXPECT_EQ(table.Rows(), 2u);

  // A request still standing when the conversion starts ends it after the
  // first line.
  runState.cancelRequested = 1;
  const int servicedBefore = backend.Serviced();
  table = Convert(log);
  EXPECT_EQ(runState.cancelRequested, 1);
  EXPECT_EQ(backend.Serviced() - servicedBefore, 1);
  EXPECT_EQ(table.Rows(), 0u);
  EXPECT_EQ(table.lines.size(), 1u);
}

TEST_F(ConvertLogTest, ProgressIsReportedAtTheEndOfEveryLine) {
  // Under 500 bytes the step is 0: every line after the first notifies.
  const std::vector<std::string> log = {GgaAt(1), "", "junk", kVtg, GgaAt(2)};
  runState.progressDialog = 42;
  Convert(Lines(log));
  EXPECT_EQ(backend.Serviced(), 5);
  std::vector<intptr_t> expected;
  intptr_t position = 0;
  for (const std::string& line : log) {
    position += static_cast<intptr_t>(line.size() + 1);
    expected.push_back(position);
  }
  expected.erase(expected.begin());
  std::vector<intptr_t> positions;
  for (const MessageSent& n : backend.sent) {
    EXPECT_EQ(n.window, 42);
    EXPECT_EQ(n.message, WM_PAINT);
    EXPECT_EQ(n.wParam, 0u);
    positions.push_back(n.lParam);
  }
  EXPECT_EQ(positions, expected);
}

TEST_F(ConvertLogTest, AToolkitAskedOncePerBlockSeesTheSameNotificationsInAFractionOfTheCalls) {
  // 1.5 MB: six blocks of the log, 3000 bytes between notifications.
  std::string log;
  for (int i = 0; log.size() < 1'500'000; ++i) log += Lines({GgaAt(i % 60), kRmc, kVtg, kGsa});
  runState.progressDialog = 42;
  const Table everyLine = Convert(log);
  const std::vector<MessageSent> notifiedEveryLine = backend.sent;
  const int callsEveryLine = backend.Serviced();

  backend.sent.clear();
  backend.servicesOncePerBlock = true;
  ResetEpochRecord();
  const Table oncePerBlock = Convert(log);
  const int calls = backend.Serviced() - callsEveryLine;
  EXPECT_EQ(oncePerBlock.raw, everyLine.raw);
  ASSERT_EQ(backend.sent.size(), notifiedEveryLine.size());
  for (size_t i = 0; i < backend.sent.size(); ++i) {
    EXPECT_EQ(backend.sent[i].lParam, notifiedEveryLine[i].lParam) << "notification " << i;
  }
  EXPECT_EQ(callsEveryLine, static_cast<int>(std::count(log.begin(), log.end(), '\n')));
  // The first line, each notification, and the first line of each block.
  EXPECT_LE(calls, 1 + static_cast<int>(notifiedEveryLine.size()) + 6);
}

TEST_F(ConvertLogTest, EveryConversionStartsAtIndexOneAndKeepsTheRecord) {
  // The first conversion after start has no date until an RMC gives one.
  Table first = Convert(Lines({GgaAt(1), GgaAt(2), kRmc, GgaAt(3)}));
  ASSERT_EQ(first.Rows(), 2u);
  EXPECT_EQ(first.Value(1, "year"), "0");
  EXPECT_EQ(first.Value(2, "day"), "23");

  // The second log has no RMC: its rows show the first log's date.
  Table second = Convert(Lines({GgaAt(4), GgaAt(5)}));
  ASSERT_EQ(second.Rows(), 1u);
  ExpectWellFormed(second);
  EXPECT_EQ(second.Value(1, "day"), "23");
  EXPECT_EQ(second.Value(1, "month"), "3");
  EXPECT_EQ(second.Value(1, "year"), "94");
  EXPECT_EQ(second.Value(1, "TimeOfDay(s)"), "4.0");
}

TEST_F(ConvertLogTest, DamagedLogsConvertWithoutHarm) {
  const std::string huge(10 * 1024 * 1024, '7');
  const struct {
    const char* scenario;
    std::string log;
    size_t rows;  // SIZE_MAX: no output at all
  } cases[] = {
      {"an empty file", "", SIZE_MAX},
      {"only '$' characters", std::string(5000, '$'), SIZE_MAX},
      {"only '$' characters and line feeds", Lines(std::vector<std::string>(300, "$$$")), SIZE_MAX},
      {"a 10 MB line without line feed", kGga + "\n" + kGga + "," + huge, 0},
      {"a 10 MB line between two fixes", Lines({kGga, "$GPGSA,A,3," + huge, kGga}), 1},
      {"NUL bytes inside sentences",
       Lines({std::string("$GPGGA,1\0,2", 11), std::string("\0\0\0", 3), kGga}), 1},
      {"garbage bytes between fixes",
       Lines({kGga, "\x80\xff\x01\x7f$\x90", "$GPGSV,\xff,1", "$GPGSA,\x1b", kGga}), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    const Table table = Convert(c.log);
    if (c.rows == SIZE_MAX) {
      EXPECT_EQ(table.raw, "");
    } else {
      ASSERT_EQ(table.Rows(), c.rows);
      ExpectWellFormed(table);
    }
  }
}

TEST_F(ConvertLogTest, RandomSentenceSoupAlwaysGivesAWellFormedTable) {
  // Fragments of real sentences, cut and joined at random, exercise every
  // handler with short, long and malformed fields.
  const std::vector<std::string> pieces = {
      "$GPGGA,", "$GPRMC,", "$GPVTG,", "$GPGSA,", "$GPGSV,", "$GPZDA,", ",", ",,", "*47",
      "-",       "0",       "99999999999", "1e400", "1e300", "-2147483648", "4807.038", "S", "W",
      "\r\n",    "\n",      "\t",      std::string(1, '\0'), "\xff", "1", "4", "5", "0x1A"};
  std::mt19937 rng(4242);
  for (int round = 0; round < 200; ++round) {
    std::string log;
    const int count = static_cast<int>(rng() % 400);
    for (int i = 0; i < count; ++i) log += pieces[rng() % pieces.size()];
    const Table table = Convert(log);
    ExpectWellFormed(table);
    if (HasFailure()) {
      ADD_FAILURE() << "round " << round;
      return;
    }
  }
}

}  // namespace
