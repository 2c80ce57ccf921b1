// Text on its way to one output stream, gathered in a block of its own so
// that a conversion writing several tables at once still writes each in
// large pieces.
#pragma once

#include <cstddef>
#include <cstdio>

namespace quorval {

constexpr size_t kTextSinkSize = 128 * 1024;
// The most text one call of SinkRoom may be asked for.
constexpr size_t kMaxSinkPiece = 8 * 1024;

struct TextSink {
  FILE* stream;    // nullptr: this output is not written
  size_t length;
  int writeError;  // the errno value of the first write that failed, else 0
  char text[kTextSinkSize];
};

// Ready for a conversion's text to stream.
void StartSink(TextSink& sink, FILE* stream);

// Room for up to kMaxSinkPiece bytes; SinkWritten says where they end.
char* SinkRoom(TextSink& sink);
inline void SinkWritten(TextSink& sink, const char* end) {
  sink.length = static_cast<size_t>(end - sink.text);
}

void SinkText(TextSink& sink, const char* text, size_t length);

// Writes what is gathered to the stream.
void FlushSink(TextSink& sink);

}  // namespace quorval
