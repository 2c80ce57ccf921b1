#include "convert/field_tokenizer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Step {
  int result;
  std::string text;
};

struct WalkCase {
  const char* scenario;
  std::string sentence;
  std::vector<Step> steps;  // one per NextField call, from the seventh character
};

const std::string kLongField(193, '7');

const WalkCase kWalks[] = {
    {"a VTG sentence walked through its checksum and beyond",
     "$GPVTG,054.7,T,,M,005.5,N,010.2,K*48",
     {{6, "054.7"}, {2, "T"}, {1, ""}, {2, "M"}, {6, "005.5"}, {2, "N"}, {6, "010.2"}, {2, "K"},
      {0, "48"}, {0, "48"}, {0, "48"}}},
    {"a VTG sentence without checksum reports its last field absent",
     "$GPVTG,054.7,T,,M,005.5,N,010.2,K",
     {{6, "054.7"}, {2, "T"}, {1, ""}, {2, "M"}, {6, "005.5"}, {2, "N"}, {6, "010.2"}, {0, "K"},
      {0, "K"}}},
    {"a sentence of the tag alone has no fields", "$GPGGA", {{0, ""}, {0, ""}}},
    {"the rest of a tag longer than six characters belongs to no field", "$GPGGAX,12,3*4F",
     {{3, "12"}, {2, "3"}, {0, "4F"}}},
    {"a '*' inside the data closes a field like a comma", "$GPXYZ,a*b,c*12",
     {{2, "a"}, {2, "b"}, {2, "c"}, {0, "12"}}},
    {"a field cut short is absent with the cut text", "$GPGGA,12,48",
     {{3, "12"}, {0, "48"}, {0, "48"}}},
    {"carriage return and line feed end the line", "$GPGGA,1,2\r\n", {{2, "1"}, {0, "2"}}},
    {"an empty field before the checksum", "$GPGSV,,*00", {{1, ""}, {1, ""}, {0, "00"}}},
    {"the longest field a 200-character sentence can hold",
     "$GPXYZ," + kLongField + ",", {{194, kLongField}, {0, ""}}},
};

TEST(FieldTokenizer, WalksSentencesFieldByField) {
  for (const WalkCase& c : kWalks) {
    SCOPED_TRACE(c.scenario);
    const char* cursor = c.sentence.c_str() + 6;
    for (size_t i = 0; i < c.steps.size(); ++i) {
      EXPECT_EQ(NextField(cursor), c.steps[i].result) << "call " << i;
      EXPECT_EQ(std::string(FieldBuffer), c.steps[i].text) << "call " << i;
    }
  }
}

TEST(FieldTokenizer, ShorterFieldLeavesNothingOfTheLongerOneBefore) {
  const char* sentence = "$GPGGA,123456789,1,";
  const char* cursor = sentence + 6;
  NextField(cursor);
  EXPECT_EQ(NextField(cursor), 2);
  EXPECT_STREQ(FieldBuffer, "1");
}

TEST(FieldTokenizer, TextBeyondTwoHundredCharactersNeverOverrunsTheFieldBuffer) {
  // Handlers only see captures of 200 characters, but the scans are bounded
  // on their own as well: neither a run-on field nor a run-on tag reads on.
  const std::string runOnField = "$GPXYZ," + std::string(300, 'x') + ",5";
  const char* cursor = runOnField.c_str() + 6;
  EXPECT_EQ(NextField(cursor), 0);
  EXPECT_EQ(std::strlen(FieldBuffer), 200u);
  EXPECT_EQ(cursor, runOnField.c_str() + 6);

  const std::string runOnTag = "$GPGGA" + std::string(300, 'X') + ",5,";
  cursor = runOnTag.c_str() + 6;
  EXPECT_EQ(NextField(cursor), 0);
  EXPECT_STREQ(FieldBuffer, "");
}

}  // namespace
