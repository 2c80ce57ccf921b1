// One conversion: a log in, the CSV table out.
#pragma once

#include <cstdio>

namespace quorval {

// Reads the log to its end (or a read error, or a cancel request) and writes
// the header at its first GGA sentence and a row at every later one. Resets
// only the epoch counter; the record keeps what earlier logs left in it.
void ConvertLog(FILE* input, FILE* output);

}  // namespace quorval
