#include "backends/console/terminal_text.h"

#include <cstdio>
#include <cstring>

namespace quorval {

namespace {

// The length of the character at p when a UTF-8 terminal shows it: a
// printable ASCII byte, or a well-formed sequence that is not a C1 control.
// 0 for a byte that must be escaped.
size_t ShownLength(const unsigned char* p) {
  if (*p >= 0x20 && *p < 0x7F) return 1;
  const size_t length = *p >= 0xC2 && *p <= 0xDF ? 2 : *p >= 0xE0 && *p <= 0xEF ? 3
                        : *p >= 0xF0 && *p <= 0xF4 ? 4 : 0;
  for (size_t i = 1; i < length; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
  }
  if (length == 2 && p[0] == 0xC2 && p[1] < 0xA0) return 0;  // C1 controls
  return length;
}

bool NeedsNoQuotes(const char* name) {
  if (name[0] == '\0' || name[0] == '#' || name[0] == '~') return false;
  if ((name[0] == '{' || name[0] == '}') && name[1] == '\0') return false;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p != '\0';) {
    const size_t length = ShownLength(p);
    if (length == 0) return false;
    if (length == 1 && std::strchr("%+,-./:@_]{}#~", *p) == nullptr &&
        !(*p >= '0' && *p <= '9') && !((*p | 0x20) >= 'a' && (*p | 0x20) <= 'z')) {
      return false;
    }
    p += length;
  }
  return true;
}

// A name with a single quote and nothing a shell expands inside double
// quotes reads best in double quotes.
bool ReadsInDoubleQuotes(const char* name) {
  if (std::strchr(name, '\'') == nullptr) return false;
  for (const char* p = name; *p != '\0'; ++p) {
    if (std::strchr("'%+,-./:]_", *p) == nullptr && !(*p >= '0' && *p <= '9') &&
        !((*p | 0x20) >= 'a' && (*p | 0x20) <= 'z')) {
      return false;
    }
  }
  return true;
}

void AppendEscape(std::string& out, unsigned char byte) {
  static const char kLetters[] = "abtnvfr";  // 7 to 13
  if (byte >= 7 && byte <= 13) {
    out += '\\';
    out += kLetters[byte - 7];
    return;
  }
  char octal[5];
  std::snprintf(octal, sizeof octal, "\\%03o", byte);
  out += octal;
}

struct Wording {
  const char* caption;
  const char* line;  // each %s a quoted subject
  int subjects;
};

// Boxes whose desktop text is a retry prompt or the bare path say on a
// terminal what happened, in a command-line tool's words.
constexpr Wording kWordings[] = {
    {"Failure to open Input File", "cannot open %s", 1},
    {"Failure to open output file", "cannot create %s", 1},
    {"Failure writing output file", "cannot write %s completely", 1},
    {"Failure writing diagnostics file", "cannot write the diagnostics file %s completely", 1},
    {"Output would overwrite input",
     "refusing to write %s: it is the same file as %s, which the batch reads; nothing was "
     "converted",
     2},
};

}  // namespace

std::string QuoteName(const char* name) {
  if (ReadsInDoubleQuotes(name)) return std::string("\"") + name + "\"";
  // Runs of shown characters in '...', runs of escapes in $'...', and each
  // single quote as \' between them.
  std::string out = "'";
  bool escaping = false;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p != '\0';) {
    const size_t length = ShownLength(p);
    if (*p == '\'') {
      out += "'\\''";
      escaping = false;
    } else if (length == 0) {
      if (!escaping) out += "'$'";
      escaping = true;
      AppendEscape(out, *p);
    } else {
      if (escaping) out += "''";
      escaping = false;
      out.append(reinterpret_cast<const char*>(p), length);
    }
    p += length == 0 ? 1 : length;
  }
  out += '\'';
  return out;
}

std::string ShowName(const char* name) { return NeedsNoQuotes(name) ? name : QuoteName(name); }

std::string WordBoxForTerminal(const char* text, const char* caption, int reason,
                               const char* subject, const char* otherSubject) {
  std::string line;
  const int given = subject == nullptr ? 0 : otherSubject == nullptr ? 1 : 2;
  for (const Wording& wording : kWordings) {
    if (caption == nullptr || std::strcmp(caption, wording.caption) != 0 ||
        wording.subjects > given) {
      continue;
    }
    const std::string first = QuoteName(subject);
    const std::string second = given == 2 ? QuoteName(otherSubject) : "";
    line.resize(std::strlen(wording.line) + first.size() + second.size());
    line.resize(static_cast<size_t>(std::snprintf(line.data(), line.size() + 1, wording.line,
                                                  first.c_str(), second.c_str())));
    if (reason != 0) line += std::string(": ") + std::strerror(reason);
    return line;
  }
  if (caption != nullptr && caption[0] != '\0' && std::strcmp(caption, text) != 0) {
    line = std::string(caption) + ": ";
  }
  for (const char* p = text; *p != '\0';) {
    const char* named = nullptr;
    for (const char* s : {subject, otherSubject}) {
      if (s != nullptr && s[0] != '\0' && std::strncmp(p, s, std::strlen(s)) == 0) named = s;
    }
    if (named != nullptr) {
      line += QuoteName(named);
      p += std::strlen(named);
    } else {
      // One line per message; a blank line between paragraphs is one space.
      if (*p != '\n' || p == text || p[-1] != '\n') line += *p == '\n' ? ' ' : *p;
      ++p;
    }
  }
  if (reason != 0) line += std::string(" (") + std::strerror(reason) + ")";
  return line;
}

}  // namespace quorval
