#include "output/markup_text.h"

#include <cstring>

namespace quorval {

namespace {

// The length of the valid UTF-8 character at text, 0 when the bytes there
// are none (a stray continuation byte, a cut or overlong sequence).
size_t Utf8Length(const unsigned char* text, size_t left) {
  const unsigned char lead = text[0];
  size_t length;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else {
    return 0;
  }
  if (length > left) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((text[i] & 0xC0) != 0x80) return 0;
  }
  // No overlong forms, no surrogates, nothing past U+10FFFF.
  if ((lead == 0xE0 && text[1] < 0xA0) || (lead == 0xED && text[1] > 0x9F) ||
      (lead == 0xF0 && text[1] < 0x90) || (lead == 0xF4 && text[1] > 0x8F)) {
    return 0;
  }
  return length;
}

char* Put(char* out, const char* text) {
  const size_t length = std::strlen(text);
  std::memcpy(out, text, length);
  return out + length;
}

template <typename Escape>
char* WriteEscaped(char* out, const char* text, size_t length, Escape escape) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (size_t i = 0; i < length;) {
    const size_t character = Utf8Length(bytes + i, length - i);
    if (character == 0) {
      *out++ = '?';
      ++i;
    } else if (character > 1) {
      std::memcpy(out, text + i, character);
      out += character;
      i += character;
    } else {
      out = escape(out, text[i++]);
    }
  }
  return out;
}

}  // namespace

char* WriteXmlText(char* out, const char* text, size_t length) {
  return WriteEscaped(out, text, length, [](char* o, char c) {
    switch (c) {
      case '&': return Put(o, "&amp;");
      case '<': return Put(o, "&lt;");
      case '>': return Put(o, "&gt;");
      case '"': return Put(o, "&quot;");
      case '\'': return Put(o, "&apos;");
      default:
        *o++ = (c >= 0 && c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F ? '?' : c;
        return o;
    }
  });
}

char* WriteJsonText(char* out, const char* text, size_t length) {
  return WriteEscaped(out, text, length, [](char* o, char c) {
    if (c == '"' || c == '\\') {
      *o++ = '\\';
      *o++ = c;
    } else if (c >= 0 && c < 0x20) {
      constexpr char kHex[] = "0123456789abcdef";
      o = Put(o, "\\u00");
      *o++ = kHex[c >> 4];
      *o++ = kHex[c & 0xF];
    } else {
      *o++ = c;
    }
    return o;
  });
}

}  // namespace quorval
