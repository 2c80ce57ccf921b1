#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "convert/sentence_handlers.h"
#include "convert_test_support.h"

using namespace quorval;

namespace {

// Marks "the handler left this field as it was".
constexpr double kKeep = std::numeric_limits<double>::lowest();
constexpr int kKeepInt = std::numeric_limits<int>::min();

constexpr double kLat = 48.1173;
constexpr double kLon = 11 + 31.0 / 60;

// Values from an earlier epoch, so that a field that a handler leaves alone
// is told apart from one it set to zero.
void FillWithEarlierEpoch() {
  EpochRecord& r = epochRecord;
  r.timeOfDay = 1111;
  r.latitude = -22.5;
  r.longitude = -33.5;
  r.alt = 44;
  r.msl = 55;
  r.speedKnots = 66;
  r.heading = 77;
  r.GGAhdop = 88;
  r.gpsqual = 9;
  r.numsvsinfix = 10;
  r.day = 11;
  r.month = 12;
  r.year = 13;
}

void ExpectValue(const char* name, double actual, double expected, double earlier) {
  EXPECT_NEAR(actual, expected == kKeep ? earlier : expected, 1e-9) << name;
}
void ExpectValue(const char* name, int actual, int expected, int earlier) {
  EXPECT_EQ(actual, expected == kKeepInt ? earlier : expected) << name;
}

using FixSentences = convert_test::ConvertTest;

TEST_F(FixSentences, GgaFixesFillTimePositionQualityAndAltitudes) {
  const struct {
    const char* sentence;
    double timeOfDay, latitude, longitude;
    int gpsqual, numsvsinfix;
    double hdop, msl, alt;
  } cases[] = {
      {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",  //
       45319, kLat, kLon, 1, 8, 0.9, 545.4, 498.5},
      {"$GPGGA,123519,4807.038,S,01131.000,W,1,08,0.9,545.4,M,46.9,M,,*47",  //
       45319, -kLat, -kLon, 1, 8, 0.9, 545.4, 498.5},
      {"$GPGGA,123519,4807.038,s,01131.000,w,1,08,0.9,545.4,M,46.9,M,,*47",  //
       45319, kLat, kLon, 1, 8, 0.9, 545.4, 498.5},
      // Without checksum only the unused station id is missing.
      {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",  //
       45319, kLat, kLon, 1, 8, 0.9, 545.4, 498.5},
      // Cut after field 7: the fields read always convert the checksum text.
      {"$GPGGA,123519,4807.038,N,01131.000,E,1,08*47",  //
       45319, kLat, kLon, 1, 8, 47, 47, 0},
      {"$GPGGA,123519,,,,,,,,,,,,,*47", 45319, 0, 0, 0, 0, 0, 0, 0},
      {"$GPGGA", kKeep, kKeep, kKeep, 0, 0, 0, 0, 0},
      // A time cut mid-field is absent; its text still feeds fields 6 to 11.
      {"$GPGGA,1235", kKeep, kKeep, kKeep, 1235, 1235, 1235, 1235, 0},
      // A hemisphere cut off never negates: the sentence's own latitude stays north.
      {"$GPGGA,123519,4807.038,S", 45319, kLat, kKeep, 0, 0, 0, 0, 0},
      // 16-bit fields keep the low 16 bits of the 32-bit value.
      {"$GPGGA,,,,,,70000,-1,,-12.5,M,-0.5,M,,*00", 0, 0, 0, 4464, -1, 0, -12.5, -12.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sentence);
    FillWithEarlierEpoch();
    const EpochRecord before = epochRecord;
    HandleGga(convert_test::Captured(c.sentence));
    const EpochRecord& r = epochRecord;
    ExpectValue("timeOfDay", r.timeOfDay, c.timeOfDay, before.timeOfDay);
    ExpectValue("latitude", r.latitude, c.latitude, before.latitude);
    ExpectValue("longitude", r.longitude, c.longitude, before.longitude);
    ExpectValue("gpsqual", r.gpsqual, c.gpsqual, before.gpsqual);
    ExpectValue("numsvsinfix", r.numsvsinfix, c.numsvsinfix, before.numsvsinfix);
    ExpectValue("GGAhdop", r.GGAhdop, c.hdop, before.GGAhdop);
    ExpectValue("msl", r.msl, c.msl, before.msl);
    ExpectValue("alt", r.alt, c.alt, before.alt);
    EXPECT_EQ(r.speedKnots, before.speedKnots);
    EXPECT_EQ(r.day, before.day);
  }
}

TEST_F(FixSentences, RmcFillsTimePositionVelocityAndDate) {
  const struct {
    const char* sentence;
    double timeOfDay, latitude, longitude, speed, heading;
    int day, month, year;
  } cases[] = {
      {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",  //
       45319, kLat, kLon, 22.4, 84.4, 23, 3, 94},
      // No fix (status V) is stored all the same.
      {"$GPRMC,123519,V,4807.038,S,01131.000,W,022.4,084.4,230394,003.1,W*6A",  //
       45319, -kLat, -kLon, 22.4, 84.4, 23, 3, 94},
      {"$GPRMC,000000,A,,,,,,,010100,,*00", 0, 0, 0, 0, 0, 1, 1, 0},
      {"$GPRMC,000000,A,,,,,,,,,*00", 0, 0, 0, 0, 0, 0, 0, 0},
      // Every RMC field is read only if present: a cut keeps the rest.
      {"$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394",  //
       45319, kLat, kLon, 22.4, 84.4, kKeepInt, kKeepInt, kKeepInt},
      {"$GPRMC,123519*00", 45319, kKeep, kKeep, kKeep, kKeep, kKeepInt, kKeepInt, kKeepInt},
      // Date parts keep the sign of the date; a huge date saturates first.
      {"$GPRMC,,,,,,,,,-230394,,*00", 0, 0, 0, 0, 0, -23, -3, -94},
      {"$GPRMC,,,,,,,,,99999999999,,*00", 0, 0, 0, 0, 0, 48, 36, 47},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sentence);
    FillWithEarlierEpoch();
    const EpochRecord before = epochRecord;
    HandleRmc(convert_test::Captured(c.sentence));
    const EpochRecord& r = epochRecord;
    ExpectValue("timeOfDay", r.timeOfDay, c.timeOfDay, before.timeOfDay);
    ExpectValue("latitude", r.latitude, c.latitude, before.latitude);
    ExpectValue("longitude", r.longitude, c.longitude, before.longitude);
    ExpectValue("speedKnots", r.speedKnots, c.speed, before.speedKnots);
    ExpectValue("heading", r.heading, c.heading, before.heading);
    ExpectValue("day", r.day, c.day, before.day);
    ExpectValue("month", r.month, c.month, before.month);
    ExpectValue("year", r.year, c.year, before.year);
    EXPECT_EQ(r.msl, before.msl);
    EXPECT_EQ(r.gpsqual, before.gpsqual);
  }
}

