#include "convert/sentence_counts.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "state/epoch_record.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quorval {

const char kOtherTalkerNames[kOtherTalkers][3] = {"GN", "GL", "GA", "GB", "BD", "GQ", "QZ", "GI"};
const char kFixTypeNames[kFixTypes][4] = {"GGA", "RMC", "GSA"};

namespace {

// Every character's value as a hexadecimal digit, -1 for a non-digit: the
// two checksum digits of every sentence are looked up at once.
constexpr auto kHexDigits = [] {
  std::array<int8_t, 256> digits{};
  digits.fill(-1);
  for (int c = '0'; c <= '9'; ++c) digits[c] = static_cast<int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) digits[c] = static_cast<int8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) digits[c] = static_cast<int8_t>(c - 'a' + 10);
  return digits;
}();

int HexDigit(char c) { return kHexDigits[static_cast<unsigned char>(c)]; }

void CountChecksum(SentenceCounts& c, const char* sentence) {
  switch (SentenceChecksum(sentence)) {
    case Checksum::kMissing:
      ++c.checksumMissing;
      break;
    case Checksum::kMismatches:
      ++c.checksumMismatch;
      break;
    case Checksum::kMatches:
      break;
  }
}

}  // namespace

Checksum SentenceChecksum(const char* sentence) {
  assert(sentence[0] == '$');
  const char* body = sentence + 1;
  unsigned sum = 0;
  const char* star;
#ifdef __SSE2__
  // Sixteen characters a step, up to the '*' or the terminator: the step
  // that holds the terminator reads at most fifteen bytes past it, within a
  // capture's read-ahead. kKeep is sixteen bytes 0xFF, then sixteen zeros:
  // the sixteen from kKeep + 16 - n are n 0xFF and 16 - n zeros, the mask
  // of a chunk's first n bytes (n = 0..15).
  alignas(16) static constexpr unsigned char kKeep[32] = {
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const __m128i asterisk = _mm_set1_epi8('*');
  const __m128i zero = _mm_setzero_si128();
  __m128i folded = zero;
  for (const char* p = body;; p += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // A byte is 0 or '*' when it or its exclusive or with '*' is 0.
    const __m128i end = _mm_min_epu8(chunk, _mm_xor_si128(chunk, asterisk));
    const unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(end, zero)));
    if (ends == 0) {
      folded = _mm_xor_si128(folded, chunk);
      continue;
    }
    const int before = std::countr_zero(ends);
    const __m128i keep = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kKeep + 16 - before));
    folded = _mm_xor_si128(folded, _mm_and_si128(chunk, keep));
    star = p + before;
    break;
  }
  // The sixteen bytes' exclusive or: halves folded onto each other, 16 to
  // 8, 4, 2 and 1 bytes.
  folded = _mm_xor_si128(folded, _mm_srli_si128(folded, 8));
  folded = _mm_xor_si128(folded, _mm_srli_si128(folded, 4));
  folded = _mm_xor_si128(folded, _mm_srli_si128(folded, 2));
  folded = _mm_xor_si128(folded, _mm_srli_si128(folded, 1));
  sum = static_cast<unsigned>(_mm_cvtsi128_si32(folded)) & 0xFF;
#else
  star = static_cast<const char*>(std::memchr(body, '*', std::strlen(body)));
  if (star == nullptr) star = body + std::strlen(body);
  for (const char* p = body; p < star; ++p) sum ^= static_cast<unsigned char>(*p);
#endif
  if (*star != '*') return Checksum::kMissing;
  const int high = HexDigit(star[1]);
  const int low = high < 0 ? -1 : HexDigit(star[2]);
  return low >= 0 && static_cast<unsigned>(high * 16 + low) == sum ? Checksum::kMatches
                                                                    : Checksum::kMismatches;
}

namespace {

bool IsAddressCharacter(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// An address is five letters or digits (talker and type), or a maker's own
// after 'P' (PUBX, PGRME, PSRF103); anything else is binary data that
// happens to hold a '$' among the text. Returns the characters of the
// address with its '$', or 0 for no address.
int AddressLength(const char* sentence) {
#ifdef __SSE2__
  // Sixteen characters at once (a capture's read-ahead covers them). A byte
  // lies in lo..hi when, less lo + 128 (mod 256), it is below
  // hi - lo + 1 - 128 as a signed byte.
  const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sentence));
  const __m128i letter = _mm_cmplt_epi8(_mm_sub_epi8(chunk, _mm_set1_epi8(static_cast<char>('A' + 128))),
                                        _mm_set1_epi8(26 - 128));
  const __m128i digit = _mm_cmplt_epi8(_mm_sub_epi8(chunk, _mm_set1_epi8(static_cast<char>('0' + 128))),
                                       _mm_set1_epi8(10 - 128));
  // The '$' opens the address, the first other character ends it; past the
  // sixteenth, one at a time.
  const auto inAddress = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(letter, digit)));
  int length = std::countr_one(inAddress | 1u);
#else
  int length = 1;
#endif
  while (IsAddressCharacter(sentence[length])) ++length;
  const char end = sentence[length];
  if (end != '\0' && end != ',' && end != '*') return 0;
  return length - 1 == 5 || (sentence[1] == 'P' && length - 1 >= 4) ? length : 0;
}

