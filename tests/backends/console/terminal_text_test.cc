// What the command line shows on a terminal: names quoted as a shell reads
// them back, and the progress line of a log of any size.
#include "backends/console/terminal_text.h"

#include <gtest/gtest.h>

#include "backends/console/console_backend.h"

using namespace quorval;

namespace {

TEST(TerminalText, NamesAreQuotedAsAShellReadsThemBack) {
  const struct {
    const char* name;
    const char* quoted;  // in a message
    const char* shown;   // on the progress line
  } cases[] = {
      {"day1-103+000", "'day1-103+000'", "day1-103+000"},
      {"a b", "'a b'", "'a b'"},
      {"don't", "\"don't\"", "\"don't\""},
      {"nl\nx", "'nl'$'\\n''x'", "'nl'$'\\n''x'"},
      {"\x01'", "''$'\\001'\\'''", "''$'\\001'\\'''"},
      {"a\x1b", "'a'$'\\033'", "'a'$'\\033'"},
      {"\xc3\xa9t\xc3\xa9", "'\xc3\xa9t\xc3\xa9'", "\xc3\xa9t\xc3\xa9"},  // UTF-8 is shown
      {"\xc2\x85", "''$'\\302\\205'", "''$'\\302\\205'"},                  // a C1 control is not
      {"\xff", "''$'\\377'", "''$'\\377'"},
      {"~t", "'~t'", "'~t'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QuoteName(c.name), c.quoted) << c.name;
    EXPECT_EQ(ShowName(c.name), c.shown) << c.name;
  }
}

TEST(TerminalText, ProgressLineNeverPassesTheWhole) {
  const struct {
    const char* read;
    const char* total;
    int permille;
    const char* line;
  } cases[] = {
      {"600", "1200", 500, "day1-103+000   50%  0.6 of 1.2 MB  0.3 MB/s"},
      {"600", "0", 0, "day1-103+000  0.6 MB  0.3 MB/s"},  // a pipe: no total
      {"128200", "99500", 1000, "day1-103+000  128.2 MB, growing  64.1 MB/s"},
  };
  for (const auto& c : cases) {
    char line[128];
    FormatDialogLine(line, sizeof line, "day1-103+000", c.read, c.total, c.permille, 2.0);
    EXPECT_STREQ(line, c.line);
  }
}

}  // namespace
