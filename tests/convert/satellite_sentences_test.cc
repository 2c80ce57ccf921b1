#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "convert/sentence_handlers.h"
#include "convert_test_support.h"

using namespace quorval;

namespace {

using Ids = std::array<int16_t, kUsedIds>;

Ids UsedIds() {
  Ids ids;
  std::memcpy(ids.data(), epochRecord.usedSvs.ids, sizeof epochRecord.usedSvs.ids);
  return ids;
}

// A table left by an earlier cycle: every slot distinct and marked used.
void FillTableFromEarlierCycle() {
  for (int slot = 0; slot < kSatelliteSlots; ++slot) {
    const auto v = static_cast<int16_t>(100 + slot);
    epochRecord.satellites[slot] = {v, v, v, v, 1};
  }
}

bool SameEntry(const SatelliteEntry& a, const SatelliteEntry& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

using SatelliteSentences = convert_test::ConvertTest;

TEST_F(SatelliteSentences, GsaSetsModeDilutionsAndUsedSatellites) {
  const struct {
    const char* sentence;
    int mode;
    Ids ids;  // earlier GSA sentences left 99 in every entry
    int numused;
    double pdop, hdop, vdop;
  } cases[] = {
      {"$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39",  //
       3, {4, 5, 9, 12, 24, 0, 99, 99, 99, 99, 99, 99}, 5, 2.5, 1.3, 2.1},
      // Without checksum the VDOP is absent but its text still converts.
      {"$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1",  //
       3, {4, 5, 9, 12, 24, 0, 99, 99, 99, 99, 99, 99}, 5, 2.5, 1.3, 2.1},
      // Cut after two ids: the last field repeats into every later one.
      {"$GPGSA,A,3,04,05", 3, {4, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5}, 12, 5, 5, 5},
      {"$GPGSA,A,2,1,2,3,4,5,6,7,8,9,10,11,12,1.0,2.0,3.0*00",  //
       2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 12, 1, 2, 3},
      {"$GPGSA,A,1,,,,,,,,,,,,,,,*00", 1, {0, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99}, 0,
       0, 0, 0},
      {"$GPGSA", 0, {0, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99}, 0, 0, 0, 0},
      {"$GPGSA,A,65539,70000,,,,,,,,,,,,1,1,1*00",  //
       3, {4464, 0, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99}, 1, 1, 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sentence);
    for (int16_t& id : epochRecord.usedSvs.ids) id = 99;
    HandleGsa(convert_test::Captured(c.sentence));
    const EpochRecord& r = epochRecord;
    EXPECT_EQ(r.sGSAMode, c.mode);
    EXPECT_EQ(UsedIds(), c.ids);
    EXPECT_EQ(r.usedSvs.numused, c.numused);
    EXPECT_DOUBLE_EQ(r.pdop, c.pdop);
    EXPECT_DOUBLE_EQ(r.hdop, c.hdop);
    EXPECT_DOUBLE_EQ(r.vdop, c.vdop);
  }
}

TEST_F(SatelliteSentences, SecondGsaLeavesTheTailOfTheFirstBehind) {
  HandleGsa(convert_test::Captured("$GPGSA,A,3,01,02,03,04,05,06,07,08,09,10,,,1.0,1.0,1.0*00"));
  HandleGsa(convert_test::Captured("$GPGSA,A,3,04,05,,09,,,,,,,,,2.5,1.3,2.1*39"));
  EXPECT_EQ(UsedIds(), (Ids{4, 5, 9, 0, 5, 6, 7, 8, 9, 10, 0, 0}));
  EXPECT_EQ(epochRecord.usedSvs.numused, 3);
}

struct GsvCase {
  const char* sentence;
  bool clears;
  int numsvsview;
  // Slots the sentence writes, with svid, azim, elev, sgnl; every other slot
  // keeps the earlier cycle's entry (or zero after a clearing message 1).
  std::vector<std::pair<int, std::array<int16_t, 4>>> written;
};

const GsvCase kGsvCases[] = {
    {"$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75", true, 8,
     {{0, {1, 83, 40, 46}}, {1, {2, 308, 17, 41}}, {2, {12, 344, 7, 39}}, {3, {14, 228, 22, 45}}}},
    {"$GPGSV,2,2,08,15,10,100,30,16,20,244,*70", false, 8,
     {{4, {15, 100, 10, 30}}, {5, {16, 244, 20, 0}}}},
    {"$GPGSV,1,1,00*79", true, 0, {}},
    {"$GPGSV,1,1,02,01,40,083,46,02,17,308,41", true, 2,
     {{0, {1, 83, 40, 46}}, {1, {2, 308, 17, 41}}, {2, {41, 41, 41, 41}}, {3, {41, 41, 41, 41}}}},
    {"$GPGSV,3,3,12,21,01,001,11,22,02,002,12,23,03,003,13,24,04,004,14*70", false, 12,
     {{8, {21, 1, 1, 11}}, {9, {22, 2, 2, 12}}, {10, {23, 3, 3, 13}}, {11, {24, 4, 4, 14}}}},
    // A thirteenth satellite fills slot 12; nothing is stored beyond it.
    {"$GPGSV,4,4,14,25,05,005,15,26,06,006,16*70", false, 14, {{12, {25, 5, 5, 15}}}},
    {"$GPGSV,5,5,18,27,07,007,17*70", false, 18, {}},
    // Message numbers that would place satellites outside the table.
    {"$GPGSV,1,0,09,27,07,007,17*70", false, 9, {}},
    {"$GPGSV,1,-1,09,27,07,007,17*70", false, 9, {}},
    {"$GPGSV,1,-2147483648,09,27,07,007,17*70", false, 9, {}},
    {"$GPGSV,1,2147483647,09,27,07,007,17*70", false, 9, {}},
    {"$GPGSV,1,99999999999,09,27,07,007,17*70", false, 9, {}},
    {"$GPGSV,1,70000,70001,27,07,007,17*70", false, 4465, {}},
    {"$GPGSV", false, 0, {}},
    // Cut after its first field: that text is the message number, the count
    // and every value of the four groups.
    {"$GPGSV,1", true, 1,
     {{0, {1, 1, 1, 1}}, {1, {1, 1, 1, 1}}, {2, {1, 1, 1, 1}}, {3, {1, 1, 1, 1}}}},
};

TEST_F(SatelliteSentences, GsvStoresEachMessageInItsFourSlots) {
  for (const GsvCase& c : kGsvCases) {
    SCOPED_TRACE(c.sentence);
    FillTableFromEarlierCycle();
    epochRecord.numsvsview = -5;
    EpochRecord expected = epochRecord;
    if (c.clears) std::memset(expected.satellites, 0, sizeof expected.satellites);
    for (const auto& [slot, values] : c.written) {
      SatelliteEntry& e = expected.satellites[slot];
      e.svid = values[0];
      e.azim = values[1];
      e.elev = values[2];
      e.sgnl = values[3];
    }
    HandleGsv(convert_test::Captured(c.sentence));
    EXPECT_EQ(epochRecord.numsvsview, c.numsvsview);
    for (int slot = 0; slot < kSatelliteSlots; ++slot) {
      const SatelliteEntry& a = epochRecord.satellites[slot];
      const SatelliteEntry& e = expected.satellites[slot];
      EXPECT_TRUE(SameEntry(a, e)) << "slot " << slot << ": " << a.svid << ',' << a.azim << ','
                                   << a.elev << ',' << a.sgnl << ',' << a.used << " expected "
                                   << e.svid << ',' << e.azim << ',' << e.elev << ',' << e.sgnl
                                   << ',' << e.used;
    }
  }
}

}  // namespace
