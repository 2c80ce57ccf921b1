// The reference converter from the command line, for comparing by hand:
// quorval-reference LOG CSV [LOG CSV]... converts the logs in order, sharing
// one record as the logs of one program run do.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "reference/reference_converter.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: quorval-reference LOG CSV [LOG CSV]...\n");
    return 1;
  }
  for (int i = 1; i + 1 < argc; i += 2) {
    FILE* input = std::fopen(argv[i], "rb");
    if (input == nullptr) {
      std::fprintf(stderr, "cannot open '%s': %s\n", argv[i], std::strerror(errno));
      return 2;
    }
    FILE* output = std::fopen(argv[i + 1], "wb");
    if (output == nullptr) {
      std::fprintf(stderr, "cannot create '%s': %s\n", argv[i + 1], std::strerror(errno));
      return 3;
    }
    reference::ConvertLog(input, output);
    std::fclose(input);
    if (std::fclose(output) != 0) {
      std::fprintf(stderr, "cannot write '%s': %s\n", argv[i + 1], std::strerror(errno));
      return 3;
    }
  }
  return 0;
}
