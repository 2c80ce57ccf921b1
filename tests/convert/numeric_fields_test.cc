#include "convert/numeric_fields.h"
#include "output/truncation.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

using namespace quorval;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(NumericFields, RealFieldsReadTheDecimalNumberTheReceiverWrote) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},          {"0", 0},           {"000", 0},        {"-", 0},
      {"-0", 0},        {"0\r", 0},         {"0\n5", 0},       {"007", 7},
      {"0.5", 0.5},     {"-0.5", -0.5},     {"-0012.50", -12.5}, {"+5", 5},
      {" 5", 5},        {"0 5", 5},         {"abc", 0},        {"1.2.3", 1.2},
      {"08", 8},        {"12.7", 12.7},     {"545.4", 545.4},  {"4807.038", 4807.038},
      {".5", 0.5},      {"-.5", -0.5},      {"5.", 5},         {"--5", 5},
      {"1e3", 1000},    {"1E3", 1000},      {"2.5e-2", 0.025}, {"1e", 1},
      {"1e+", 1},       {"1e400", kInf},    {"-1e400", -kInf}, {"1e-400", 0},
      {"0x1A", 0},      {" 0x1A", 0},       {"-0x1A", 0},      {"inf", 0},
      {"-inf", 0},      {"infinity", 0},    {"nan", 0},        {" nan", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseReal(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(NumericFields, IntegerFieldsReadDecimalDigitsAndSaturateBeyond32Bits) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"", 0},
      {"0", 0},
      {"-", 0},
      {"-0", 0},
      {"-007", -7},
      {"12abc", 12},
      {"12.7", 12},
      {"08", 8},
      {" 42", 42},
      {"+42", 42},
      {"abc", 0},
      {"0x1A", 0},
      {"1e3", 1},
      {"000000000000000000000000042", 42},
      {"2147483647", kMax},
      {"2147483648", kMax},
      {"-2147483648", kMin},
      {"-2147483649", kMin},
      {"99999999999", kMax},
      {"-99999999999", kMin},
      {" -99999999999999999999999999", kMin},
      {"99999999999999999999999999", kMax},
      {"-99999999999999999999999999", kMin},
      {"--5", 5},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseInt(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(NumericFields, DoublesTruncateTowardZeroAndSaturateOutsideInt32) {
  const struct {
    double value;
    int32_t truncated;
  } cases[] = {
      {0.0, 0},           {1.9, 1},           {-1.9, -1},
      {2147483646.9, 2147483646},             {2147483647.0, kMax},
      {2147483647.9, kMax}, {2147483648.0, kMax}, {1e300, kMax},
      {kInf, kMax},       {-2147483647.9, -2147483647},
      {-2147483648.0, kMin}, {-2147483648.9, kMin}, {-2147483649.0, kMin},
      {-1e300, kMin},     {-kInf, kMin},      {kNaN, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TruncToInt32(c.value), c.truncated) << c.value;
  }
}

TEST(NumericFields, NmeaTimesBecomeSecondsOfTheDay) {
  const struct {
    double hhmmss;
    double seconds;
  } cases[] = {
      {123519.00, 45319.0}, {235959.99, 86399.99}, {0, 0},       {000000.50, 0.5},
      {120000, 43200},      {100.0, 60},           {10000.0, 3600},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(NmeaTimeToSeconds(c.hhmmss), c.seconds, 1e-9) << c.hhmmss;
  }
}

TEST(NumericFields, NmeaAnglesBecomeDecimalDegrees) {
  const struct {
    double ddmm;
    double degrees;
  } cases[] = {
      {0, 0},          {9000.0, 90.0},     {17959.99, 179 + 59.99 / 60}, {4807.038, 48.1173},
      {1131.0, 11 + 31.0 / 60},           {-4807.038, -48.1173},       {30.0, 0.5},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(NmeaToDegrees(c.ddmm), c.degrees, 1e-12) << c.ddmm;
  }
}

TEST(NumericFields, TimesAndAnglesBeyondInt32StayDefinedAndSymmetric) {
  // A value past the 32-bit range never reaches a plain cast (the sanitizer
  // build would stop there), and a negative one gives the negation of what
  // its magnitude gives, as every angle and time does.
  for (double huge : {3e9, 1e12, 1e18, 1e300, kInf}) {
    EXPECT_EQ(NmeaToDegrees(-huge), -NmeaToDegrees(huge)) << huge;
    EXPECT_EQ(NmeaTimeToSeconds(-huge), -NmeaTimeToSeconds(huge)) << huge;
  }
  EXPECT_TRUE(std::isnan(NmeaToDegrees(kNaN)));
  EXPECT_TRUE(std::isnan(NmeaTimeToSeconds(kNaN)));
}

TEST(NumericFields, AFieldReadWhereItStandsGivesWhatItsCopyGives) {
  // Handlers read numbers inside the sentence: the ',' or '*' after a field
  // must end it exactly as the terminator of its copy does.
  const char* fields[] = {"",    "-",    "+",    " ",   ".",    "-.",  "0",    "-0",  "00.",
                          "007", "1e",   "1e-",  "1E+", "2.5e", "-12", " 42", "+5",  "0x1",
                          "1.5", "99999999999", "1e400", "4807.038", "12abc", "- 5", "--3"};
  const char* followers[] = {",5", "*47", ",e5", ",.5", ",,", "*", ",1e3", ",x"};
  for (const char* field : fields) {
    for (const char* follower : followers) {
      const std::string inPlace = std::string(field) + follower;
      EXPECT_EQ(ParseInt(inPlace.c_str()), ParseInt(field)) << '"' << inPlace << '"';
      const double copy = ParseReal(field);
      const double standing = ParseReal(inPlace.c_str());
      EXPECT_EQ(std::memcmp(&standing, &copy, sizeof copy), 0) << '"' << inPlace << '"';
    }
  }
}

// ---- Locale independence ---------------------------------------------------

// Restores the process locale when a test leaves.
class CommaLocale : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = std::setlocale(LC_ALL, nullptr); }
  void TearDown() override {
    std::setlocale(LC_ALL, saved_.c_str());
#ifndef _WIN32
    if (!savedLocPath_.empty()) setenv("LOCPATH", savedLocPath_.c_str(), 1);
    else unsetenv("LOCPATH");
#endif
    if (!localeDir_.empty()) std::filesystem::remove_all(localeDir_);
  }

  // Fields as a German receiver log would still write them: '.' decimals,
  // while the process reads ',' as its decimal point.
  static void ExpectDotStillTheDecimalPoint() {
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(ParseReal("545.4"), 545.4);
    EXPECT_EQ(ParseReal("-0012.50"), -12.5);
    EXPECT_EQ(ParseReal("2.5e-2"), 0.025);
    EXPECT_EQ(ParseReal("545,4"), 545.0);
    // Long mantissas take the slow, correctly rounded path.
    EXPECT_EQ(ParseReal("4807.03800000000000000000001"), 4807.038);
    EXPECT_EQ(ParseReal("1e400"), kInf);
    EXPECT_EQ(ParseInt("1.5"), 1);
  }

#ifndef _WIN32
  // Builds a German locale from the installed locale sources into a private
  // folder, for machines that have the sources but no compiled de_DE.
  bool BuildGermanLocale() {
    if (std::system("command -v localedef >/dev/null 2>&1") != 0) return false;
    if (!std::filesystem::exists("/usr/share/i18n/locales/de_DE")) return false;
    char pattern[] = "/tmp/quorval-locale-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return false;
    localeDir_ = pattern;
    const std::string command = "localedef -i de_DE -f UTF-8 " + localeDir_ +
                                "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 &&
        !std::filesystem::exists(localeDir_ + "/de_DE.UTF-8/LC_NUMERIC")) {
      return false;
    }
    if (const char* old = std::getenv("LOCPATH")) savedLocPath_ = old;
    setenv("LOCPATH", localeDir_.c_str(), 1);
    return true;
  }
