// Walking a captured sentence field by field.
#pragma once

constexpr int kFieldBufferSize = 200;

// The text of the field read last, always zero-terminated.
extern char FieldBuffer[kFieldBufferSize + 1];

// Copy the next field after the cursor into FieldBuffer. Returns the field's
// length plus 1 when a ',' or '*' closed it (so an empty field gives 1), or 0
// when the end of the text came first; then the cursor stays where it was and
// FieldBuffer holds whatever text followed the delimiter (the checksum digits,
// or an unterminated last field).
int NextField(const char*& cursor);

// A field as the n-th NextField call from the seventh character would find
// it: result as NextField returns it, and the text that it would leave in
// FieldBuffer (not terminated after length; numbers read from it stop at the
// ',' or '*' that follows, as they stop at FieldBuffer's terminator, since
// no number contains either).
struct FieldSpan {
  int result;
  const char* text;
  int length;
};

// Every field of a captured sentence at once, from one pass over it: the
// positions of the delimiters after the six-character tag. Between two
// delimiters lies a present field; after the last one, the text that every
// further call would report as absent.
struct SentenceFields {
  const char* sentence;
  int length;                         // characters read, at most 200
  int count;                          // delimiters at or after the seventh character
  unsigned char at[kFieldBufferSize];  // their positions
};

// Reads at most the first 200 characters: what a sentence capture can hold.
void SplitFields(SentenceFields& fields, const char* sentence);

// Field number n, counted from 1 as in NMEA 0183.
FieldSpan FieldAt(const SentenceFields& fields, int number);

// The character on which the walk's cursor rests after field number n.
char CharAfterField(const SentenceFields& fields, int number);
