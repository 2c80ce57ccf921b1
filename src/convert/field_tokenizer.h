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
