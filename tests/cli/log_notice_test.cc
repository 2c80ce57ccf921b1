// quorval-convert's word on a log whose table comes out empty or leaves the
// sentences of other satellite systems unread, and --stats.
#include "support/program_process.h"

namespace {

using namespace test_support;

const std::string kGpsEpoch =
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
const std::string kMultiSystemEpoch =
    "$GNRMC,003956.00,A,4552.65403,S,17030.00668,E,0.025,,120419,,,A,V*07\r\n"
    "$GNGGA,003956.00,4552.65403,S,17030.00668,E,1,12,0.64,14.2,M,1.8,M,,*56\r\n"
    "$GNGSA,A,3,13,16,21,15,10,29,27,20,,,,,1.05,0.64,0.83,1*03\r\n";

class LogNotice : public CommandRunner {};

TEST_F(LogNotice, OneLineNamesTheLogWhatItHeldAndTheOptionThatReadsIt) {
  const struct {
    const char* scenario;
    std::string log;
    std::vector<std::string> options;
    std::string word;  // after "day1.log: "; empty: nothing on standard error
  } cases[] = {
      {"multi-system receiver", kMultiSystemEpoch + kMultiSystemEpoch, {},
       "no $GPGGA sentence, the table is empty; the log has 2 $GNGGA, 2 $GNRMC and 2 $GNGSA "
       "sentences, --gnss reads them"},
      {"nothing to read at all", "$PUBX,00*33\r\n", {}, "no $GPGGA sentence, the table is empty"},
      {"one epoch opened, never written", kGpsEpoch, {},
       "one $GPGGA sentence only, the table is empty"},
      {"rows, and fixes of another talker too", kGpsEpoch + kGpsEpoch + kMultiSystemEpoch, {},
       "the table leaves out the log's 1 $GNGGA, 1 $GNRMC and 1 $GNGSA sentences; --gnss reads "
       "them"},
      {"a GPS log", kGpsEpoch + kGpsEpoch, {}, ""},
      {"--quiet", kMultiSystemEpoch, {"--quiet"}, ""},
  };
  for (const auto& c : cases) {
    folder.Write("day1.log", c.log);
    std::vector<std::string> args = c.options;
    args.push_back("day1.log");
    const Result run = Run(args);
    EXPECT_EQ(run.status, 0) << c.scenario;
    EXPECT_EQ(run.err, c.word.empty() ? "" : "day1.log: " + c.word + "\n") << c.scenario;
  }
}

TEST_F(LogNotice, StatsCountLinesSentencesByAddressBadChecksumsAndRows) {
  folder.Write("day1.log", kGpsEpoch +                                  // good
                               "$GPGGA,123520,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*00\r\n"
                               "no sentence here\r\n"
                               "$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K\r\n"  // no checksum
                               "$PUBX,00*3g\r\n");                           // no hex digits
  const Result run = Run({"--stats", "--quiet", "day1.log"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "day1.log: 5 lines, 4 sentences (2 whose checksum does not match, 1 without a "
            "checksum), 1 row\n"
            "  $GPGGA   2\n"
            "  $GPVTG   1\n"
            "  $PUBX    1\n");
}

TEST_F(LogNotice, StatsOfTheMultiSystemModeCountTheSentencesCutShortApart) {
  folder.Write("day1.log", kMultiSystemEpoch +
                               "$GNGGA,003957.00,4552.65403,S,17030.00668,E,1,12,0.64,1\r\n"  // cut short
                               "$GNVTG,,T,,M,0.025,N,0.046,K,A\r\n"                         // the same
                               "\x01\x02$ H@\x05\r\n$gpgga,1*00\r\n$GPGGAX,1*00\r\n");  // binary data
  const Result run = Run({"--stats", "--quiet", "--gnss", "day1.log"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err,
            "day1.log: 8 lines, 8 sentences (2 whose checksum does not match, 1 without a "
            "checksum, 2 cut short), 1 row\n"
            "  $GNGGA   2\n"
            "  $GNGSA   1\n"
            "  $GNRMC   1\n"
            "  $GNVTG   1\n"
            "  3 sentences of other bytes\n");
}

}  // namespace
