// The numbers of a field, read by the fast paths, must be exactly what the
// reference converter's plain reading (atof and atoi of the rest, in the
// "C" locale) gives, sign of zero included.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "convert/numeric_fields.h"
#include "convert/plain_fields.h"
#include "convert/field_tokenizer.h"
#include "convert/sentence_handlers.h"
#include "reference/reference_converter.h"

using namespace quorval;

namespace {

// The one-pass readers on the field where a capture holds it: closed by a
// delimiter and readable past its terminator. Either they give way, or
// they give the plain reading and stop at the delimiter. Returns which of
// the two took the field.
struct OnePass {
  bool real;
  bool integer;
};
OnePass ExpectOnePassAgrees(const std::string& field) {
  std::string sentence = field + ",9.5*7A";
  sentence.append(kSentenceReadAhead, '\0');
  const char* const delimiter = sentence.c_str() + field.size();
  double real;
  int32_t integer;
  const char* realEnd = plain::Real(sentence.c_str(), real);
  const char* integerEnd = plain::Int(sentence.c_str(), integer);
  if (realEnd != nullptr) {
    const double expected = reference::ParseReal(field.c_str());
    EXPECT_EQ(realEnd, delimiter) << "'" << field << "'";
    EXPECT_EQ(std::memcmp(&real, &expected, sizeof real), 0)
        << "'" << field << "' in one pass: " << real << " against " << expected;
  }
  if (integerEnd != nullptr) {
    EXPECT_EQ(integerEnd, delimiter) << "'" << field << "'";
    EXPECT_EQ(integer, reference::ParseInt(field.c_str())) << "'" << field << "' in one pass";
  }
  return OnePass{realEnd != nullptr, integerEnd != nullptr};
}

void ExpectReadingsAgree(const std::string& field) {
  ExpectOnePassAgrees(field);
  const double plain = reference::ParseReal(field.c_str());
  const double fast = ParseReal(field.c_str());
  EXPECT_EQ(std::memcmp(&fast, &plain, sizeof fast), 0)
      << "'" << field << "': " << fast << " against " << plain;
  EXPECT_EQ(ParseInt(field.c_str()), reference::ParseInt(field.c_str())) << "'" << field << "'";
  // As the handlers read it: the field where it stands in a split sentence.
  const std::string sentence = "$GPXYZ," + field + ",9.5*7A";
  SentenceFields fields;
  SplitFields(fields, sentence.c_str());
  const double standing = RealField(FieldAt(fields, 1));
  EXPECT_EQ(std::memcmp(&standing, &plain, sizeof plain), 0) << "'" << field << "' in a sentence";
  EXPECT_EQ(IntField(FieldAt(fields, 1)), reference::ParseInt(field.c_str()))
      << "'" << field << "' in a sentence";
}

TEST(FieldNumbers, AgreeWithThePlainReadingOnTypicalFields) {
  const char* fields[] = {"",       "0",     "00",      "-",        "-0",     "-000",
                          "-0.0",   "-0.",   "-.0",     "-.",       ".",      "0.5",
                          "-0.5",   "007",   "08",      "545.4",    "4807.038", "01131.000",
                          "123519", "-12.5", "1.2.3",   "12abc",    "+5",     " 5",
                          "1e3",    "1e400", "999999999", "9999999999", "99999999999",
                          "0x1A",   "inf",   "1234567890123456", "0.0000000000000001"};
  for (const char* field : fields) ExpectReadingsAgree(field);
}

TEST(FieldNumbers, OnePassTakesPlainFieldsAndGivesWayOnTheRest) {
  const struct {
    const char* field;
    bool real;
    bool integer;
  } cases[] = {
      {"", true, true},           {"0", true, true},          {"-", true, false},
      {"-000", true, false},      {"-0.0", true, false},      {"-.", true, false},
      {"5128.6320", true, false}, {"00000.7380", true, false}, {"213000.00", true, false},
      {"12345678", true, true},   {"123456789", false, true},  {"1234567890", false, false}, {"1234.12345678", true, false},
      {"1234.123456789", false, false}, {"99999999.99999999", false, false},  // past 2^53
      {"1.2.3", false, false},    {"+5", false, false},       {" 5", false, false},
      {"1e3", false, false},      {"12abc", false, false},    {"280224", true, true},
      {"-5", true, false},        {"007", true, true},
  };
  for (const auto& c : cases) {
    const OnePass taken = ExpectOnePassAgrees(c.field);
    EXPECT_EQ(taken.real, c.real) << "'" << c.field << "' as a real";
    EXPECT_EQ(taken.integer, c.integer) << "'" << c.field << "' as an integer";
  }
}

// The multi-system mode's readers of a time and an angle: what they take is
// of the form the general rules check, with the plain reading's value.
OnePass ExpectFormReadersAgree(const std::string& field, bool& time, bool& latitude, bool& longitude) {
  std::string sentence = field + ",9.5*7A";
  sentence.append(kSentenceReadAhead, '\0');
  const FieldSpan span{true, sentence.c_str(), static_cast<int>(field.size())};
  const double expected = reference::ParseReal(field.c_str());
  double value;
  const auto agrees = [&](const char* end, bool form, const char* what) {
    if (end == nullptr) return false;
    EXPECT_EQ(end, sentence.c_str() + field.size()) << "'" << field << "' as " << what;
    EXPECT_TRUE(form || field.empty()) << "'" << field << "' as " << what;
    EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << "'" << field << "' as " << what;
    return true;
  };
  time = agrees(plain::Time(sentence.c_str(), value), IsNmeaTime(span), "a time");
  latitude = agrees(plain::Angle(sentence.c_str(), plain::kLatitudeDigits, value),
                    IsNmeaAngle(span, plain::kLatitudeDigits), "a latitude");
  longitude = agrees(plain::Angle(sentence.c_str(), plain::kLongitudeDigits, value),
                     IsNmeaAngle(span, plain::kLongitudeDigits), "a longitude");
  ExpectReadingsAgree(field);
  return ExpectOnePassAgrees(field);
}

TEST(FieldNumbers, OnePassReadersStopAtTheCharactersBesideTheDigitsAndAtTheirLengths) {
  // '/' and ':' stand just below '0' and just above '9'.
  const struct {
    const char* field;
    bool real, integer, time, latitude, longitude;  // taken in one pass
  } cases[] = {
      {"/", false, false, false, false, false},         {":", false, false, false, false, false},
      {"1/", false, false, false, false, false},        {"9:", false, false, false, false, false},
      {"/5", false, false, false, false, false},        {":5", false, false, false, false, false},
      {"12/4", false, false, false, false, false},      {"0:0", false, false, false, false, false},
      {"123/", false, false, false, false, false},      {"9999:", false, false, false, false, false},
      {"1.:", false, false, false, false, false},       {"1./", false, false, false, false, false},
      {"12345678/", false, false, false, false, false}, {"1234567:", false, false, false, false, false},
      {"12351/", false, false, false, false, false},    {"123519:", false, false, false, false, false},
      {"123519./", false, false, false, false, false},  {"4807.03:", false, false, false, false, false},
      {"-1:", false, false, false, false, false},       {"-/", false, false, false, false, false},
      // Lengths: nine digits an integer, eight a run of a real, six a time,
      // four and five the whole degrees and minutes.
      {"999999999", false, true, false, false, false},  {"1000000000", false, false, false, false, false},
      {"99999999", true, true, false, false, false},    {"12345678.12345678", true, false, false, false, false},
      {"123519", true, true, true, false, false},       {"12351", true, true, false, false, true},
      {"1235190", true, true, false, false, false},     {"000000.00000000", true, false, true, false, false},
      {"235959.123456789", false, false, false, false, false},
      {"9959.99999999", true, false, false, true, true}, {"17959.9", true, false, false, false, true},
      {"9", true, true, false, true, true},             {"0.5", true, false, false, true, true},
      {".5", true, false, false, false, false},          {"", true, true, true, true, true},
  };
  for (const auto& c : cases) {
    bool time, latitude, longitude;
    const OnePass taken = ExpectFormReadersAgree(c.field, time, latitude, longitude);
    EXPECT_EQ(taken.real, c.real) << "'" << c.field << "' as a real";
    EXPECT_EQ(taken.integer, c.integer) << "'" << c.field << "' as an integer";
    EXPECT_EQ(time, c.time) << "'" << c.field << "' as a time";
    EXPECT_EQ(latitude, c.latitude) << "'" << c.field << "' as a latitude";
    EXPECT_EQ(longitude, c.longitude) << "'" << c.field << "' as a longitude";
  }
}

TEST(FieldNumbers, AgreeWithThePlainReadingOnRandomFields) {
  std::mt19937 random(8);
  const std::string alphabet = "0000123456789..--+eE ";
  for (int round = 0; round < 200000; ++round) {
    std::string field;
    const int length = static_cast<int>(random() % 20);
    for (int i = 0; i < length; ++i) field += alphabet[random() % alphabet.size()];
    ExpectReadingsAgree(field);
    if (HasFailure()) return;
  }
}

}  // namespace