#endif

  std::string saved_;
  std::string savedLocPath_;
  std::string localeDir_;
};

#ifdef _WIN32
// Windows names its locales by language and country, and has them all.
TEST_F(CommaLocale, GermanWindowsLocaleDoesNotChangeTheDecimalPoint) {
  ASSERT_NE(std::setlocale(LC_ALL, "German_Germany.1252"), nullptr);
  ExpectDotStillTheDecimalPoint();
}
#else
TEST_F(CommaLocale, GermanSystemLocaleDoesNotChangeTheDecimalPoint) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  }
  ExpectDotStillTheDecimalPoint();
}

TEST_F(CommaLocale, GermanLocaleBuiltFromSourcesDoesNotChangeTheDecimalPoint) {
  if (!BuildGermanLocale()) GTEST_SKIP() << "cannot build a de_DE locale here";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "the built de_DE locale does not load";
  }
  ExpectDotStillTheDecimalPoint();
}

TEST_F(CommaLocale, EveryInstalledLocaleReadsTheSameNumbers) {
  FILE* list = popen("locale -a 2>/dev/null", "r");
  if (list == nullptr) GTEST_SKIP() << "locale -a is not available";
  char name[256];
  int tried = 0;
  while (std::fgets(name, sizeof name, list) != nullptr) {
    name[std::strcspn(name, "\r\n")] = '\0';
    if (std::setlocale(LC_ALL, name) == nullptr) continue;
    ++tried;
    EXPECT_EQ(ParseReal("545.4"), 545.4) << name;
    EXPECT_EQ(ParseReal("0x1A"), 0) << name;
    EXPECT_EQ(ParseReal("4807.03800000000000000000001"), 4807.038) << name;
  }
  pclose(list);
  EXPECT_GT(tried, 0);
}
#endif

}  // namespace
