// Names that would not fit their buffers are refused, never cut or written
// past the buffer.
#pragma once

namespace quorval {

// Tells the user, in a box naming the file, that a name formed from it would
// be longer than its buffer holds (limit characters: 999 for a path, 399
// for a list entry). Returns 1, an opener's "not opened".
int RefuseLongName(const char* name, int limit);

// Whether text of this length fits a buffer of this many bytes with its terminator.
inline bool FitsBuffer(unsigned long length, int bufferSize) {
  return length < static_cast<unsigned long>(bufferSize);
}

}  // namespace quorval
