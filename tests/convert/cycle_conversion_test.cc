// The multi-system mode: one row per fix, each from one receiver cycle.
#include "convert/cycle_conversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "convert/conversion.h"
#include "convert/conversion_loop.h"
#include "convert/satellite_numbering.h"
#include "convert/sentence_capture.h"
#include "convert/sentence_counts.h"
#include "convert_test_support.h"
#include "output/csv_writer.h"
#include "support/temp_folder.h"

using namespace quorval;

namespace {

// A sentence with its checksum, as a receiver sends it.
std::string Nmea(const std::string& body) {
  unsigned sum = 0;
  for (char c : body) sum ^= static_cast<unsigned char>(c);
  char checksum[8];
  std::snprintf(checksum, sizeof checksum, "*%02X\r\n", sum);
  return "$" + body + checksum;
}

std::string Log(const std::vector<std::string>& bodies) {
  std::string log;
  for (const std::string& body : bodies) log += Nmea(body);
  return log;
}

// A satellite slot as the row shows it: id, azimuth, elevation, SNR, used.
using Slot = std::tuple<int, int, int, int, int>;

struct Rows {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;

  std::string At(size_t row, const std::string& column) const {
    for (size_t i = 0; i < header.size(); ++i) {
      if (header[i] == column) return rows.at(row).at(i);
    }
    ADD_FAILURE() << "no column " << column;
    return "";
  }
  std::vector<Slot> Slots(size_t row) const {
    std::vector<Slot> slots;
    for (int n = 0;; ++n) {
      char svid[16];
      std::snprintf(svid, sizeof svid, "svid%02d", n);
      size_t i = 0;
      while (i < header.size() && header[i] != svid) ++i;
      if (i == header.size() || rows.at(row).at(i) == "0") break;
      const auto& r = rows.at(row);
      slots.emplace_back(std::stoi(r[i]), std::stoi(r[i + 1]), std::stoi(r[i + 2]), std::stoi(r[i + 3]),
                         std::stoi(r[i + 4]));
    }
    return slots;
  }
};

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> values;
  size_t start = 0;
  for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1) {
    values.push_back(line.substr(start, comma - start));
  }
  return values;
}

class AllSystems : public convert_test::ConvertTest {
 protected:
  void SetUp() override {
    ConvertTest::SetUp();
    runState.allSystemsInRun = 1;
  }

  Rows Convert(const std::string& log) {
    FILE* input = convert_test::TempFileWith(log);
    FILE* output = std::tmpfile();
    runState.inputFile = input;
    runState.inputSize = static_cast<int64_t>(log.size());
    ConvertLog(input, output, conversion);
    runState.inputFile = nullptr;
    text = convert_test::ReadAll(output);
    std::fclose(input);
    std::fclose(output);
    Rows table;
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      (table.header.empty() ? table.header : table.rows.emplace_back()) = Split(text.substr(start, end - start));
    }
    return table;
  }

  std::string text;
};

// A receiver that sends RMC first, one GSA per system with the NMEA 4.10
// system id, and GSV per signal (NMEA 4.11), each message ending in its
// signal id.
const std::vector<std::string> kFirstCycle = {
    "GNRMC,120000.00,A,4807.03800,N,01131.00000,E,1.944,84.4,230324,,,A,V",
    "GNVTG,90.0,T,,M,5.000,N,9.260,K,A",
    "GNGGA,120000.00,4807.03800,N,01131.00000,E,1,09,0.80,545.4,M,46.9,M,,",
    "GNGSA,A,3,05,12,,,,,,,,,,,1.50,0.80,1.27,1",
    "GNGSA,A,3,70,,,,,,,,,,,,1.50,0.80,1.27,2",
    "GNGSA,A,3,07,,,,,,,,,,,,1.50,0.80,1.27,3",
    "GNGSA,A,3,08,,,,,,,,,,,,1.50,0.80,1.27,4",
    "GPGSV,1,1,03,05,40,083,46,12,17,308,41,24,07,344,,1",
    "GPGSV,1,1,03,05,40,083,44,12,17,308,45,24,07,344,20,6",
    "GLGSV,1,1,02,70,55,120,38,71,10,200,,1",
    "GAGSV,1,1,01,07,61,237,31,7",
    "GBGSV,1,1,01,08,49,229,27,1",
    "GNZDA,120000.00,22,03,2024,00,00",
};

