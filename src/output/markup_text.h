// Text inside the XML of GPX and KML and the JSON of GeoJSON: names of
// logs, which may hold any byte a file name can.
#pragma once

#include <cstddef>

namespace quorval {

// The most text one character of input may become.
constexpr size_t kMaxEscapedPerByte = 6;

// Escaped for XML character data and attribute values (& < > " '); a byte
// that XML 1.0 does not allow, or that is no part of a valid UTF-8
// character, becomes '?'. out must hold kMaxEscapedPerByte * length bytes.
char* WriteXmlText(char* out, const char* text, size_t length);

// Escaped for the inside of a JSON string (" \ and control characters as
// \u00XX); invalid UTF-8 becomes '?'.
char* WriteJsonText(char* out, const char* text, size_t length);

}  // namespace quorval
