#include "output/csv_writer.h"
#include "text/csv_columns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "convert/numeric_fields.h"
#include "output/dms.h"
#include "reference/reference_converter.h"
#include "state/epoch_record.h"
#include "layer/windowing.h"
#include "state/run_state.h"
#include "support/temp_folder.h"

using namespace quorval;

namespace {

// Column positions in a row, found by their header names.
const int kIndex = CsvColumnIndex("index"), kTime = CsvColumnIndex("TimeOfDay(s)"),
          kLongitude = CsvColumnIndex("Longitude"), kLatitude = CsvColumnIndex("Latitude"),
          kLonDeg = CsvColumnIndex("lon(deg)"), kLatDeg = CsvColumnIndex("lat(deg)"),
          kAlt = CsvColumnIndex("alt(m)"), kSpeed = CsvColumnIndex("spd(m/s)"),
          kHeading = CsvColumnIndex("heading(deg)"), kEast = CsvColumnIndex("ve(m/s)"),
          kNorth = CsvColumnIndex("vn(m/s)"), kGgaHdop = CsvColumnIndex("GGAhdop"),
          kMode = CsvColumnIndex("sGSAMode"), kGpsQual = CsvColumnIndex("gpsqual");
int UsedColumn(int slot) {
  char name[16];
  std::snprintf(name, sizeof name, "used%02d", slot);
  return CsvColumnIndex(name);
}

class CsvWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEpochRecord();
    ResetRunState();
  }
  void TearDown() override { InstallBackend(nullptr); }

  static std::string Row() {
    static char text[kMaxCsvRowText];
    const char* end = FormatCsvRow(text);
    return std::string(text, static_cast<size_t>(end - text));
  }

  // The values of a line that ends in ",\r\n"; fails the test otherwise.
  static std::vector<std::string> Values(const std::string& line) {
    std::vector<std::string> values;
    EXPECT_TRUE(line.ends_with(",\r\n")) << line;
    if (!line.ends_with(",\r\n")) return values;
    size_t start = 0;
    for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1) {
      values.push_back(line.substr(start, comma - start));
    }
    return values;
  }

  // What the writer put on a stream.
  template <typename Write>
  static std::string Written(Write write) {
    FILE* stream = TempStream();
    write(stream);
    std::string bytes(static_cast<size_t>(std::ftell(stream)), '\0');
    std::rewind(stream);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), stream), bytes.size());
    std::fclose(stream);
    return bytes;
  }
};

TEST_F(CsvWriter, HeaderNamesTheEightyFourColumnsInOrderAndEndsInCrLf) {
  const std::string header = CsvHeaderText();
  const std::string named =
      "index,TimeOfDay(s),Longitude,Latitude,lon(deg),lat(deg),alt(m),msl(m),spd(m/s),"
      "heading(deg),ve(m/s),vn(m/s),GGAhdop,pdop,hdop,vdop,sGSAMode,year,month,day,"
      "numsvsinfix,numused,numsvsview,gpsqual,";
  ASSERT_TRUE(header.starts_with(named + "svid00,azim00,elev00,sgnl00,used00,svid01,azim01,"));
  EXPECT_TRUE(header.ends_with(",svid11,azim11,elev11,sgnl11,used11,\r\n"));
  const std::vector<std::string> columns = Values(header);
  ASSERT_EQ(columns.size(), 84u);
  EXPECT_EQ(header.find_first_of(" \"\n"), header.size() - 1);  // only the final LF
  EXPECT_EQ(Written(WriteCsvHeader), header);
  // Rows are addressed by the header's names.
  for (int i = 0; i < 84; ++i) EXPECT_EQ(CsvColumnIndex(columns[i].c_str()), i) << columns[i];
  for (const char* name : {"svid12", "elev7", "elev070", "used-1", "Index", "", "lat"}) {
    EXPECT_EQ(CsvColumnIndex(name), -1) << name;
  }
}

TEST_F(CsvWriter, AllZeroRecordGivesTheRowOfEightyFourZeroValues) {
  EpochCounter = 1;
  std::string expected =
      "1,0.0,0:00:00.00E,0:00:00.00N,0.000000,0.000000,0.0,0.0,0.000,0.000,0.000,0.000,"
      "0.0,0.0,0.0,0.0,";
  for (int i = 0; i < 68; ++i) expected += "0,";
  EXPECT_EQ(Row(), expected + "\r\n");
}

