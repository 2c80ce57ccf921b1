#include "files/binary_streams.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace quorval {

void UseBinaryMode(FILE* stream) {
#ifdef _WIN32
  std::fflush(stream);
  _setmode(_fileno(stream), _O_BINARY);
#else
  (void)stream;
#endif
}

}  // namespace quorval