TEST_F(AllSystems, OneCycleOfEverySystemIsOneRowWithAllItsSatellites) {
  const Rows table = Convert(Log(kFirstCycle));
  ASSERT_EQ(table.rows.size(), 1u) << text;
  const std::vector<std::pair<const char*, const char*>> values = {
      {"index", "1"},         {"TimeOfDay(s)", "43200.0"}, {"lat(deg)", "48.117300"},
      {"lon(deg)", "11.516667"}, {"alt(m)", "498.5"},      {"msl(m)", "545.4"},
      // Speed and course from RMC, not the cycle's VTG; the date from RMC, not ZDA.
      {"spd(m/s)", "1.000"},  {"heading(deg)", "84.400"}, {"year", "24"},
      {"month", "3"},         {"day", "23"},              {"GGAhdop", "0.8"},
      {"pdop", "1.5"},        {"vdop", "1.3"},            {"sGSAMode", "3"},
      {"numsvsinfix", "9"},   {"numused", "5"},           {"numsvsview", "7"},
      {"gpsqual", "1"},
  };
  for (const auto& [column, value] : values) EXPECT_EQ(table.At(0, column), value) << column;
  // Each satellite once, at its strongest signal; GLONASS, Galileo and BeiDou
  // ids moved out of the GPS range; the signal id 7 is no satellite.
  EXPECT_EQ(table.Slots(0), (std::vector<Slot>{{5, 83, 40, 46, 1},
                                               {12, 308, 17, 45, 1},
                                               {24, 344, 7, 20, 0},
                                               {70, 120, 55, 38, 1},
                                               {71, 200, 10, 0, 0},
                                               {307, 237, 61, 31, 1},
                                               {408, 229, 49, 27, 1}}));
}

TEST_F(AllSystems, EveryCycleWithAFixIsARowTheLastOneTooAndFlagsBelongToTheirRow) {
  std::vector<std::string> log = kFirstCycle;
  for (const char* body : {
           "GNRMC,120001.00,A,4807.03900,N,01131.00000,E,1.944,84.4,230324,,,A,V",
           "GNGGA,120001.00,4807.03900,N,01131.00000,E,1,01,0.80,545.4,M,46.9,M,,",
           "GNGSA,A,3,05,,,,,,,,,,,,1.50,0.80,1.27,1",
           "GPGSV,1,1,02,05,40,083,47,12,17,308,41,1",
           // The fix is lost: a GGA without a time, whose satellites belong
           // to no written cycle; then a cycle without a fix.
           "GNGGA,,,,,,0,00,,,M,,M,,",
           "GPGSV,1,1,01,30,10,100,20,1",
           "GNGSA,A,3,30,,,,,,,,,,,,1.50,0.80,1.27,1",
           "GNRMC,120003.00,V,,,,,,,230324,,,N,V",
           "GNGGA,120003.00,,,,,0,00,99.99,,M,,M,,",
       }) {
    log.push_back(body);
  }
  const Rows table = Convert(Log(log));
  ASSERT_EQ(table.rows.size(), 2u) << text;
  EXPECT_EQ(table.At(1, "index"), "2");
  EXPECT_EQ(table.At(1, "TimeOfDay(s)"), "43201.0");
  EXPECT_EQ(table.At(1, "numused"), "1");
  EXPECT_EQ(table.Slots(1), (std::vector<Slot>{{5, 83, 40, 47, 1}, {12, 308, 17, 41, 0}}));
}

