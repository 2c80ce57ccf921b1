// What a conversion met in its log, counted as it goes: its lines, the
// sentences it read, the fix and satellite sentences of the other satellite
// systems' talkers that the classic rules pass over, and the rows written.
// On request (--stats) also every sentence by its address and whether its
// checksum matches; the classic rules never look at a checksum otherwise.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorval {

// The talkers of the satellite systems other than GPS alone, in the order
// messages name them: GN (several systems), GL, GA, GB, BD, GQ, QZ, GI.
constexpr int kOtherTalkers = 8;
extern const char kOtherTalkerNames[kOtherTalkers][3];

// The sentence types whose other-talker forms a log may hold instead of the
// GPS ones: GGA, RMC and GSA.
constexpr int kFixTypes = 3;
extern const char kFixTypeNames[kFixTypes][4];

// Distinct sentence addresses that --stats lists, the six sentences of a
// cycle from each of eight talkers (6 x 8); the rest are lumped.
constexpr int kCountedAddresses = 48;
// "$" and up to six characters, terminated: the bytes of one 64-bit word,
// by which an address is looked up. A longer address is counted by its
// first seven characters.
constexpr int kAddressSize = 8;
// Slots of the table that finds a counted address by its word: a power of
// two, so that a hash selects one by its top bits, and over twice
// kCountedAddresses, so that a search rarely passes more than one taken
// slot before it meets the address or a free slot.
constexpr int kAddressSlots = 128;
static_assert((kAddressSlots & (kAddressSlots - 1)) == 0 && kAddressSlots > 2 * kCountedAddresses);

struct AddressCount {
  char address[kAddressSize];
  int64_t count;
};

struct SentenceCounts {
  int64_t otherTalkers[kFixTypes][kOtherTalkers];
  int64_t rows;              // rows the conversion wrote
  bool allSystems;           // it read every satellite system (--gnss)
  int64_t cutShort;          // --gnss: sentences passed over as cut short

  // --stats only.
  bool detailed;
  int64_t lines;             // complete lines
  int64_t sentences;         // captured texts starting with '$'
  int64_t checksumMismatch;  // a '*' not followed by the two hex digits of the sentence's XOR
  int64_t checksumMissing;   // no '*' at all
  AddressCount addresses[kCountedAddresses];  // in the order first seen
  int addressCount;
  // Each slot 0 while free, else 1 + the place of an address in addresses.
  uint8_t addressSlots[kAddressSlots];
  int64_t otherAddresses;    // sentences of addresses beyond the counted ones
  int64_t otherBytes;        // '$' texts whose address is not one (binary data)
};

// Afresh for a conversion, keeping only whether the details are wanted.
void StartSentenceCounts(SentenceCounts& counts);

// A sentence's checksum: none (no '*'), or whether the two hex digits
// after the '*' are the XOR of the characters between the '$' and the '*'.
// The sentence must start with '$' and be a capture: the check reads up to
// fifteen bytes past its terminator, sixteen characters at a time.
enum class Checksum { kMissing, kMatches, kMismatches };
Checksum SentenceChecksum(const char* sentence);

// A GGA, RMC or GSA sentence of another talker than GP (any captured text
// may be given: others are not counted). It must be a capture: its first
// six characters are read whatever its length.
void CountOtherTalker(SentenceCounts& counts, const char* sentence);

// --stats: one more line, and its sentence's address and checksum. The
// sentence must be the line's capture (its read-ahead is read).
void CountSentenceDetails(SentenceCounts& counts, const char* sentence);

// The classic table's word on a log it leaves empty or in part unread, as
// one line without the log's name or the line end ("no $GPGGA sentence, the
// table is empty; the log has 319 $GNGGA sentences, --gnss reads them"); in
// the multi-system mode the word on a log without a fix. False when there is
// nothing to say. text must hold size bytes, size at least 1.
bool DescribeUnreadSentences(const SentenceCounts& counts, char* text, size_t size);

}  // namespace quorval