struct ColumnCase {
  const char* scenario;
  void (*set)(EpochRecord&);
  int column;
  const char* text;
};

TEST_F(CsvWriter, ColumnTextsOfPositionsSpeedsAndVelocities) {
  const ColumnCase cases[] = {
      {"10.1 east, truncated", [](EpochRecord& r) { r.longitude = 10.1; }, kLongitude,
       "10:05:59.99E"},
      {"Sydney latitude", [](EpochRecord& r) { r.latitude = -33.8568; }, kLatitude,
       "33:51:24.47S"},
      {"48.1173 north", [](EpochRecord& r) { r.latitude = 48.1173; }, kLatitude, "48:07:02.28N"},
      {"latitude decoded from 4807.038", [](EpochRecord& r) { r.latitude = NmeaToDegrees(4807.038); },
       kLatitude, "48:07:02.27N"},
      {"11 degrees 31 minutes", [](EpochRecord& r) { r.longitude = 11.516666666666667; },
       kLongitude, "11:31:00.00E"},
      {"half a degree south", [](EpochRecord& r) { r.latitude = -0.5; }, kLatitude, "0:30:00.00S"},
      {"half a degree west", [](EpochRecord& r) { r.longitude = -0.5; }, kLongitude,
       "0:30:00.00W"},
      {"minus zero longitude", [](EpochRecord& r) { r.longitude = -0.0; }, kLongitude,
       "0:00:00.00E"},
      {"179.99 west", [](EpochRecord& r) { r.longitude = -179.999999; }, kLongitude,
       "179:59:59.99W"},
      {"minus zero in degrees", [](EpochRecord& r) { r.longitude = -0.0; }, kLonDeg, "-0.000000"},
      {"six decimals of latitude", [](EpochRecord& r) { r.latitude = -33.8568; }, kLatDeg,
       "-33.856800"},
      {"one knot", [](EpochRecord& r) { r.speedKnots = 1; }, kSpeed, "0.514"},
      {"22.4 knots", [](EpochRecord& r) { r.speedKnots = 22.4; }, kSpeed, "11.524"},
      {"course 84.4 east", [](EpochRecord& r) { r.speedKnots = 22.4, r.heading = 84.4; }, kEast,
       "11.469"},
      {"course 84.4 north", [](EpochRecord& r) { r.speedKnots = 22.4, r.heading = 84.4; }, kNorth,
       "1.125"},
      {"due south east", [](EpochRecord& r) { r.speedKnots = 10, r.heading = 180; }, kEast,
       "-0.000"},
      {"due south north", [](EpochRecord& r) { r.speedKnots = 10, r.heading = 180; }, kNorth,
       "-5.144"},
      {"due west east", [](EpochRecord& r) { r.speedKnots = 10, r.heading = 270; }, kEast,
       "-5.144"},
      {"due west north", [](EpochRecord& r) { r.speedKnots = 10, r.heading = 270; }, kNorth,
       "0.000"},
      {"due east north", [](EpochRecord& r) { r.speedKnots = 10, r.heading = 90; }, kNorth,
       "-0.000"},
      {"heading three decimals", [](EpochRecord& r) { r.heading = 84.4; }, kHeading, "84.400"},
      {"quarter second ties up", [](EpochRecord& r) { r.timeOfDay = 45319.25; }, kTime,
       "45319.3"},
      {"GGA hdop tie", [](EpochRecord& r) { r.GGAhdop = 1.25; }, kGgaHdop, "1.3"},
      {"negative altitude tie", [](EpochRecord& r) { r.alt = -1.25; }, kAlt, "-1.3"},
  };
  for (const ColumnCase& c : cases) {
    ResetEpochRecord();
    c.set(epochRecord);
    const std::vector<std::string> values = Values(Row());
    ASSERT_EQ(values.size(), 84u) << c.scenario;
    EXPECT_EQ(values[c.column], c.text) << c.scenario;
  }
}