TEST_F(AllSystems, ASentenceFailingItsChecksumOrCutShortIsPassedOver) {
  const std::string first = Log(kFirstCycle);
  const std::string gga = "$GNGGA,120001.00,4807.04000,N,01131.00000,E,1,09,0.80,545.4,M,46.9,M,,";
  const std::string rmc = "$GNRMC,120001.00,A,4807.04000,N,01131.00000,E,1.944,84.4,230324,,,A,V";
  const struct {
    const char* scenario;
    std::string log;
    size_t rows;  // the first second's row, and the next one's if it was read
  } cases[] = {
      // A receiver's restart splices a GGA into a GSV: a time, and a "fix"
      // of satellite fields, under the GGA's checksum.
      {"spliced", first + "$GPGGA,120001.00,00,3,1,12,23,86,270,,13,70,270,40*79\r\n", 1},
      // Once the log has shown checksums, a sentence without one lost its
      // tail: an altitude of 5.0, or a longitude of 0.01.
      {"a GGA cut short", first + gga.substr(0, 55) + "\r\n", 1},
      {"an RMC cut by a reboot", first + rmc.substr(0, 34) + "\r\n", 1},
      // A log without checksums is read as it stands, unless a control byte
      // broke a sentence off.
      {"no checksums", gga + "\r\n" + rmc + "\r\n", 1},
      {"no checksums, two seconds", gga + "\r\n" + "$GNGGA,120002.00" + gga.substr(16) + "\r\n", 2},
      {"a NUL inside", gga + "\r\n" + "$GNGGA,120002.00" + gga.substr(16, 39) + std::string(1, '\0') +
                           gga.substr(55) + "\r\n", 1},
      {"a control byte after the checksum", first + Nmea(gga.substr(1)).insert(gga.size() + 3, "\t"), 2},
  };
  for (const auto& c : cases) {
    const Rows table = Convert(c.log);
    ASSERT_EQ(table.rows.size(), c.rows) << c.scenario << "\n" << text;
    if (c.rows == 2) {
      EXPECT_EQ(table.At(1, "msl(m)"), "545.4") << c.scenario;
    }
  }
  // Whether checksums were seen belongs to one log: the next one without
  // them is read.
  Convert(first);
  EXPECT_EQ(Convert(gga + "\r\n").rows.size(), 1u);
  EXPECT_EQ(conversion.counts.cutShort, 0);
  Convert(first + gga + "\r\n" + rmc + "\r\n");
  EXPECT_EQ(conversion.counts.cutShort, 2);
}

// Two logs converted at once, a line of each in turn, each by a conversion
// of its own: each table is the one its log gives alone.
TEST_F(AllSystems, TwoLogsConvertedSideBySideGiveTheTablesTheyGiveAlone) {
  struct Side {
    std::string alone;
    FILE *input, *output;
    LogReader reader;
    std::vector<unsigned char> block = std::vector<unsigned char>(4096 + kReadBlockPadding);
    char spill[kSentenceCapacity + 1 + kReadBlockPadding];
  } sides[2];
  const auto conversions = std::make_unique<Conversion[]>(2);
  const char* const logs[] = {"multi-system", "day1"};
  for (int i = 0; i < 2; ++i) {
    const std::string log = ReadBytes(std::string(QUORVAL_SAMPLES_DIR) + "/" + logs[i] + ".txt");
    ASSERT_GT(Convert(log).rows.size(), 2u) << logs[i];
    sides[i].alone = text;
    sides[i].input = convert_test::TempFileWith(log);
    sides[i].output = std::tmpfile();
    StartReading(sides[i].reader, sides[i].input, sides[i].block.data(), 4096);
    StartConversion(conversions[i], true, ConversionOutputs{.table = sides[i].output});
  }
  for (bool more = true; more;) {
    more = false;
    for (int i = 0; i < 2; ++i) {
      const char* sentence;
      if (ReadSentence(sides[i].reader, sides[i].spill, kSentenceCapacity, sentence) != kLineComplete) continue;
      ReadCycleSentence(conversions[i], sentence, sides[i].reader.broken);
      more = true;
    }
  }
  for (int i = 0; i < 2; ++i) {
    EndCycles(conversions[i].cycles);
    FlushCsvText();
    EXPECT_EQ(convert_test::ReadAll(sides[i].output), sides[i].alone) << logs[i];
    std::fclose(sides[i].input);
    std::fclose(sides[i].output);
  }
}

// A captured sentence: the check reads sixteen characters past its end.
Checksum ChecksumOf(const std::string& sentence) {
  return SentenceChecksum((sentence + std::string(16, '\0')).c_str());
}

