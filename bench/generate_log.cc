// quorval-genlog: writes a synthetic 1 Hz receiver log of a given size, for
// measuring how fast logs convert.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "log_generator.h"

namespace {

constexpr const char kProgram[] = "quorval-genlog";

// Bytes, optionally with k, M or G (powers of 1000, as the progress line
// counts megabytes).
bool ParseSize(const char* text, long long& size) {
  char* end = nullptr;
  errno = 0;
  long long value = std::strtoll(text, &end, 10);
  if (end == text || errno != 0 || value < 0) return false;
  long long unit = 1;
  if (*end == 'k' || *end == 'K') unit = 1000, ++end;
  else if (*end == 'M') unit = 1000 * 1000, ++end;
  else if (*end == 'G') unit = 1000 * 1000 * 1000, ++end;
  if (*end != '\0' || value > LLONG_MAX / unit) return false;
  size = value * unit;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  long long size = 0;
  const bool allSystems = argc == 4 && std::strcmp(argv[3], "--all-systems") == 0;
  if ((argc != 3 && !allSystems) || !ParseSize(argv[2], size)) {
    std::fprintf(stderr,
                 "Usage: %s OUT SIZE_BYTES [--all-systems]\n"
                 "Write a synthetic 1 Hz NMEA 0183 log of exactly SIZE_BYTES bytes\n"
                 "(suffix k, M or G for thousands, millions, billions) to OUT ('-': standard output),\n"
                 "of a GPS receiver, or with --all-systems of a GPS, GLONASS, Galileo and BeiDou one.\n",
                 kProgram);
    return 1;
  }
  const bool toStdout = std::strcmp(argv[1], "-") == 0;
  FILE* out = toStdout ? stdout : std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "%s: cannot open '%s': %s\n", kProgram, argv[1], std::strerror(errno));
    return 2;
  }
  int status = WriteSyntheticLog(out, size, allSystems ? SyntheticLog::kAllSystems : SyntheticLog::kGps);
  if (std::fclose(out) != 0) status = -1;
  if (status != 0) {
    std::fprintf(stderr, "%s: writing '%s' failed: %s\n", kProgram, argv[1], std::strerror(errno));
    return 3;
  }
  return 0;
}
