// The one-pass split must report every field exactly as the reference
// converter's NextField walk finds it, for every sentence a capture can
// produce.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "convert/field_tokenizer.h"
#include "reference/reference_converter.h"

using namespace quorval;

namespace {

constexpr int kFieldsCompared = 24;

void ExpectSplitMatchesWalk(const std::string& sentence) {
  SentenceFields fields;
  SplitFields(fields, sentence.c_str());
  const char* cursor = sentence.c_str() + 6;
  for (int number = 1; number <= kFieldsCompared; ++number) {
    const int walked = reference::NextField(cursor);
    const FieldSpan split = FieldAt(fields, number);
    ASSERT_EQ(split.present, walked != 0) << sentence << " field " << number;
    ASSERT_EQ(std::string(split.text, static_cast<size_t>(split.length)), reference::FieldBuffer)
        << sentence << " field " << number;
    ASSERT_EQ(CharAfterField(fields, number), *cursor) << sentence << " field " << number;
  }
}

TEST(FieldSplit, AgreesWithTheWalkOnTypicalAndDamagedSentences) {
  const char* sentences[] = {
      "$GPVTG,054.7,T,,M,005.5,N,010.2,K*48",
      "$GPVTG,054.7,T,,M,005.5,N,010.2,K",
      "$GPGGA",
      "$GPGGAX,1,2",
      "$GPGGAXYZ",
      "$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75",
      "$GPGSV,1,1,00*79",
      "$GPGSA,A,3,04,05",
      "$GPRMC,,,,,,,,,,,,*",
      "$GPGGA,1*2*3,4",
      "$GPGGA*",
      "$GPGGA,",
  };
  for (const char* sentence : sentences) ExpectSplitMatchesWalk(sentence);
}

TEST(FieldSplit, AgreesWithTheWalkOnRandomCaptures) {
  std::mt19937 random(20261208);
  const std::string alphabet = ",,,,**0123456789.-ANSEW ";
  for (int round = 0; round < 20000; ++round) {
    std::string sentence = "$GPGSV";
    if (random() % 8 == 0) sentence += "X";
    const int length = static_cast<int>(random() % 195);
    for (int i = 0; i < length && sentence.size() < 200; ++i) {
      sentence += alphabet[random() % alphabet.size()];
    }
    ExpectSplitMatchesWalk(sentence);
  }
}

TEST(FieldSplit, ReadsNoMoreThanACaptureHolds) {
  std::string sentence = "$GPGGA";
  while (sentence.size() < 200) sentence += ",1";
  sentence += ",9,9,9";  // beyond what a capture keeps
  SentenceFields fields;
  SplitFields(fields, sentence.c_str());
  EXPECT_EQ(fields.length, 200);
  EXPECT_EQ(fields.count, 97);
}

}  // namespace