// The first characters of an address, at most kAddressSize - 1 of them, as
// the bytes of one word, the rest zero: the word of the terminated text
// that AddressCount holds. A capture may be read kSentenceReadAhead bytes
// past its terminator, so the eight bytes are always there to load.
uint64_t AddressKey(const char* sentence, int length) {
  uint64_t word;
  std::memcpy(&word, sentence, sizeof word);
  const int kept = std::min(length, kAddressSize - 1);
  const uint64_t ones = (uint64_t{1} << (8 * kept)) - 1;  // kept < 8 bytes
  return word & (std::endian::native == std::endian::little ? ones : ~(~uint64_t{0} >> (8 * kept)));
}

// The first slot to look in: Fibonacci hashing, the word times 2^64 over
// the golden ratio (rounded to odd), whose top bits mix every byte of it.
unsigned AddressSlot(uint64_t key) {
  constexpr int kSlotBits = std::countr_zero(static_cast<unsigned>(kAddressSlots));
  return static_cast<unsigned>((key * 0x9E3779B97F4A7C15ULL) >> (64 - kSlotBits));
}

uint64_t KeyOf(const AddressCount& counted) {
  uint64_t key;
  std::memcpy(&key, counted.address, sizeof key);
  return key;
}

void CountAddress(SentenceCounts& c, const char* sentence) {
  const int length = AddressLength(sentence);
  if (length == 0) {
    ++c.otherBytes;
    return;
  }
  const uint64_t key = AddressKey(sentence, length);
  // Open addressing, the next slot after a taken one: the table is never
  // full, so a search ends at the address or at a free slot.
  unsigned slot = AddressSlot(key);
  for (; c.addressSlots[slot] != 0; slot = (slot + 1) & (kAddressSlots - 1)) {
    AddressCount& counted = c.addresses[c.addressSlots[slot] - 1];
    if (KeyOf(counted) == key) {
      ++counted.count;
      return;
    }
  }
  if (c.addressCount == kCountedAddresses) {
    ++c.otherAddresses;
    return;
  }
  AddressCount& added = c.addresses[c.addressCount++];
  std::memcpy(added.address, &key, kAddressSize);
  added.count = 1;
  c.addressSlots[slot] = static_cast<uint8_t>(c.addressCount);
}

// "319 $GNGGA", "319 $GNGGA and 58 $GNRMC", "1, 2 and 3": every other-talker
// count that is not zero.
int ListOtherTalkers(const SentenceCounts& c, char* text, size_t size, int64_t& total) {
  int listed = 0, named = 0;
  for (int type = 0; type < kFixTypes; ++type) {
    for (int talker = 0; talker < kOtherTalkers; ++talker) named += c.otherTalkers[type][talker] != 0;
  }
  size_t length = 0;
  total = 0;
  for (int type = 0; type < kFixTypes; ++type) {
    for (int talker = 0; talker < kOtherTalkers; ++talker) {
      const int64_t count = c.otherTalkers[type][talker];
      if (count == 0) continue;
      total += count;
      const char* joint = listed == 0 ? "" : listed + 1 == named ? " and " : ", ";
      const int written = std::snprintf(text + length, size - length, "%s%lld $%s%s", joint,
                                        static_cast<long long>(count), kOtherTalkerNames[talker],
                                        kFixTypeNames[type]);
      if (written > 0) length = std::min(size - 1, length + static_cast<size_t>(written));
      ++listed;
    }
  }
  return named;
}

}  // namespace

void StartSentenceCounts(SentenceCounts& counts) {
  const bool detailed = counts.detailed;
  counts = SentenceCounts{};
  counts.detailed = detailed;
}

void CountOtherTalker(SentenceCounts& counts, const char* sentence) {
  if (sentence[0] != '$') return;
  for (int type = 0; type < kFixTypes; ++type) {
    if (std::memcmp(sentence + 3, kFixTypeNames[type], 3) != 0) continue;
    for (int talker = 0; talker < kOtherTalkers; ++talker) {
      if (std::memcmp(sentence + 1, kOtherTalkerNames[talker], 2) == 0) {
        ++counts.otherTalkers[type][talker];
        return;
      }
    }
    return;
  }
}

void CountSentenceDetails(SentenceCounts& counts, const char* sentence) {
  ++counts.lines;
  if (sentence[0] != '$') return;
  ++counts.sentences;
  CountAddress(counts, sentence);
  CountChecksum(counts, sentence);
}

bool DescribeUnreadSentences(const SentenceCounts& counts, char* text, size_t size) {
  assert(text != nullptr && size > 0);
  if (counts.allSystems) {
    if (counts.rows > 0) return false;
    std::snprintf(text, size, "no cycle with a fix, the table is empty");
    return true;
  }
  // 24 counts of up to twelve digits (a log of tens of terabytes), each
  // with " $" and its address, joined by 22 ", " and one " and ", and the
  // terminator: 24 x (12 + 2 + 5) + 22 x 2 + 5 + 1 = 506.
  char others[512];
  int64_t total = 0;
  const int named = ListOtherTalkers(counts, others, sizeof others, total);
  const char* them = total == 1 ? "it" : "them";
  const char* sentences = total == 1 ? "sentence" : "sentences";
  if (counts.rows > 0) {
    if (named == 0) return false;
    std::snprintf(text, size, "the table leaves out the log's %s %s; --gnss reads %s", others,
                  sentences, them);
    return true;
  }
  // One GGA sentence only opens the first epoch, which is never written.
  const char* why = EpochCounter == 0 ? "no $GPGGA sentence" : "one $GPGGA sentence only";
  if (named == 0) {
    std::snprintf(text, size, "%s, the table is empty", why);
  } else {
    std::snprintf(text, size, "%s, the table is empty; the log has %s %s, --gnss reads %s", why,
                  others, sentences, them);
  }
  return true;
}

}  // namespace quorval
