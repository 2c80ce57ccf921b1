// A deliberately plain converter of NMEA logs into the CSV table, written
// straight from the conversion rules and kept only to compare the fast
// converter with: a byte at a time with fgetc, field by field with NextField,
// numbers read by the C library in the "C" locale, fixed-point text rounded
// by hand from the double's exact decimal expansion. Its own epoch record
// lives for the whole process, as the program's does.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace reference {

constexpr int kFieldBufferSize = 200;

// The text of the field read last, always zero-terminated.
extern char FieldBuffer[kFieldBufferSize + 1];

// Copies the field after the delimiter at the cursor into FieldBuffer and
// leaves the cursor on the delimiter that closes it. Returns the field's
// length plus 1, or 0 when the end of the text came before a closing
// delimiter; then the cursor stays and FieldBuffer keeps the text copied.
int NextField(const char*& cursor);

// A field as a real and as a 32-bit integer: a leading '-' and the zeros
// after it first, then atof or atoi of the rest.
double ParseReal(const char* text);
int32_t ParseInt(const char* text);

// "%.Nf" text, except that a value exactly halfway rounds away from zero.
std::string FixedText(double value, int decimals);

// One conversion: the header at the first GGA, a row at every later one.
void ConvertLog(FILE* input, FILE* output);

// Every record value back to zero, as at program start.
void ResetRecord();

}  // namespace reference
