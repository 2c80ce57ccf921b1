// Standard input and output carry a log or a table byte for byte. On
// Windows they start as text streams, which would write each line feed of
// the table's CR LF as CR LF again and end a log at its first Ctrl-Z.
#pragma once

#include <cstdio>

namespace quorval {

// Switches the stream to binary mode where the platform distinguishes the
// two; elsewhere it does nothing.
void UseBinaryMode(FILE* stream);

}  // namespace quorval
