// The one-pass reading of a cycle's sentences gives what the general
// reading gives, field by field, or declines the sentence.
#include "convert/receiver_cycle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using namespace quorval;

namespace {

bool SameReal(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }  // -0 is not 0

// Each field by what its kind gives: a real, an integer, a letter; a field
// passed over gives its real and its letter when asked.
template <typename Plain>
void ExpectAsGeneral(const std::string& sentence, bool onePass) {
  SCOPED_TRACE(sentence);
  char captured[256] = {};  // zero-terminated, with read-ahead after it
  std::memcpy(captured, sentence.data(), sentence.size());
  Plain plain;
  ASSERT_EQ(plain.Read(captured), onePass);
  if (!onePass) return;
  const DataFields general(captured);
  for (int n = 1; n <= Plain::kCount; ++n) {
    SCOPED_TRACE(n);
    const plain::Kind kind = Plain::kKinds[n - 1];
    EXPECT_EQ(plain.Has(n), general.Has(n));
    EXPECT_EQ(plain.Length(n), general.Length(n));
    if (kind != plain::Kind::kInteger && kind != plain::Kind::kLetter) {
      EXPECT_TRUE(SameReal(plain.Real(n), general.Real(n))) << plain.Real(n) << " " << general.Real(n);
    }
    if (kind == plain::Kind::kTime || kind == plain::Kind::kNone) {
      EXPECT_EQ(plain.IsTime(n), general.IsTime(n));
    }
    if (kind == plain::Kind::kLatitude || kind == plain::Kind::kNone) {
      EXPECT_EQ(plain.IsAngle(n, plain::kLatitudeDigits), general.IsAngle(n, plain::kLatitudeDigits));
    }
    if (kind == plain::Kind::kLongitude || kind == plain::Kind::kNone) {
      EXPECT_EQ(plain.IsAngle(n, plain::kLongitudeDigits), general.IsAngle(n, plain::kLongitudeDigits));
    }
    if (kind == plain::Kind::kLetter || kind == plain::Kind::kNone) {
      EXPECT_EQ(plain.Letter(n), general.Letter(n));
    }
    if (kind == plain::Kind::kInteger) {
      EXPECT_EQ(plain.Int(n), general.Int(n));
    }
  }
}

TEST(PlainDataFields, ReadsWhatTheGeneralRulesRead) {
  // GGA: every field a kind of its own, empty ones, a fix without geoid
  // separation, '-' values, and no checksum after a closed last field.
  ExpectAsGeneral<PlainGga>("$GPGGA,213000.00,5128.6320,N,00000.7380,W,1,11,0.8,46.0,M,46.5,M,,*46", true);
  ExpectAsGeneral<PlainGga>("$GNGGA,001122.5,,,,,0,00,99.99,,,,,,*48", true);
  ExpectAsGeneral<PlainGga>("$GPGGA,120000,3345.1,S,15112.2,E,2,5,1.2,-12.5,M,-0.0,M,", true);
  ExpectAsGeneral<PlainGga>("$GPGGA,120000,3345.1,S,15112.2,E,2,5,1.2,-12.5,M,-000,M*00", true);
  // Fields that end early: after the '*' and after a last empty field
  // there are none; a last field without a delimiter is the general rules'.
  ExpectAsGeneral<PlainGga>("$GPGGA,120000,3345.1,S,15112.2,E,2,5*7A", true);
  ExpectAsGeneral<PlainGga>("$GPGGA,120000,3345.1,S,15112.2,E,2,5,", true);
  ExpectAsGeneral<PlainGga>("$GPGGA,120000,3345.1,S,15112.2,E,2,5", false);
  ExpectAsGeneral<PlainGga>("$GPGGA", false);
  // Not plain: an exponent, white space, a longer tag.
  ExpectAsGeneral<PlainGga>("$GPGGA,1.2e5,3345.1,S,15112.2,E,2,5,1.2,10,M,0,M,,*00", false);
  ExpectAsGeneral<PlainGga>("$GPGGA,120000, 3345.1,S,15112.2,E,2,5,1.2,10,M,0,M,,*00", false);
  ExpectAsGeneral<PlainGga>("$GPGGAX,120000,3345.1,S,15112.2,E,2,5,1.2,10,M,0,M,,*00", false);

  // A time or position that is not a number: the general rules find none.
  ExpectAsGeneral<PlainGga>("$GPGGA,|19322|1.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", false);
  ExpectAsGeneral<PlainGga>("$GPGGA,12351,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", false);
  ExpectAsGeneral<PlainGga>("$GPGGA,123519.,48070.38,N,-1131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", false);
  ExpectAsGeneral<PlainGga>("$GPGGA,123519.,4807.,N,1131,E,1,08,0.9,545.4,M,46.9,M,,*47", true);

  // RMC: the position is passed over and read when asked for, plain or not.
  ExpectAsGeneral<PlainRmc>("$GPRMC,213000.00,A,5128.6320,N,00000.7380,W,000.0,040.0,280224,1.1,W,A*3A", true);
  ExpectAsGeneral<PlainRmc>("$GNRMC,213000.00,V,,,,,,,,,,N*5F", true);
  ExpectAsGeneral<PlainRmc>("$GPRMC,213000.00,A,+5128.63,n,1e3,w,1.5,2.5,010100*00", true);
  ExpectAsGeneral<PlainRmc>("$GPRMC,213000.00,A,5128.6320,N*00", true);

  // GSA: twelve ids, the DOPs when asked for, the system id of NMEA 4.10
  // or a TDOP where it stands (not one pass).
  const std::string gsa = "$GNGSA,A,3,03,04,08,11,12,17,18,20,22,25,29,,1.4,0.8,1.2";
  ExpectAsGeneral<PlainGsa>(gsa + "*31", true);
  ExpectAsGeneral<PlainGsa>(gsa + ",1*31", true);
  ExpectAsGeneral<PlainGsa>(gsa + ",3.3*31", false);
  ExpectAsGeneral<PlainGsa>("$GNGSA,A,1,,,,,,,,,,,,,,,,*00", true);
  // More than twelve ids: the DOPs stand elsewhere, the general rules read it.
  ExpectAsGeneral<PlainGsa>(gsa + ",01,1.4,0.8,1.2,1*31", false);

  ExpectAsGeneral<PlainVtg>("$GPVTG,040.0,T,041.1,M,000.0,N,000.0,K,A*23", true);
  ExpectAsGeneral<PlainVtg>("$GPVTG,,T,,M,,N,,K,N*2C", true);
  ExpectAsGeneral<PlainZda>("$GPZDA,213000.00,28,02,2024,00,00*6A", true);
}

// The satellites a cycle had are none of the next one's, also when the
// cycle numbers start over.
TEST(ReceiverCycle, ANewCycleKnowsNoSatelliteOfTheLastOne) {
  for (uint32_t before : {0u, kCycleNumbers - 2}) {
    SCOPED_TRACE(before);
    auto cycle = std::make_unique<ReceiverCycle>();
    cycle->number = before;
    ClearCycle(*cycle);
    char gsv[256] = "$GPGSV,1,1,02,05,40,100,30,07,20,200,25*00";
    char gsa[256] = "$GPGSA,A,3,05,07,,,,,,,,,,,1.0,1.0,1.0*00";
    ASSERT_TRUE(AddPlainGsv(*cycle, gsv, SatelliteSystem::kGps));
    AddGsa(*cycle, DataFields(gsa), SatelliteSystem::kGps);
    ClearCycle(*cycle);
    std::strcpy(gsv, "$GPGSV,1,1,01,07,21,201,26*00");
    ASSERT_TRUE(AddPlainGsv(*cycle, gsv, SatelliteSystem::kGps));
    EpochRecord row{};
    int filled = 0;
    const SatelliteEntry* slots = FillRow(*cycle, 0.0, row, filled);
    ASSERT_EQ(filled, 1);
    EXPECT_EQ(slots[0].svid, 7);
    EXPECT_EQ(slots[0].elev, 21);
    EXPECT_EQ(slots[0].used, 0);
    EXPECT_EQ(row.usedSvs.numused, 0);
  }
}

}  // namespace
