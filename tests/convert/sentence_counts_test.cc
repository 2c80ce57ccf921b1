// --stats' count of the sentences by their address.
#include "convert/sentence_counts.h"

#include <gtest/gtest.h>

#include <string>

#include "convert_test_support.h"

using namespace quorval;

namespace {

// The first 48 addresses are counted each, in the order first seen, and
// the sentences of the others lumped; a long address goes by its first
// seven characters. Sixty addresses share the lookup's slots.
TEST(SentenceCounts, FortyEightAddressesAreCountedEachAndTheRestLumped) {
  SentenceCounts counts{};
  // The last is binary data: no address ends in '#'.
  for (const char* sentence : {"$PSRF103,2,1,1,0*3C", "$PSRF104,1*00", "$PSRF1040123456789ABC*00",
                               "$PSRF1040123456789ABC#*00"}) {
    CountSentenceDetails(counts, convert_test::Captured(sentence));
  }
  for (int i = 0; i < 3 * 60; ++i) {
    CountSentenceDetails(counts, convert_test::Captured("$PQ" + std::to_string(100 + i % 60) + ",1"));
  }
  ASSERT_EQ(counts.addressCount, kCountedAddresses);
  EXPECT_STREQ(counts.addresses[0].address, "$PSRF10");
  EXPECT_EQ(counts.addresses[0].count, 3);
  for (int i = 1; i < kCountedAddresses; ++i) {
    EXPECT_EQ(counts.addresses[i].address, "$PQ" + std::to_string(100 + i - 1));
    EXPECT_EQ(counts.addresses[i].count, 3) << i;
  }
  EXPECT_EQ(counts.otherAddresses, (60 - (kCountedAddresses - 1)) * 3);
  EXPECT_EQ(counts.otherBytes, 1);
  EXPECT_EQ(counts.sentences, 4 + 3 * 60);
}

}  // namespace
