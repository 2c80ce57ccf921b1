#include "convert/field_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Step {
  int result;
  std::string text;
};

std::vector<Step> Walk(const char* sentence, int calls) {
  std::vector<Step> steps;
  const char* cursor = sentence + 6;
  for (int i = 0; i < calls; ++i) {
    const int result = NextField(cursor);
    steps.push_back({result, FieldBuffer});
  }
  return steps;
}

TEST(FieldTokenizer, WalksAVtgSentenceThroughItsChecksum) {
  const auto steps = Walk("$GPVTG,054.7,T,,M,005.5,N,010.2,K*48", 11);
  const std::vector<Step> expected = {{6, "054.7"}, {2, "T"}, {1, ""},   {2, "M"},
                                      {6, "005.5"}, {2, "N"}, {6, "010.2"}, {2, "K"},
                                      {0, "48"},    {0, "48"}, {0, "48"}};
  ASSERT_EQ(steps.size(), expected.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].result, expected[i].result) << "call " << i;
    EXPECT_EQ(steps[i].text, expected[i].text) << "call " << i;
  }
}

}  // namespace
