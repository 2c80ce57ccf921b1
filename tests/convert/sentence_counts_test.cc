// --stats' count of the sentences by their address.
#include "convert/sentence_counts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "convert_test_support.h"

using namespace quorval;

namespace {

// The first 48 addresses are counted each, in the order first seen, and
// the sentences of the others lumped; a long address goes by its first
// seven characters. Sixty addresses share the lookup's slots.
TEST(SentenceCounts, FortyEightAddressesAreCountedEachAndTheRestLumped) {
  const auto address = [](int i) {
    char text[16];
    std::snprintf(text, sizeof text, "$%s%03d", i % 2 == 0 ? "GN" : "PQ", i);
    return std::string(text);
  };
  SentenceCounts counts{};
  CountSentenceDetails(counts, convert_test::Captured("$PSRF103,2,1,1,0*3C"));
  CountSentenceDetails(counts, convert_test::Captured("$PSRF104,1*00"));
  CountSentenceDetails(counts, convert_test::Captured("$PSRF1040123456789ABC*00"));
  CountSentenceDetails(counts, convert_test::Captured("$PSRF1040123456789ABC#*00"));  // binary data
  for (int pass = 0; pass < 3; ++pass) {
    for (int i = 0; i < 60; ++i) {
      CountSentenceDetails(counts, convert_test::Captured(address(i) + (i % 2 == 0 ? ",1" : "*00")));
    }
  }
  ASSERT_EQ(counts.addressCount, kCountedAddresses);
  EXPECT_STREQ(counts.addresses[0].address, "$PSRF10");
  EXPECT_EQ(counts.addresses[0].count, 3);
  for (int i = 1; i < kCountedAddresses; ++i) {
    EXPECT_EQ(counts.addresses[i].address, address(i - 1));
    EXPECT_EQ(counts.addresses[i].count, 3) << address(i - 1);
  }
  EXPECT_EQ(counts.otherAddresses, (60 - (kCountedAddresses - 1)) * 3);
  EXPECT_EQ(counts.otherBytes, 1);
  EXPECT_EQ(counts.sentences, 4 + 3 * 60);
}

}  // namespace