TEST(SentenceChecksum, EveryLengthEveryCharacterOfTheBodyCounts) {
  // Bodies of 0 to 40 characters: the check takes sixteen at a time.
  for (size_t n = 0; n <= 40; ++n) {
    const std::string body = std::string("GPGGA,123519.25,48").substr(0, std::min<size_t>(n, 18)) +
                             std::string(n > 18 ? n - 18 : 0, 'x');
    const std::string good = Nmea(body);
    EXPECT_EQ(ChecksumOf(good), Checksum::kMatches) << good;
    EXPECT_EQ(ChecksumOf("$" + body), Checksum::kMissing) << body;
    for (size_t i = 1; i < body.size() + 1; ++i) {
      std::string changed = good;
      changed[i] ^= 0x01;
      EXPECT_EQ(ChecksumOf(changed), Checksum::kMismatches) << changed;
    }
    std::string cut = good.substr(0, good.find('*') + 2);  // one hex digit
    EXPECT_EQ(ChecksumOf(cut), Checksum::kMismatches) << cut;
  }
}

TEST_F(AllSystems, GgaOfTwoTalkersWithOneTimeIsOneFixAndGnIdsGoByTheirRange) {
  const Rows table = Convert(Log({
      "GPGGA,020935.000,4404.1351,N,12118.8556,W,1,08,0.9,1123.9,M,-19.6,M,,0000",
      "GLGGA,020935.000,4404.1351,N,12118.8556,W,1,02,0.9,1123.9,M,-19.6,M,,0000",
      // No system id: the ranges tell GPS from GLONASS and BeiDou (201-263).
      "GNGSA,A,3,15,17,73,214,,,,,,,,,1.8,0.9,1.5",
      // An eighteenth field that is no system id (a TDOP): the talker rules.
      "GPGSA,A,3,18,,,,,,,,,,,,1.8,0.9,1.5,3.3",
      "GPGSV,1,1,03,15,29,271,37,17,81,131,33,18,06,032,21",
      "GLGSV,1,1,02,09,47,322,36,82,55,053,29",
      "BDGSV,1,1,01,14,34,246,25",
      "GNRMC,020935.000,A,4404.1351,N,12118.8556,W,0.04,359.11,050219,,,A",
  }));
  ASSERT_EQ(table.rows.size(), 1u) << text;
  EXPECT_EQ(table.At(0, "numsvsinfix"), "8");  // the first GGA's
  EXPECT_EQ(table.At(0, "numused"), "5");
  EXPECT_EQ(table.Slots(0), (std::vector<Slot>{{15, 271, 29, 37, 1},
                                               {17, 131, 81, 33, 1},
                                               {18, 32, 6, 21, 1},
                                               {73, 322, 47, 36, 1},
                                               {82, 53, 55, 29, 0},
                                               {414, 246, 34, 25, 1}}));
}

TEST_F(AllSystems, AGsaOfMoreThanTwelveIdsHasItsDopsBeforeTheSystemId) {
  const std::string ids16 = "01,02,03,04,05,06,07,08,09,10,11,12,13,14,15,16";
  const std::string ids24 = ids16 + ",17,18,19,20,21,22,23,24";
  const struct {
    std::string gsa;
    const char* numused;
    const char* pdop;  // hdop and vdop follow it by 0.1 and 0.2
  } cases[] = {
      {"GPGSA,A,3," + ids24 + ",1.5,1.6,1.7,1", "24", "1.5"},  // 30 fields
      {"GPGSA,A,3," + ids24 + ",1.5,1.6,1.7", "24", "1.5"},    // 29, before NMEA 4.10
      {"GNGSA,A,3," + ids16 + ",,,,,,,,,2.5,2.6,2.7,4", "16", "2.5"},  // BeiDou 401-416
      {"GNGSA,A,3," + ids16 + ",2.5,2.6,2.7", "16", "2.5"},
      {"GPGSA,A,3,01,02,03,04,05,06,07,08,09,10,11,12,13,3.5,3.6,3.7,1", "13", "3.5"},  // 19
      // Up to 18 fields the places are fixed; a TDOP or a 4.10 system id last.
      {"GPGSA,A,3,01,02,03,04,05,06,07,08,09,10,11,12,4.5,4.6,4.7,3.3", "12", "4.5"},
      {"GPGSA,A,3,01,02,03,04,05,06,07,08,09,10,11,12,4.5,4.6,4.7,1", "12", "4.5"},
      {"GPGSA,A,3,01,02,03,04,05,06,07,08,09,10,11,12,4.5,4.6,4.7", "12", "4.5"},
  };
  for (const auto& c : cases) {
    const Rows table = Convert(Log({"GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", c.gsa}));
    ASSERT_EQ(table.rows.size(), 1u) << c.gsa;
    EXPECT_EQ(table.At(0, "numused"), c.numused) << c.gsa;
    EXPECT_EQ(table.At(0, "pdop"), c.pdop) << c.gsa;
    const double pdop = std::stod(c.pdop);
    EXPECT_DOUBLE_EQ(std::stod(table.At(0, "hdop")), pdop + 0.1) << c.gsa;
    EXPECT_DOUBLE_EQ(std::stod(table.At(0, "vdop")), pdop + 0.2) << c.gsa;
  }
}

