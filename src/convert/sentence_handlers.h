// The handlers of the recognised sentences. Each takes the captured sentence
// (zero-terminated, starting with its six-character tag), reads it without
// changing it and updates the epoch record.
#pragma once

namespace quorval {

// Bytes after a sentence's terminator that a handler may read, never use:
// numbers are read eight characters at a time. A capture always has them,
// in the padding of its block or its spill buffer.
constexpr int kSentenceReadAhead = 16;

void HandleGga(const char* sentence);
void HandleRmc(const char* sentence);
void HandleVtg(const char* sentence);
void HandleZda(const char* sentence);
void HandleGsa(const char* sentence);
void HandleGsv(const char* sentence);

}  // namespace quorval