TEST_F(FixSentences, VtgSetsCourseAndSpeedOnly) {
  const struct {
    const char* sentence;
    double heading, speed;
  } cases[] = {
      {"$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48", 54.7, 5.5},
      {"$GPVTG,,T,034.4,M,005.5,N,010.2,K*48", 0, 5.5},
      {"$GPVTG,054.7,T,034.4,M,005.5", 54.7, kKeep},
      {"$GPVTG", kKeep, kKeep},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sentence);
    FillWithEarlierEpoch();
    EpochRecord expected = epochRecord;
    if (c.heading != kKeep) expected.heading = c.heading;
    if (c.speed != kKeep) expected.speedKnots = c.speed;
    HandleVtg(convert_test::Captured(c.sentence));
    EXPECT_DOUBLE_EQ(epochRecord.heading, expected.heading);
    EXPECT_DOUBLE_EQ(epochRecord.speedKnots, expected.speedKnots);
    expected.heading = epochRecord.heading;
    expected.speedKnots = epochRecord.speedKnots;
    EXPECT_EQ(std::memcmp(&epochRecord, &expected, sizeof expected), 0);
  }
}

TEST_F(FixSentences, ZdaIsReadOverWithoutTouchingTheRecord) {
  FillWithEarlierEpoch();
  const EpochRecord before = epochRecord;
  HandleZda(convert_test::Captured("$GPZDA,201530.00,04,07,2002,00,00*60"));
  HandleZda(convert_test::Captured("$GPZDA"));
  EXPECT_EQ(std::memcmp(&epochRecord, &before, sizeof before), 0);
}

}  // namespace