TEST_F(AllSystems, ATimeOrPositionThatIsNotANumberIsNone) {
  const std::string gga = "GPGGA,120000.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
  const std::string rmc = "GPRMC,120000.00,A,4807.040,N,01131.000,E,1.9,84.4,230324,,,A";
  const auto with = [](std::string body, size_t at, size_t length, const std::string& text) {
    return body.replace(at, length, text);
  };
  const struct {
    const char* scenario;
    std::vector<std::string> log;
    const char* latitude;  // of the one row; nullptr: no row
  } cases[] = {
      {"a spliced time", {with(gga, 6, 9, "|19322|1.00")}, nullptr},
      {"five digits", {with(gga, 6, 9, "12000")}, nullptr},
      {"seven digits", {with(gga, 6, 9, "1200000")}, nullptr},
      {"a sign", {with(gga, 6, 9, "-120000")}, nullptr},
      {"no fraction", {with(gga, 6, 9, "120000")}, "48.117300"},
      {"a point alone", {with(gga, 6, 9, "120000.")}, "48.117300"},
      {"a ZDA's time", {with("GPZDA,120000.00,22,03,2024,00,00", 6, 9, "12:00:00"), gga}, "48.117300"},
      {"a latitude of letters", {with(gga, 16, 8, "48o7.038")}, nullptr},
      {"a longitude with a sign", {with(gga, 27, 9, "-1131.000")}, nullptr},
      {"a latitude of too many digits", {with(gga, 16, 8, "48070.38")}, nullptr},
      {"a GGA without position, an RMC with one", {with(gga, 16, 8, "4807x038"), rmc}, "48.117333"},
      {"an RMC without position", {with(rmc, 18, 8, "4807.0.0")}, nullptr},
  };
  for (const auto& c : cases) {
    const Rows table = Convert(Log(c.log));
    ASSERT_EQ(table.rows.size(), c.latitude != nullptr ? 1u : 0u) << c.scenario << "\n" << text;
    if (c.latitude != nullptr) {
      EXPECT_EQ(table.At(0, "lat(deg)"), c.latitude) << c.scenario;
      EXPECT_EQ(table.At(0, "TimeOfDay(s)"), "43200.0") << c.scenario;
    }
  }
}

TEST_F(AllSystems, ALogStartedInABurstAndAVtgBeforeItsRmcKeepTheirCycle) {
  const Rows table = Convert(Log({
      // The log begins in the middle of a burst: its GSV before any time.
      "GPGSV,1,1,02,05,40,083,46,12,17,308,41",
      "GLGSV,1,1,01,70,55,120,38",
      "GPGGA,120000.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
      // The next cycle: a VTG of other speeds before its RMC.
      "GPGGA,120001.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
      "GPVTG,10.0,T,,M,9.000,N,16.668,K,A",
      "GPRMC,120001.00,A,4807.038,N,01131.000,E,1.944,84.4,230324,,,A",
      "GPVTG,20.0,T,,M,8.000,N,14.816,K,A",
  }));
  ASSERT_EQ(table.rows.size(), 2u) << text;
  EXPECT_EQ(table.Slots(0), (std::vector<Slot>{{5, 83, 40, 46, 0}, {12, 308, 17, 41, 0}, {70, 120, 55, 38, 0}}));
  EXPECT_EQ(table.At(1, "spd(m/s)"), "1.000");
  EXPECT_EQ(table.At(1, "heading(deg)"), "84.400");
}

