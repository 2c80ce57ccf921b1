// Reading a log that arrives while it is converted: a pipe, a FIFO, a
// terminal or a device. Such a read takes what has arrived instead of
// waiting for a whole block, and before it waits, the rows made so far go
// out, so that a receiver's sentences become rows as they come. A log in a
// regular file is read in whole blocks by the standard library instead.
#pragma once

#include <cstddef>
#include <cstdio>

#include "convert/sentence_capture.h"

namespace quorval {

// Whether the stream's log arrives while it is read (not a regular file).
bool ArrivesWhileRead(FILE* stream);

// Reads what has arrived into block, up to size bytes, first sending the
// rows out (flush) when nothing is there yet and then waiting for more. Returns 0 at the end
// of the input, after a read error (its reason in readError), and when a
// request to end the program came while it waited.
size_t ReadArrived(FILE* stream, unsigned char* block, size_t size, const RowsFlush& flush, int& readError);

}  // namespace quorval
