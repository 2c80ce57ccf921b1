#include "convert/field_tokenizer.h"

#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace quorval {

namespace {

constexpr int kScanLimit = 200;

enum CharClass : unsigned char { kText = 0, kDelimiter = 1, kEndOfLine = 2 };

// One lookup per character instead of five comparisons.
constexpr struct ClassTable {
  CharClass of[256];
  constexpr ClassTable() : of{} {
    of[static_cast<unsigned char>(',')] = kDelimiter;
    of[static_cast<unsigned char>('*')] = kDelimiter;
    of[0] = kEndOfLine;
    of[static_cast<unsigned char>('\r')] = kEndOfLine;
    of[static_cast<unsigned char>('\n')] = kEndOfLine;
  }
} kClasses;

inline CharClass ClassOf(char c) { return kClasses.of[static_cast<unsigned char>(c)]; }

#ifdef __SSE2__
// The delimiters of sentence[from, length), sixteen characters a step: a
// bit per delimiter, then one per position. The last step reads the sixteen
// characters that end the text, with the ones already taken masked off, so
// no read goes past the terminator. Needs length >= 16.
int FindDelimitersSixteenAtATime(SentenceFields& fields, const char* sentence, int from,
                                 int length) {
  const __m128i comma = _mm_set1_epi8(',');
  const __m128i star = _mm_set1_epi8('*');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  int i = from;
  while (i < length) {
    const int start = i + 16 <= length ? i : length - 16;
    const unsigned fresh = 0xFFFFu << (i - start) & 0xFFFFu;
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sentence + start));
    unsigned delimiters = fresh & static_cast<unsigned>(_mm_movemask_epi8(
                                      _mm_or_si128(_mm_cmpeq_epi8(chunk, comma),
                                                   _mm_cmpeq_epi8(chunk, star))));
    const unsigned lineEnds =
        fresh & static_cast<unsigned>(_mm_movemask_epi8(
                    _mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf))));
    const int stop = lineEnds != 0 ? std::countr_zero(lineEnds) : 16;
    if (stop < 16) delimiters &= (1u << stop) - 1;
    for (; delimiters != 0; delimiters &= delimiters - 1) {
      fields.at[fields.count++] = static_cast<unsigned char>(start + std::countr_zero(delimiters));
    }
    if (stop < 16) return start + stop;
    i = start + 16;
  }
  return length;
}
#endif

// Records the delimiters of sentence[from, length) and returns where the
// text ends: at its first line end, or at length.
int FindDelimiters(SentenceFields& fields, const char* sentence, int from, int length) {
#ifdef __SSE2__
  if (length >= 16) return FindDelimitersSixteenAtATime(fields, sentence, from, length);
#endif
  int i = from;
  for (; i < length; ++i) {
    const CharClass c = ClassOf(sentence[i]);
    if (c == kEndOfLine) break;
    if (c == kDelimiter) fields.at[fields.count++] = static_cast<unsigned char>(i);
  }
  return i;
}

}  // namespace

void SplitFields(SentenceFields& fields, const char* sentence) {
  fields.sentence = sentence;
  fields.count = 0;
  int i = 0;
  while (i < kTagLength && ClassOf(sentence[i]) != kEndOfLine) ++i;
  if (i < kTagLength) {
    fields.length = i;
    return;
  }
  // Reads stay inside the text: up to its terminator, at most 200 characters.
  fields.length = FindDelimiters(fields, sentence, i, static_cast<int>(strnlen(sentence, kScanLimit)));
}

}  // namespace quorval