TEST_F(AllSystems, WithoutRmcTheDateComesFromZdaOfTheSameSecond) {
  const Rows table = Convert(Log({
      // ZDA first and to the whole second: the GGA of that second is its cycle.
      "GPZDA,032908,07,08,2004,00,00",
      "GPGGA,032908.379,4231.8291,N,08807.3033,W,1,05,1.6,209.8,M,-34.2,M,0.0,0000",
      "GPGSA,A,3,,,,,,,,,,,,,3.0,1.6,2.5",
      // ZDA last with another fraction of the second.
      "GPGGA,032909.379,4231.8291,N,08807.3034,W,1,05,1.6,209.7,M,-34.2,M,0.0,0000",
      "GPZDA,032909.05,08,08,2004,00,00",
      // A cycle with neither: no date.
      "GPGGA,032910.379,4231.8291,N,08807.3034,W,1,05,1.6,209.7,M,-34.2,M,0.0,0000",
  }));
  ASSERT_EQ(table.rows.size(), 3u) << text;
  const char* dates[][3] = {{"4", "8", "7"}, {"4", "8", "8"}, {"0", "0", "0"}};
  for (size_t row = 0; row < 3; ++row) {
    EXPECT_EQ(table.At(row, "TimeOfDay(s)"), std::to_string(12548 + row) + ".4");
    EXPECT_EQ(table.At(row, "year"), dates[row][0]) << row;
    EXPECT_EQ(table.At(row, "month"), dates[row][1]) << row;
    EXPECT_EQ(table.At(row, "day"), dates[row][2]) << row;
  }
}

// Receivers that send GNS instead of GGA, or only GLL (position, time and
// status), still give a row for each fix; a GLL with the next fix's time
// beside a GGA leaves that GGA's cycle as it was.
TEST_F(AllSystems, GnsOrGllWithoutGgaGiveRowsAndGllBesideGgaKeepsItsCycle) {
  const Rows gns = Convert(Log({
      "GNGNS,014035.00,4332.69262,S,17235.48549,E,RR,13,0.9,25.63,11.24,,,S",
      "GPGNS,014035.00,,,,,,07,,,,,,S",  // one system's satellites alone
      "GNGSA,A,3,05,12,,,,,,,,,,,1.50,0.80,1.27,1",
      "GPGST,014035.00,0.006,0.023,0.020,273.6,0.023,0.020,0.031",
      "GNGNS,014036.00,4332.69262,S,17235.48549,E,NN,00,,,,,,V",  // no fix: no row
  }));
  ASSERT_EQ(gns.rows.size(), 1u) << text;
  EXPECT_EQ(gns.At(0, "lat(deg)"), "-43.544877");
  EXPECT_EQ(gns.At(0, "gpsqual"), "4");  // R: RTK fixed, as GGA numbers it
  EXPECT_EQ(gns.At(0, "numsvsinfix"), "13");
  EXPECT_EQ(gns.At(0, "msl(m)"), "25.6");
  EXPECT_EQ(gns.At(0, "pdop"), "1.5");

  const Rows gll = Convert(Log({
      "GPGLL,4916.45,N,12311.12,W,225444,A,A",
      "GPGLL,4916.46,N,12311.13,W,225445,V,N",  // not valid: no row
      "GPGLL,4916.47,N,12311.14,W,225446,A,D",
  }));
  ASSERT_EQ(gll.rows.size(), 2u) << text;
  EXPECT_EQ(gll.At(1, "TimeOfDay(s)"), "82486.0");
  EXPECT_EQ(gll.At(1, "lon(deg)"), "-123.185667");

  const Rows beside = Convert(Log({
      "GPGGA,094815,5250.9714,N,00518.7347,E,1,12,0.60,-5,M,46.8,M,,",
      "GPGLL,5250.9714,N,00518.7347,E,094816,A,A",
      "GPGSA,A,3,07,08,,,,,,,,,,,1.10,0.60,0.90",
      "GPGGA,094816,5250.9705,N,00518.7323,E,1,12,0.60,-5,M,46.8,M,,",
  }));
  ASSERT_EQ(beside.rows.size(), 2u) << text;
  EXPECT_EQ(beside.At(0, "numused"), "2");
  EXPECT_EQ(beside.At(1, "numused"), "0");
}