TEST_F(CsvWriter, IntegerColumnsPrintSignedSixteenBitValuesInRecordOrder) {
  EpochRecord& r = epochRecord;
  EpochCounter = std::numeric_limits<int32_t>::max();
  r.sGSAMode = 3, r.year = 94, r.month = 3, r.day = 23, r.numsvsinfix = -32768;
  r.usedSvs.numused = 12, r.numsvsview = 32767, r.gpsqual = -1;
  r.satellites[0] = {1, 2, 3, 4, 0};
  r.satellites[11] = {-5, 359, -90, 99, 0};
  const std::vector<std::string> values = Values(Row());
  ASSERT_EQ(values.size(), 84u);
  EXPECT_EQ(values[kIndex], "2147483647");
  const std::vector<std::string> named(values.begin() + kMode, values.begin() + kGpsQual + 1);
  EXPECT_EQ(named, (std::vector<std::string>{"3", "94", "3", "23", "-32768", "12", "32767", "-1"}));
  const std::vector<std::string> first(values.begin() + CsvColumnIndex("svid00"),
                                       values.begin() + CsvColumnIndex("svid01"));
  EXPECT_EQ(first, (std::vector<std::string>{"1", "2", "3", "4", "0"}));
  const std::vector<std::string> last(values.end() - 5, values.end());
  EXPECT_EQ(last, (std::vector<std::string>{"-5", "359", "-90", "99", "0"}));
}

struct MarkingCase {
  const char* scenario;
  void (*set)(EpochRecord&);
  int slot;
  int16_t used;  // expected flag after the row
};

TEST_F(CsvWriter, RowMarksSatellitesThatAnyOfTheTwelveUsedIdsNames) {
  const MarkingCase cases[] = {
      {"listed by the latest GSA",
       [](EpochRecord& r) { r.satellites[4].svid = 17, r.usedSvs = {{17}, 1}; }, 4, 1},
      {"left in ids by an earlier GSA beyond numused",
       [](EpochRecord& r) { r.satellites[3].svid = 7, r.usedSvs = {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}, 0}; },
       3, 1},
      {"no longer listed stays marked",
       [](EpochRecord& r) { r.satellites[0] = {5, 0, 0, 0, 1}, r.usedSvs = {{9}, 1}; }, 0, 1},
      {"not listed", [](EpochRecord& r) { r.satellites[1].svid = 8, r.usedSvs = {{9}, 1}; }, 1, 0},
      {"empty slot and empty ids", [](EpochRecord& r) { r.usedSvs = {{0}, 0}; }, 2, 0},
      {"last printed slot", [](EpochRecord& r) { r.satellites[11].svid = 32, r.usedSvs = {{1, 32}, 2}; },
       11, 1},
      {"thirteenth satellite is never marked",
       [](EpochRecord& r) { r.satellites[12].svid = 9, r.usedSvs = {{9}, 1}; }, 12, 0},
      {"slots past the thirteenth neither",
       [](EpochRecord& r) { r.satellites[31].svid = 9, r.usedSvs = {{9}, 1}; }, 31, 0},
  };
  for (const MarkingCase& c : cases) {
    ResetEpochRecord();
    c.set(epochRecord);
    const std::vector<std::string> values = Values(Written(WriteCsvRow));
    ASSERT_EQ(values.size(), 84u) << c.scenario;
    EXPECT_EQ(epochRecord.satellites[c.slot].used, c.used) << c.scenario;
    if (c.slot < 12) {
      EXPECT_EQ(values[UsedColumn(c.slot)], std::to_string(c.used)) << c.scenario;
    }
  }
}

TEST_F(CsvWriter, ThirteenthSatelliteIsNeverPrinted) {
  epochRecord.satellites[12] = {31111, 22222, 23333, 24444, 1};
  EXPECT_EQ(Row().find("2"), std::string::npos);
}

