// quorval-getc-scan: reads a log a byte at a time with getc_unlocked from a
// stream opened as the converter opens its input, and counts its lines. The
// converter's time over this one's tells how close the conversion comes to
// merely looking at every byte once.
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quorval-getc-scan LOG\n");
    return 1;
  }
  FILE* log = std::fopen(argv[1], "rb");
  if (log == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::setvbuf(log, nullptr, _IOFBF, 16000);
  long long lines = 0;
  int c;
  while ((c = getc_unlocked(log)) != EOF) lines += c == '\n';
  const bool failed = std::ferror(log) != 0;
  std::fclose(log);
  if (failed) {
    std::perror(argv[1]);
    return 1;
  }
  std::printf("%lld\n", lines);
  return 0;
}