TEST_F(AllSystems, SlotsBeyondTheTableAreCountedInViewButNotShown) {
  std::vector<std::string> log = {"GPGGA,000001,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"};
  for (int message = 1; message <= 4; ++message) {
    std::string gsv = "GPGSV,4,";
    gsv += std::to_string(message) + ",14";
    for (int i = 0; i < 4 && (message - 1) * 4 + i < 14; ++i) {
      gsv += "," + std::to_string((message - 1) * 4 + i + 1) + ",45,100,40";
    }
    log.push_back(gsv);
  }
  for (int slots : {12, 14, 64}) {
    runState.satelliteSlots = slots;
    const Rows table = Convert(Log(log));
    ASSERT_EQ(table.rows.size(), 1u) << text;
    EXPECT_EQ(table.header.size(), 24u + 5u * slots);
    EXPECT_EQ(table.At(0, "numsvsview"), "14");
    EXPECT_EQ(static_cast<int>(table.Slots(0).size()), std::min(14, slots)) << slots;
  }
}

TEST(SatelliteNumbering, EverySystemHasItsOwnRangeAndGpsIdsStay) {
  const struct {
    SatelliteSystem system;
    int id;
    int table;
  } cases[] = {
      {SatelliteSystem::kGps, 1, 1},          {SatelliteSystem::kGps, 48, 48},  // SBAS
      {SatelliteSystem::kGlonass, 1, 65},     {SatelliteSystem::kGlonass, 32, 96},
      {SatelliteSystem::kGlonass, 82, 82},    {SatelliteSystem::kGalileo, 36, 336},
      {SatelliteSystem::kGalileo, 133, 333},  {SatelliteSystem::kGalileo, 305, 305},
      {SatelliteSystem::kBeiDou, 1, 401},     {SatelliteSystem::kBeiDou, 63, 463},
      {SatelliteSystem::kBeiDou, 208, 408},   {SatelliteSystem::kBeiDou, 433, 433},
      {SatelliteSystem::kQzss, 1, 193},       {SatelliteSystem::kQzss, 195, 195},
      {SatelliteSystem::kNavic, 14, 514},     {SatelliteSystem::kSeveral, 82, 82},
      {SatelliteSystem::kSeveral, 214, 414},  {SatelliteSystem::kSeveral, 310, 310},
      {SatelliteSystem::kGalileo, 0, 0},
      // The edges of every range: an id that no form moves stays, unless it
      // would stand in another system's range.
      {SatelliteSystem::kGalileo, 1, 301},    {SatelliteSystem::kGalileo, 99, 399},
      {SatelliteSystem::kGalileo, 100, 100},  {SatelliteSystem::kGalileo, 101, 301},
      {SatelliteSystem::kGalileo, 199, 399},  {SatelliteSystem::kGalileo, 200, 0},
      {SatelliteSystem::kBeiDou, 200, 0},     {SatelliteSystem::kBeiDou, 201, 401},
      {SatelliteSystem::kBeiDou, 263, 463},   {SatelliteSystem::kBeiDou, 264, 464},
      {SatelliteSystem::kBeiDou, 300, 300},   {SatelliteSystem::kQzss, 10, 202},
      {SatelliteSystem::kQzss, 11, 0},        {SatelliteSystem::kQzss, 192, 192},
      {SatelliteSystem::kQzss, 193, 193},     {SatelliteSystem::kQzss, 202, 202},
      {SatelliteSystem::kQzss, 203, 203},     {SatelliteSystem::kGlonass, 33, 33},
      {SatelliteSystem::kGlonass, 64, 64},    {SatelliteSystem::kGlonass, 65, 65},
      {SatelliteSystem::kGlonass, 96, 96},    {SatelliteSystem::kGlonass, 97, 97},
      {SatelliteSystem::kGlonass, 301, 0},    {SatelliteSystem::kSeveral, 200, 200},
      {SatelliteSystem::kSeveral, 201, 401},  {SatelliteSystem::kSeveral, 263, 463},
      {SatelliteSystem::kSeveral, 264, 264},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TableSatelliteId(c.system, c.id), c.table)
        << static_cast<int>(c.system) << " " << c.id;
  }
  SatelliteSystem system;
  for (const auto& [talker, expected] : std::vector<std::pair<const char*, SatelliteSystem>>{
           {"GP", SatelliteSystem::kGps}, {"GN", SatelliteSystem::kSeveral},
           {"BD", SatelliteSystem::kBeiDou}, {"QZ", SatelliteSystem::kQzss}}) {
    ASSERT_TRUE(TalkerSystem(talker, system)) << talker;
    EXPECT_EQ(system, expected) << talker;
  }
  for (const char* other : {"PQ", "II", "gp", "G"}) EXPECT_FALSE(TalkerSystem(other, system)) << other;
}

}  // namespace
