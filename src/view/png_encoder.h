// A picture as the bytes of a PNG file, for a desktop backend that has no
// image library of its own (the Win32 table window's export).
#pragma once

#include <string>

namespace quorval::view {

// rgb holds height rows of width pixels, top row first, three bytes (red,
// green, blue) per pixel, rows stride bytes apart. Plots are mostly runs of
// one colour, so each row is stored as its difference to the row above and
// the runs are compressed; nothing else is attempted.
std::string PngBytes(const unsigned char* rgb, int width, int height, size_t stride);

}  // namespace quorval::view
