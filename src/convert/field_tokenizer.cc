#include "convert/field_tokenizer.h"

char FieldBuffer[kFieldBufferSize + 1];

namespace {

constexpr int kScanLimit = 200;

inline bool IsDelimiter(char c) { return c == ',' || c == '*'; }
inline bool IsEndOfLine(char c) { return c == '\0' || c == '\r' || c == '\n'; }

}  // namespace

int NextField(const char*& cursor) {
  // Only the terminator is observable, so the buffer is not zero-filled.
  FieldBuffer[0] = '\0';

  // A cursor inside text (a tag longer than six characters) passes over the
  // rest of it; that text belongs to no field.
  const char* p = cursor;
  int scanned = 0;
  while (!IsDelimiter(*p)) {
    if (IsEndOfLine(*p) || scanned == kScanLimit) return 0;
    ++p;
    ++scanned;
  }
  ++p;

  int copied = 0;
  while (!IsDelimiter(p[copied])) {
    if (IsEndOfLine(p[copied]) || copied == kScanLimit) {
      FieldBuffer[copied] = '\0';
      return 0;
    }
    FieldBuffer[copied] = p[copied];
    ++copied;
  }
  FieldBuffer[copied] = '\0';
  cursor = p + copied;
  return copied + 1;
}
