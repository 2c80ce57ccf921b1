// The fixes and satellites tables of the receiver cycles, as a user of a
// modern receiver meets them: an RTK fix at 20 Hz with two signals per
// satellite, a cycle without a date, one without a fix, one of GNS alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "convert/conversion_loop.h"
#include "convert/convert_test_support.h"

using namespace quorval;

namespace {

class CycleTables : public convert_test::ConvertTest {
 protected:
  void Convert(const std::string& log) {
    FILE* input = convert_test::TempFileWith(log);
    FILE* fixesFile = std::tmpfile();
    FILE* satellitesFile = std::tmpfile();
    runState.inputFile = input;
    runState.inputSize = static_cast<int64_t>(log.size());
    ConvertLog(input, ConversionOutputs{.fixes = fixesFile, .satellites = satellitesFile}, conversion);
    runState.inputFile = nullptr;
    fixes = convert_test::ReadAll(fixesFile);
    satellites = convert_test::ReadAll(satellitesFile);
    for (FILE* file : {input, fixesFile, satellitesFile}) std::fclose(file);
  }
  std::string fixes, satellites;
};

TEST_F(CycleTables, KeepEveryDigitEveryCycleAndEverySignal) {
  Convert(
      "$GNGGA,102143.990,4404.1306024,N,00703.6112033,E,4,12,0.55,1047.234,M,46.981,M,1.0,0000\r\n"
      "$GNRMC,102143.990,A,4404.1306024,N,00703.6112033,E,0.012,231.4,230324,,,R,V\r\n"
      "$GNGSA,A,3,05,13,,,,,,,,,,,1.10,0.55,0.95,1\r\n"
      "$GPGSV,1,1,02,05,40,083,46,13,07,344,39,1\r\n"
      "$GPGSV,1,1,02,05,40,083,41,13,07,344,,8\r\n"
      "$GNGST,102143.990,0.5,0.02,0.01,45.0,0.012,0.011,0.025\r\n"
      "$GNGGA,102144.000,4404.1306031,S,00703.6112040,W,5,12,0.55,1047.240,M,46.981,M,1.0,0000\r\n"
      "$GNGGA,,,,,,0,00,99.99,,,,,,\r\n"
      "$GNRMC,102144.050,V,,,,,,,230324,,,N,V\r\n"
      "$GNGNS,102145.00,4404.1306024,N,00703.6112033,E,RR,14,0.6,1047.1,46.9,1.0,0000,V\r\n");
  EXPECT_EQ(fixes,
            "utc,time_of_day,lat,lon,height_msl,geoid_separation,height_ellipsoid,speed_mps,course_deg,"
            "quality,status,mode,fix_type,sats_used,sats_in_view,hdop,pdop,vdop,lat_sd,lon_sd,height_sd\r\n"
            "2024-03-23T10:21:43.990Z,37303.990,44.068843373,7.060186722,1047.234,46.981,1094.215,0.0062,"
            "231.4,4,A,R,3,12,2,0.55,1.10,0.95,0.012,0.011,0.025\r\n"
            ",37304.000,-44.068843385,-7.060186733,1047.240,46.981,1094.221,,,5,,,,12,,0.55,,,,,\r\n"
            "2024-03-23T10:21:44.050Z,37304.050,,,,,,,,,V,N,,,,,,,,,\r\n"
            ",37305.00,44.068843373,7.060186722,1047.1,46.9,1094.0,,,4,,RR,,14,,0.6,,,,,\r\n");
  EXPECT_EQ(satellites,
            "utc,time_of_day,system,svid,prn,signal,elevation,azimuth,snr,used\r\n"
            "2024-03-23T10:21:43.990Z,37303.990,GPS,05,5,1,40,083,46,1\r\n"
            "2024-03-23T10:21:43.990Z,37303.990,GPS,13,13,1,07,344,39,1\r\n"
            "2024-03-23T10:21:43.990Z,37303.990,GPS,05,5,8,40,083,41,1\r\n"
            "2024-03-23T10:21:43.990Z,37303.990,GPS,13,13,8,07,344,,1\r\n");
}

}  // namespace

namespace {

// The tracks of a log: a fix, a lost fix, two fixes, a gap of more than five
// usual intervals, two fixes; a name that XML and JSON must escape.
class Tracks : public convert_test::ConvertTest {
 protected:
  void Convert(const std::string& log) {
    FILE* input = convert_test::TempFileWith(log);
    runState.inputFile = input;
    runState.inputSize = static_cast<int64_t>(log.size());
    ConversionOutputs outputs{.trackName = "a&b<c>\".txt"};
    for (int i = 0; i < kTrackFormats; ++i) {
      outputs.tracks[i] = std::tmpfile();
      outputs.scratch[i] = std::tmpfile();
    }
    ConvertLog(input, outputs, conversion);
    runState.inputFile = nullptr;
    std::fclose(input);
    for (int i = 0; i < kTrackFormats; ++i) {
      text[i] = convert_test::ReadAll(outputs.tracks[i]);
      std::fclose(outputs.tracks[i]);
      std::fclose(outputs.scratch[i]);
    }
  }
  std::string text[kTrackFormats];
};

TEST_F(Tracks, SegmentsBreakAtALostFixAndAGap) {
  std::string log;
  const char* const fixes[][3] = {
      {"120000.0", "1", "4807.038"}, {"120001.0", "0", ""},          {"120002.0", "1", "4807.039"},
      {"120003.0", "1", "4807.040"}, {"120010.0", "2", "4807.041"}, {"120011.0", "2", "4807.042"}};
  for (const auto& f : fixes) {
    log += std::string("$GPGGA,") + f[0] + "," + f[2] + ",N,01131.000,E," + f[1] + ",08,0.9,545.4,M,46.9,M,,\r\n";
    log += std::string("$GPRMC,") + f[0] + ",A,4807.038,N,01131.000,E,0.0,0.0,230394,,,A\r\n";
  }
  Convert(log);
  const auto count = [](const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  // GPX: three segments, every fix a point; a lone fix is no line in the others.
  EXPECT_EQ(count(text[0], "<trkseg>"), 3u);
  EXPECT_EQ(count(text[0], "<trkpt "), 5u);
  EXPECT_NE(text[0].find("<bounds minlat=\"48.1173000\" minlon=\"11.5166667\" maxlat=\"48.1173667\" "
                         "maxlon=\"11.5166667\"/>"), std::string::npos);
  EXPECT_NE(text[0].find("<trk><name>a&amp;b&lt;c&gt;&quot;.txt</name>"), std::string::npos);
  EXPECT_NE(text[0].find("<fix>dgps</fix>"), std::string::npos);
  EXPECT_NE(text[1].find("\"coordinates\":[\n[[11.5166667,48.1173167,592.3],[11.5166667,48.1173333,592.3]],\n"
                         "[[11.5166667,48.1173500,592.3],[11.5166667,48.1173667,592.3]]]}}"), std::string::npos);
  EXPECT_EQ(count(text[1], "\"Point\""), 5u);
  EXPECT_NE(text[1].find("{\"name\":\"a&b<c>\\\".txt\"}"), std::string::npos);
  EXPECT_EQ(count(text[2], "<LineString>"), 2u);
  EXPECT_NE(text[2].find("<name>End</name><TimeStamp><when>1994-03-23T12:00:11.0Z</when>"), std::string::npos);
}

}  // namespace
