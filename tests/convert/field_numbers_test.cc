// Reading a number from a field where it stands must give exactly what the
// general reading of the field's copy gives, sign of zero included.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "convert/numeric_fields.h"

namespace {

void ExpectFieldReadingsAgree(const std::string& field) {
  // As in a sentence: the field, then its delimiter and more text.
  const std::string inPlace = field + ",9.5*7A";
  const int length = static_cast<int>(field.size());
  const double real = ParseRealField(inPlace.c_str(), length);
  const double general = ParseReal(field.c_str());
  EXPECT_EQ(std::memcmp(&real, &general, sizeof real), 0)
      << "'" << field << "': " << real << " against " << general;
  EXPECT_EQ(ParseIntField(inPlace.c_str(), length), ParseInt(field.c_str())) << "'" << field << "'";
}

TEST(FieldNumbers, AgreeWithTheGeneralReadingOnTypicalFields) {
  const char* fields[] = {"",       "0",     "00",      "-",        "-0",     "-000",
                          "-0.0",   "-0.",   "-.0",     "-.",       ".",      "0.5",
                          "-0.5",   "007",   "08",      "545.4",    "4807.038", "01131.000",
                          "123519", "-12.5", "1.2.3",   "12abc",    "+5",     " 5",
                          "1e3",    "1e400", "999999999", "9999999999", "99999999999",
                          "0x1A",   "inf",   "1234567890123456", "0.0000000000000001"};
  for (const char* field : fields) ExpectFieldReadingsAgree(field);
}

TEST(FieldNumbers, AgreeWithTheGeneralReadingOnRandomFields) {
  std::mt19937 random(8);
  const std::string alphabet = "0000123456789..--+eE ";
  for (int round = 0; round < 200000; ++round) {
    std::string field;
    const int length = static_cast<int>(random() % 20);
    for (int i = 0; i < length; ++i) field += alphabet[random() % alphabet.size()];
    ExpectFieldReadingsAgree(field);
  }
}

}  // namespace
