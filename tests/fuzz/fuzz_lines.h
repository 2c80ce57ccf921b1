// The fuzz input as a capture would hand it on: line by line, each line's
// printable start, at most a capture's length.
#pragma once

#include <cstddef>
#include <string>

namespace fuzz_lines {

template <typename Visit>
void ForEachCapture(const std::string& input, size_t capacity, Visit visit) {
  size_t start = 0;
  while (start < input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    size_t length = 0;
    while (start + length < end && length < capacity &&
           static_cast<unsigned char>(input[start + length]) >= 32 && input[start + length] <= 126) {
      ++length;
    }
    visit(input.substr(start, length));
    start = end + 1;
  }
}

}  // namespace fuzz_lines