TEST_F(CsvWriter, OtherSlotCountsNameAndPrintThatManySlotsAndMarkOnlyThePrintedOnes) {
  for (int slots : {1, 13, 64}) {
    ResetEpochRecord();
    runState.satelliteSlots = slots;
    const std::vector<std::string> header = Values(CsvHeaderText());
    ASSERT_EQ(header.size(), 24u + 5u * slots) << slots;
    char last[16];
    std::snprintf(last, sizeof last, "used%02d", slots - 1);
    EXPECT_EQ(header.back(), last) << slots;
    EXPECT_EQ(CsvColumnIndex(last), static_cast<int>(header.size()) - 1) << slots;
    EXPECT_EQ(UsedColumn(slots), -1) << slots;

    // The thirteenth satellite shows, and is marked, once the table has its slot.
    epochRecord.satellites[12] = {9, 120, 33, 44, 0};
    epochRecord.satellites[31] = {-1, -1, -1, -1, -1};  // the record's last slot
    epochRecord.usedSvs = {{9}, 1};
    const std::vector<std::string> row = Values(Written(WriteCsvRow));
    ASSERT_EQ(row.size(), header.size()) << slots;
    EXPECT_EQ(epochRecord.satellites[12].used, slots > 12 ? 1 : 0) << slots;
    if (slots > 12) {
      EXPECT_EQ(std::vector(row.begin() + UsedColumn(11) + 1, row.begin() + UsedColumn(12) + 1),
                (std::vector<std::string>{"9", "120", "33", "44", "1"}));
    }
    // Slots the record does not have are empty.
    for (int slot = 32; slot < slots; ++slot) EXPECT_EQ(row[UsedColumn(slot) - 4], "0") << slot;
  }
}

TEST_F(CsvWriter, RowOnTheStreamIsTheMarkedRecordWithCrLf) {
  EpochCounter = 7;
  epochRecord.timeOfDay = 45319.0;
  epochRecord.latitude = 48.1173;
  epochRecord.satellites[2] = {12, 45, 30, 41, 0};
  epochRecord.usedSvs = {{12}, 1};
  const std::string written = Written(WriteCsvRow);
  EXPECT_EQ(written, Row());  // the record as the writer left it, flag set
  EXPECT_EQ(Values(written)[UsedColumn(2)], "1");
  EXPECT_TRUE(written.starts_with("7,45319.0,0:00:00.00E,48:07:02.28N,"));
}

TEST_F(CsvWriter, ImplausibleValuesStillGiveEightyFourColumnsWithinTheRowBuffer) {
  const double extremes[] = {-std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::quiet_NaN(), 1e300, -4e9};
  for (double value : extremes) {
    ResetEpochRecord();
    EpochRecord& r = epochRecord;
    for (double* field : {&r.timeOfDay, &r.longitude, &r.latitude, &r.alt, &r.msl, &r.speedKnots,
                          &r.heading, &r.GGAhdop, &r.pdop, &r.hdop, &r.vdop}) {
      *field = value;
    }
    EpochCounter = std::numeric_limits<int32_t>::min();
    r.year = r.month = r.day = r.sGSAMode = std::numeric_limits<int16_t>::min();
    for (SatelliteEntry& s : r.satellites) s = {-32768, -32768, -32768, -32768, -32768};
    for (int slots : {12, 64}) {
      runState.satelliteSlots = slots;
      const std::string row = Row();
      EXPECT_LT(row.size(), static_cast<size_t>(kMaxCsvRowText)) << value;
      EXPECT_EQ(Values(row).size(), 24u + 5u * slots) << value;
    }
  }
}

