#include "convert/field_tokenizer.h"

#include <bit>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

char FieldBuffer[kFieldBufferSize + 1];

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

}  // namespace

int NextField(const char*& cursor) {
  // Only the terminator is observable, so the buffer is not zero-filled.
  FieldBuffer[0] = '\0';

  // A cursor inside text (a tag longer than six characters) passes over the
  // rest of it; that text belongs to no field.
  const char* p = cursor;
  int scanned = 0;
  while (ClassOf(*p) == kText && scanned < kScanLimit) {
    ++p;
    ++scanned;
  }
  if (ClassOf(*p) != kDelimiter) return 0;
  ++p;

  int copied = 0;
  while (copied < kScanLimit && ClassOf(p[copied]) == kText) {
    FieldBuffer[copied] = p[copied];
    ++copied;
  }
  FieldBuffer[copied] = '\0';
  if (ClassOf(p[copied]) != kDelimiter) return 0;
  cursor = p + copied;
  return copied + 1;
}

namespace {
constexpr int kTagLength = 6;
}

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
  const int length = static_cast<int>(strnlen(sentence, kScanLimit));
#ifdef __SSE2__
  // Sixteen characters a step: a bit per delimiter, then one per position.
  // The last step reads the sixteen characters that end the text, with the
  // ones already taken masked off, so no read goes past the terminator.
  if (length >= 16) {
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i star = _mm_set1_epi8('*');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
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
      if (stop < 16) {
        fields.length = start + stop;
        return;
      }
      i = start + 16;
    }
  }
#endif
  for (; i < length; ++i) {
    const CharClass c = ClassOf(sentence[i]);
    if (c == kEndOfLine) break;
    if (c == kDelimiter) fields.at[fields.count++] = static_cast<unsigned char>(i);
  }
  fields.length = i;
}

FieldSpan FieldAt(const SentenceFields& fields, int number) {
  const int index = number - 1;
  const char* s = fields.sentence;
  if (index + 1 < fields.count) {
    const int start = fields.at[index] + 1;
    const int length = fields.at[index + 1] - start;
    return FieldSpan{length + 1, s + start, length};
  }
  // The walk stopped on the last delimiter: it reports the text after it as
  // absent from there on, or nothing at all when there was no delimiter.
  if (fields.count == 0) return FieldSpan{0, s + fields.length, 0};
  const int start = fields.at[fields.count - 1] + 1;
  return FieldSpan{0, s + start, fields.length - start};
}

char CharAfterField(const SentenceFields& fields, int number) {
  const int index = number - 1;
  if (index + 1 < fields.count) return fields.sentence[fields.at[index + 1]];
  // An absent field leaves the cursor where the previous field left it: on
  // the last delimiter, or still at the seventh character when even the
  // first field was absent.
  if (fields.count <= 1) return fields.length > kTagLength ? fields.sentence[kTagLength] : '\0';
  return fields.sentence[fields.at[fields.count - 1]];
}
