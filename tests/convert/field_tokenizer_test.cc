#include "convert/field_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quorval;

namespace {

struct Field {
  bool present;
  std::string text;
};

struct SplitCase {
  const char* scenario;
  std::string sentence;
  std::vector<Field> fields;  // from field 1; the last one repeats for every field after it
};

// '$GPXYZ,', 192 characters and ',' fill a capture.
const std::string kLongField(192, '7');

const SplitCase kSplits[] = {
    {"a VTG sentence through its checksum and beyond", "$GPVTG,054.7,T,,M,005.5,N,010.2,K*48",
     {{true, "054.7"}, {true, "T"}, {true, ""}, {true, "M"}, {true, "005.5"}, {true, "N"},
      {true, "010.2"}, {true, "K"}, {false, "48"}}},
    {"a VTG sentence without checksum has its last field absent",
     "$GPVTG,054.7,T,,M,005.5,N,010.2,K",
     {{true, "054.7"}, {true, "T"}, {true, ""}, {true, "M"}, {true, "005.5"}, {true, "N"},
      {true, "010.2"}, {false, "K"}}},
    {"a sentence of the tag alone has no fields", "$GPGGA", {{false, ""}}},
    {"the rest of a tag longer than six characters belongs to no field", "$GPGGAX,12,3*4F",
     {{true, "12"}, {true, "3"}, {false, "4F"}}},
    {"a '*' inside the data closes a field like a comma", "$GPXYZ,a*b,c*12",
     {{true, "a"}, {true, "b"}, {true, "c"}, {false, "12"}}},
    {"a field cut short is absent with the cut text", "$GPGGA,12,48", {{true, "12"}, {false, "48"}}},
    {"carriage return and line feed end the sentence", "$GPGGA,1,2\r\n,3,", {{true, "1"}, {false, "2"}}},
    {"an empty field before the checksum", "$GPGSV,,*00", {{true, ""}, {true, ""}, {false, "00"}}},
    {"the longest field a 200-character sentence can hold", "$GPXYZ," + kLongField + ",",
     {{true, kLongField}, {false, ""}}},
};

TEST(FieldTokenizer, SplitsSentencesIntoPresentAndAbsentFields) {
  for (const SplitCase& c : kSplits) {
    SCOPED_TRACE(c.scenario);
    SentenceFields fields;
    SplitFields(fields, c.sentence.c_str());
    for (int number = 1; number <= static_cast<int>(c.fields.size()) + 2; ++number) {
      const Field& expected = c.fields[std::min<size_t>(number, c.fields.size()) - 1];
      const FieldSpan field = FieldAt(fields, number);
      EXPECT_EQ(field.present, expected.present) << "field " << number;
      EXPECT_EQ(std::string(field.text, static_cast<size_t>(field.length)), expected.text)
          << "field " << number;
    }
  }
}

}  // namespace
