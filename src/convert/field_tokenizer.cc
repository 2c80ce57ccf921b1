#include "convert/field_tokenizer.h"

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
