// Names and message boxes as a terminal shows them.
#pragma once

#include <string>

namespace quorval {

// The name quoted as a POSIX shell reads it back, the way GNU tools name
// files in their messages: 'day1.log', "don't", and every byte a terminal
// cannot show written as an escape: 'day'$'\n''1.log'.
std::string QuoteName(const char* name);

// The same, but a name with nothing in it that needs quoting stands bare
// (day1-103+000): for the progress line and the closing summary.
std::string ShowName(const char* name);

// A box as one line for a terminal, without the program's name and the line
// end. A caption the console words itself ("cannot create 'out.csv'")
// takes the quoted subjects; any other box shows its caption and text with
// its subjects quoted and its line breaks as blanks. The system's reason
// follows.
std::string WordBoxForTerminal(const char* text, const char* caption, int reason,
                               const char* subject, const char* otherSubject);

}  // namespace quorval
