// Splitting a captured sentence into its fields, in one pass. Fields are
// counted from 1, the first after the six-character tag; ',' and '*' close a
// field, and the terminator, CR and LF end the sentence. The checksum after
// '*' is never verified: '*' is only a delimiter.
#pragma once

namespace quorval {

constexpr int kMaxSentenceFields = 200;
constexpr int kTagLength = 6;

// A field where it stands in its sentence. A present field was closed by a
// delimiter (an empty one, ',,', too). A field is absent when the sentence
// ends before a delimiter closes it: its text is then whatever followed the
// last delimiter (the checksum digits, or a last field cut short), and every
// later field is absent with that same text. Numbers read from a field stop
// at the delimiter or line end after it, as no number contains either.
struct FieldSpan {
  bool present;
  const char* text;  // not terminated after length
  int length;
};

// Every field of a captured sentence at once: the positions of the
// delimiters after the tag. Between two delimiters lies a present field;
// after the last one, the text of every absent field.
struct SentenceFields {
  const char* sentence;
  int length;                            // characters read, at most 200
  int count;                             // delimiters at or after the seventh character
  unsigned char at[kMaxSentenceFields];  // their positions
};

// Reads at most the first 200 characters: what a sentence capture can hold.
void SplitFields(SentenceFields& fields, const char* sentence);

// Field number n, counted from 1. Here, and always inline: it is taken once
// per field of every sentence, and left to the compiler's budget it stops
// being inlined as soon as the program grows.
[[gnu::always_inline]] inline FieldSpan FieldAt(const SentenceFields& fields, int number) {
  const int index = number - 1;
  const char* s = fields.sentence;
  if (index + 1 < fields.count) {
    const int start = fields.at[index] + 1;
    return FieldSpan{true, s + start, fields.at[index + 1] - start};
  }
  // Past the last delimiter every field is absent and reads the text after
  // it, or nothing at all when there was no delimiter.
  if (fields.count == 0) return FieldSpan{false, s + fields.length, 0};
  const int start = fields.at[fields.count - 1] + 1;
  return FieldSpan{false, s + start, fields.length - start};
}

// The character after field n: the delimiter that closed it; for an absent
// field, the last delimiter before it, or the seventh character of the
// sentence when even the first field is absent.
[[gnu::always_inline]] inline char CharAfterField(const SentenceFields& fields, int number) {
  const int index = number - 1;
  if (index + 1 < fields.count) return fields.sentence[fields.at[index + 1]];
  if (fields.count <= 1) return fields.length > kTagLength ? fields.sentence[kTagLength] : '\0';
  return fields.sentence[fields.at[fields.count - 1]];
}

}  // namespace quorval
