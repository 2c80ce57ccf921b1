// The decoder: each sentence's fields as its table names them, read in one
// pass as the general rules read them (or declined); and the receiver cycle
// the decoded sentences make.
#include "convert/receiver_cycle.h"
#include "convert/sentence_decoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "support/same_decoding.h"

using namespace quorval;

namespace {

// A capture of the sentence: zero-terminated, with read-ahead after it.
struct Capture {
  char text[256] = {};
  explicit Capture(const std::string& sentence) { std::memcpy(text, sentence.data(), sentence.size()); }
};

template <const auto& layout>
void ExpectAsGeneral(const std::string& sentence, bool onePass) {
  SCOPED_TRACE(sentence);
  const Capture capture(sentence);
  bool read = false;
  EXPECT_EQ(test_support::OnePassDifference<layout>(capture.text, read), "");
  EXPECT_EQ(read, onePass);
}

TEST(SentenceDecoder, ReadsInOnePassWhatTheGeneralRulesRead) {
  // GGA: every field a kind of its own, empty ones, a fix without geoid
  // separation, '-' values, and no checksum after a closed last field.
  ExpectAsGeneral<kGgaLayout>("$GPGGA,213000.00,5128.6320,N,00000.7380,W,1,11,0.8,46.0,M,46.5,M,,*46", true);
  ExpectAsGeneral<kGgaLayout>("$GNGGA,001122.5,,,,,0,00,99.99,,,,,,*48", true);
  ExpectAsGeneral<kGgaLayout>("$GPGGA,120000,3345.1,S,15112.2,E,2,5,1.2,-12.5,M,-0.0,M,", true);
  ExpectAsGeneral<kGgaLayout>("$GPGGA,120000,3345.1,S,15112.2,E,2,5,1.2,-12.5,M,-000,M*00", true);
  // Fields that end early: after the '*' and after a last empty field
  // there are none; a last field without a delimiter is the general rules'.
  ExpectAsGeneral<kGgaLayout>("$GPGGA,120000,3345.1,S,15112.2,E,2,5*7A", true);
  ExpectAsGeneral<kGgaLayout>("$GPGGA,120000,3345.1,S,15112.2,E,2,5,", true);
  ExpectAsGeneral<kGgaLayout>("$GPGGA,120000,3345.1,S,15112.2,E,2,5", false);
  ExpectAsGeneral<kGgaLayout>("$GPGGA", false);
  // Not plain: an exponent, white space, a longer tag.
  ExpectAsGeneral<kGgaLayout>("$GPGGA,1.2e5,3345.1,S,15112.2,E,2,5,1.2,10,M,0,M,,*00", false);
  ExpectAsGeneral<kGgaLayout>("$GPGGA,120000, 3345.1,S,15112.2,E,2,5,1.2,10,M,0,M,,*00", false);
  ExpectAsGeneral<kGgaLayout>("$GPGGAX,120000,3345.1,S,15112.2,E,2,5,1.2,10,M,0,M,,*00", false);

  // A time or position that is not a number: the general rules find none.
  ExpectAsGeneral<kGgaLayout>("$GPGGA,|19322|1.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", false);
  ExpectAsGeneral<kGgaLayout>("$GPGGA,12351,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", false);
  ExpectAsGeneral<kGgaLayout>("$GPGGA,123519.,48070.38,N,-1131.000,E,1,08,0.9,545.4,M,46.9,M,,*47", false);
  ExpectAsGeneral<kGgaLayout>("$GPGGA,123519.,4807.,N,1131,E,1,08,0.9,545.4,M,46.9,M,,*47", true);

  // RMC: a signed or exponent position is the general rules' to read.
  ExpectAsGeneral<kRmcLayout>("$GPRMC,213000.00,A,5128.6320,N,00000.7380,W,000.0,040.0,280224,1.1,W,A*3A", true);
  ExpectAsGeneral<kRmcLayout>("$GNRMC,213000.00,V,,,,,,,,,,N*5F", true);
  ExpectAsGeneral<kRmcLayout>("$GPRMC,213000.00,A,+5128.63,n,1e3,w,1.5,2.5,010100*00", false);
  ExpectAsGeneral<kRmcLayout>("$GPRMC,213000.00,A,5128.6320,N*00", true);

  // GSA: twelve ids, the DOPs, the system id of NMEA 4.10 or a TDOP where
  // it stands (not an integer: the general rules read it).
  const std::string gsa = "$GNGSA,A,3,03,04,08,11,12,17,18,20,22,25,29,,1.4,0.8,1.2";
  ExpectAsGeneral<kGsaLayout>(gsa + "*31", true);
  ExpectAsGeneral<kGsaLayout>(gsa + ",1*31", true);
  ExpectAsGeneral<kGsaLayout>(gsa + ",3.3*31", false);
  ExpectAsGeneral<kGsaLayout>("$GNGSA,A,1,,,,,,,,,,,,,,,,*00", true);
  // More than twelve ids: the fields after the eighteenth as they come.
  ExpectAsGeneral<kGsaLayout>(gsa + ",01,1.4,0.8,1.2,1*31", true);
  ExpectAsGeneral<kGsvLayout>("$GPGSV,3,3,11,22,46,253,36,25,40,315,32,29,47,182,39*46", true);
  ExpectAsGeneral<kGsvLayout>("$GPGSV,1,1,02,01,40,083,46,02,17,308,41", false);

  ExpectAsGeneral<kVtgLayout>("$GPVTG,040.0,T,041.1,M,000.0,N,000.0,K,A*23", true);
  ExpectAsGeneral<kVtgLayout>("$GPVTG,,T,,M,,N,,K,N*2C", true);
  ExpectAsGeneral<kZdaLayout>("$GPZDA,213000.00,28,02,2024,00,00*6A", true);
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
    GsvFields gsvFields;
    GsaFields gsaFields;
    Decode(gsv, gsvFields);
    Decode(gsa, gsaFields);
    AddGsv(*cycle, gsvFields, SatelliteSystem::kGps);
    AddGsa(*cycle, gsaFields, SatelliteSystem::kGps);
    ClearCycle(*cycle);
    std::strcpy(gsv, "$GPGSV,1,1,01,07,21,201,26*00");
    Decode(gsv, gsvFields);
    AddGsv(*cycle, gsvFields, SatelliteSystem::kGps);
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
