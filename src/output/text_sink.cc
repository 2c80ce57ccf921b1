#include "output/text_sink.h"

#include <cerrno>
#include <cstring>

namespace quorval {

void StartSink(TextSink& sink, FILE* stream) {
  sink.stream = stream;
  sink.length = 0;
  sink.writeError = 0;
}

void FlushSink(TextSink& sink) {
  if (sink.length == 0) return;
  if (std::fwrite(sink.text, 1, sink.length, sink.stream) != sink.length && sink.writeError == 0) {
    sink.writeError = errno != 0 ? errno : EIO;
  }
  sink.length = 0;
}

char* SinkRoom(TextSink& sink) {
  if (kTextSinkSize - sink.length < kMaxSinkPiece) FlushSink(sink);
  return sink.text + sink.length;
}

void SinkText(TextSink& sink, const char* text, size_t length) {
  while (length > 0) {
    const size_t piece = length < kMaxSinkPiece ? length : kMaxSinkPiece;
    char* out = SinkRoom(sink);
    std::memcpy(out, text, piece);
    SinkWritten(sink, out + piece);
    text += piece;
    length -= piece;
  }
}

}  // namespace quorval
