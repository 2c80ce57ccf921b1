#include "view/png_encoder.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quorval::view {

namespace {

uint32_t Crc32(const unsigned char* bytes, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::string typed = type + data;
  out += typed;
  PutBigEndian(out, Crc32(reinterpret_cast<const unsigned char*>(typed.data()), typed.size()));
}

// A deflate stream with the fixed Huffman codes: bits go out least
// significant first, each code most significant bit first.
class FixedDeflate {
 public:
  explicit FixedDeflate(std::string& out) : out_(out) { Bits(0b011, 3); }  // final block, fixed codes

  void Literal(unsigned value) {
    if (value < 144) Code(0x30 + value, 8);
    else Code(0x190 + value - 144, 9);
  }

  // A repeat of the byte before, length 3 to 258: distance 1 is code 0.
  void RepeatPrevious(unsigned length) {
    static constexpr unsigned kBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                         31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr unsigned kExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                          2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    unsigned i = 28;
    while (kBase[i] > length) --i;
    Symbol(257 + i);
    Bits(length - kBase[i], kExtra[i]);
    Code(0, 5);
  }

  void Finish() {
    Symbol(256);
    if (count_ > 0) out_ += static_cast<char>(bits_ & 0xFF);
  }

 private:
  void Symbol(unsigned symbol) {
    if (symbol < 256) Literal(symbol);
    else if (symbol < 280) Code(symbol - 256, 7);
    else Code(0xC0 + symbol - 280, 8);
  }
  void Code(unsigned code, int length) {
    unsigned reversed = 0;
    for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
    Bits(reversed, length);
  }
  void Bits(unsigned value, int length) {
    bits_ |= static_cast<uint64_t>(value) << count_;
    count_ += length;
    while (count_ >= 8) {
      out_ += static_cast<char>(bits_ & 0xFF);
      bits_ >>= 8;
      count_ -= 8;
    }
  }

  std::string& out_;
  uint64_t bits_ = 0;
  int count_ = 0;
};

std::string Zlib(const std::vector<unsigned char>& data) {
  std::string out("\x78\x01", 2);
  FixedDeflate deflate(out);
  for (size_t i = 0; i < data.size();) {
    size_t run = 0;
    if (i > 0) {
      while (run < 258 && i + run < data.size() && data[i + run] == data[i - 1]) ++run;
    }
    if (run >= 3) {
      deflate.RepeatPrevious(static_cast<unsigned>(run));
      i += run;
    } else {
      deflate.Literal(data[i++]);
    }
  }
  deflate.Finish();
  uint32_t a = 1, b = 0;
  for (unsigned char byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(out, (b << 16) | a);
  return out;
}

}  // namespace

std::string PngBytes(const unsigned char* rgb, int width, int height, size_t stride) {
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  // Filter "up": each byte minus the one above it, so a run of rows alike is zeros.
  std::vector<unsigned char> filtered;
  filtered.reserve((rowBytes + 1) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = rgb + stride * static_cast<size_t>(y);
    filtered.push_back(2);
    for (size_t x = 0; x < rowBytes; ++x) {
      const unsigned char above = y > 0 ? row[x - stride] : 0;
      filtered.push_back(static_cast<unsigned char>(row[x] - above));
    }
  }
  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  PutBigEndian(header, static_cast<uint32_t>(width));
  PutBigEndian(header, static_cast<uint32_t>(height));
  header.append("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", Zlib(filtered));
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace quorval::view
