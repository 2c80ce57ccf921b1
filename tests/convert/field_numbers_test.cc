// The numbers of a field, read by the fast paths, must be exactly what the
// reference converter's plain reading (atof and atoi of the rest, in the
// "C" locale) gives, sign of zero included.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "convert/numeric_fields.h"
#include "reference/reference_converter.h"

using namespace quorval;

namespace {

void ExpectReadingsAgree(const std::string& field) {
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