// The row as the column table describes it, written out plainly: every
// column's value looked up by its source and printed by its format, with
// the C library and the reference's exact fixed-point rounding.
std::string TableRow(const EpochRecord& r, int32_t counter) {
  const double speed = r.speedKnots * 1852 / 3600;
  const double course = r.heading * 3.1415926535898 / 180;
  const auto real = [&](ColumnSource source) {
    switch (source) {
      case ColumnSource::kTimeOfDay: return r.timeOfDay;
      case ColumnSource::kLongitude: return r.longitude;
      case ColumnSource::kLatitude: return r.latitude;
      case ColumnSource::kAlt: return r.alt;
      case ColumnSource::kMsl: return r.msl;
      case ColumnSource::kSpeed: return speed;
      case ColumnSource::kHeading: return r.heading;
      case ColumnSource::kEastVelocity: return std::sin(course) * speed;
      case ColumnSource::kNorthVelocity: return std::cos(course) * speed;
      case ColumnSource::kGgaHdop: return r.GGAhdop;
      case ColumnSource::kPdop: return r.pdop;
      case ColumnSource::kHdop: return r.hdop;
      case ColumnSource::kVdop: return r.vdop;
      default: ADD_FAILURE() << "no real column"; return 0.0;
    }
  };
  const auto integer = [&](ColumnSource source, const SatelliteEntry& s) -> int {
    switch (source) {
      case ColumnSource::kEpochCounter: return counter;
      case ColumnSource::kFixMode: return r.sGSAMode;
      case ColumnSource::kYear: return r.year;
      case ColumnSource::kMonth: return r.month;
      case ColumnSource::kDay: return r.day;
      case ColumnSource::kSatellitesInFix: return r.numsvsinfix;
      case ColumnSource::kSatellitesUsed: return r.usedSvs.numused;
      case ColumnSource::kSatellitesInView: return r.numsvsview;
      case ColumnSource::kFixQuality: return r.gpsqual;
      case ColumnSource::kSatelliteId: return s.svid;
      case ColumnSource::kAzimuth: return s.azim;
      case ColumnSource::kElevation: return s.elev;
      case ColumnSource::kSignal: return s.sgnl;
      case ColumnSource::kUsedInFix: return s.used;
      default: ADD_FAILURE() << "no integer column"; return 0;
    }
  };
  std::string row;
  char text[64];
  for (const CsvColumn& c : kEpochColumns) {
    if (c.format == ColumnFormat::kFixed) {
      row += reference::FixedText(real(c.source), c.decimals) + ",";
      continue;
    }
    if (c.format == ColumnFormat::kInteger) {
      std::snprintf(text, sizeof text, "%d,", integer(c.source, r.satellites[0]));
    } else {
      const DmsParts d = SplitDms(real(c.source));
      const char letter = c.format == ColumnFormat::kDmsEastWest ? (d.negative ? 'W' : 'E')
                                                                 : (d.negative ? 'S' : 'N');
      std::snprintf(text, sizeof text, "%d:%02d:%02d.%02d%c,", d.degrees, d.minutes, d.seconds,
                    d.hundredths, letter);
    }
    row += text;
  }
  for (int slot = 0; slot < kDefaultSatelliteSlots; ++slot) {
    for (const CsvColumn& c : kSatelliteColumns) {
      std::snprintf(text, sizeof text, "%d,", integer(c.source, r.satellites[slot]));
      row += text;
    }
  }
  return row + "\r\n";
}

TEST_F(CsvWriter, EveryRowEqualsTheColumnTableWrittenOutPlainly) {
  // Rows one after the other, each changing a few values of the one before
  // and keeping the rest, as epochs do: texts kept from a row must only
  // ever stand for the value they were written for.
  std::mt19937_64 random(1852);
  const double reals[] = {0.0, -0.0, 1.25, -1.25, 45319.25, 0.05, 46.0, -0.5, 48.1173, 10.1,
                          -179.999999, 11.516666666666667, 1e300, -4e9, 359.9995, 0.0004999};
  const int16_t integers[] = {0, 1, 9, 10, 99, 100, 359, 999, 1000, -1, -32768, 32767};
  const auto some = [&](const auto& pool) { return pool[random() % std::size(pool)]; };
  const auto anyReal = [&] {
    return random() % 2 ? some(reals) : std::ldexp(static_cast<double>(random() >> 11), -40) - 4e3;
  };
  EpochRecord& r = epochRecord;
  for (int row = 0; row < 3000; ++row) {
    for (double* field : {&r.timeOfDay, &r.longitude, &r.latitude, &r.alt, &r.msl, &r.speedKnots,
                          &r.heading, &r.GGAhdop, &r.pdop, &r.hdop, &r.vdop}) {
      if (random() % 3 == 0) *field = anyReal();
    }
    for (int16_t* field : {&r.sGSAMode, &r.year, &r.month, &r.day, &r.numsvsinfix,
                           &r.usedSvs.numused, &r.numsvsview, &r.gpsqual}) {
      if (random() % 4 == 0) *field = some(integers);
    }
    SatelliteEntry& s = r.satellites[random() % kDefaultSatelliteSlots];
    s = {some(integers), some(integers), some(integers), some(integers), some(integers)};
    EpochCounter = random() % 5 ? row : some(integers) * 65536;
    ASSERT_EQ(Row(), TableRow(r, EpochCounter)) << "row " << row;
  }
}

}  // namespace
