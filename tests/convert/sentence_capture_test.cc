#include "convert/sentence_capture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "convert_test_support.h"

using namespace quorval;

namespace {

using convert_test::TempFileWith;

struct Line {
  ReadStatus status;
  std::string capture;  // meaningful for complete lines only
  int64_t position;     // after a complete line: just past its line feed
  bool broken = false;  // a control byte stopped the capture inside the line

  bool operator==(const Line& other) const {
    return status == other.status && position == other.position &&
           (status == kEndOfInput || (capture == other.capture && broken == other.broken));
  }
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
  return out << (line.status == kLineComplete ? "line '" : "end '") << line.capture << "' at "
             << line.position << (line.broken ? " broken" : "");
}

// The capture rules applied one byte at a time, as a receiver log is read.
std::vector<Line> ReferenceCapture(const std::string& bytes) {
  std::vector<Line> lines;
  std::string capture;
  bool capturing = false, stopped = false, broken = false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == '$') {
      capturing = true;
      stopped = broken = false;
      capture.clear();
    }
    const bool control = byte < 32 || byte > 126;
    if (stopped && byte != '\r' && byte != '\n') broken = true;
    if (capturing && control && byte != '\n') {
      stopped = true;
      broken = byte != '\r';
    }
    if (control || (capturing && capture.size() == kSentenceCapacity)) capturing = false;
    if (capturing) capture += static_cast<char>(byte);
    if (byte == '\n') {
      lines.push_back({kLineComplete, capture, static_cast<int64_t>(i + 1), broken});
      capture.clear();
      capturing = stopped = broken = false;
    }
  }
  lines.push_back({kEndOfInput, "", static_cast<int64_t>(bytes.size())});
  return lines;
}

// Every line through ReadSentence, reading the file in blocks of blockSize.
std::vector<Line> Capture(const std::string& bytes, size_t blockSize) {
  std::vector<Line> lines;
  FILE* file = TempFileWith(bytes);
  std::vector<unsigned char> block(blockSize + kReadBlockPadding);
  LogReader reader;
  StartReading(reader, file, block.data(), blockSize);
  char spill[kSentenceCapacity + 1 + kReadBlockPadding];
  for (;;) {
    std::memset(spill, 'Z', sizeof spill);
    const char* sentence = nullptr;
    const ReadStatus status = ReadSentence(reader, spill, kSentenceCapacity, sentence);
    if (status == kLineComplete) {
      // The capture reads as a terminated string of at most 200 characters.
      const void* end = std::memchr(sentence, '\0', kSentenceCapacity + 1);
      EXPECT_NE(end, nullptr) << "capture not terminated";
      if (end == nullptr) break;
    }
    lines.push_back({status, status == kLineComplete ? sentence : "", ReaderPosition(reader),
                     status == kLineComplete && reader.broken});
    if (status == kEndOfInput) break;
  }
  std::fclose(file);
  return lines;
}

// Small blocks make lines, tags and the 200-character cut straddle reads.
const size_t kBlockSizes[] = {1, 2, 7, 16, 199, 201, 4096};

TEST(SentenceCapture, EachLineYieldsTheTextFromItsLastDollar) {
  const std::string a250(250, 'A');
  const struct {
    const char* scenario;
    std::string line;
    std::string capture;
    bool broken = false;  // the capture stopped inside the line, not at its end
  } cases[] = {
      {"CR LF ends a sentence", "$GPGGA,1,2\r\n", "$GPGGA,1,2"},
      {"CR CR LF ends one too", "$GPGGA,1,2\r\r\n", "$GPGGA,1,2"},
      {"a CR inside the line breaks it", "$GPGGA,1\r2\r\n", "$GPGGA,1", true},
      {"NULs after a sentence cut short", std::string("$GPGGA,1\0\0\r\n", 12), "$GPGGA,1", true},
      {"a restart after a broken capture is whole", std::string("$GPGGA,1\0$GPGGA,2\n", 18),
       "$GPGGA,2"},
      {"a control byte after the cut at 200 characters", "$" + a250 + "\t\n", "$" + a250.substr(0, 199)},
      {"text before the '$' is ignored", "xyz$GPGGA,1\n", "$GPGGA,1"},
      {"a second '$' restarts the capture", "$GPGSV,3,1,1$GPGGA,5\n", "$GPGGA,5"},
      {"a restart leaves nothing of the longer sentence behind",
       "$GPGGA,123519,4807.038,N,01131.000,E$GPVTG,1\n", "$GPVTG,1"},
      {"a TAB stops the capture but keeps the text before it",
       "$GPGGA,123519,4807.038\tjunk,more\r\n", "$GPGGA,123519,4807.038", true},
      {"a restart after a stop", "$A\tB$C\tD\n", "$C", true},
      {"NUL stops the capture", std::string("$ABC\0DEF\n", 9), "$ABC", true},
      {"a byte above 127 stops the capture", "$GP\x80GGA\n", "$GP", true},
      {"DEL stops the capture", "$GPGGA,\x7f" "1\n", "$GPGGA,", true},
      {"a line without '$' yields nothing", "no sentence here\n", ""},
      {"an empty line yields nothing", "\n", ""},
      {"a long sentence is cut to 200 characters", "$" + a250 + "\n", "$" + a250.substr(0, 199)},
      {"a '$' after the cut restarts", "$" + a250 + "$B\n", "$B"},
      {"exactly 200 characters", "$" + a250.substr(0, 199) + "\r\n", "$" + a250.substr(0, 199)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scenario);
    for (size_t blockSize : kBlockSizes) {
      const auto lines = Capture(c.line, blockSize);
      ASSERT_EQ(lines.size(), 2u) << "block size " << blockSize;
      EXPECT_EQ(lines[0].status, kLineComplete);
      EXPECT_EQ(lines[0].capture, c.capture) << "block size " << blockSize;
      EXPECT_EQ(lines[0].broken, c.broken) << "block size " << blockSize;
      EXPECT_EQ(lines[0].position, static_cast<int64_t>(c.line.size()));
      EXPECT_EQ(lines[1].status, kEndOfInput);
    }
  }
}

TEST(SentenceCapture, OnlyALineFeedCompletesALine) {
  for (size_t blockSize : kBlockSizes) {
    // A carriage return alone never ends a line: the whole file is one
    // unfinished line.
    auto lines = Capture("$GPGGA,1\r$GPGGA,2\r$GPGGA,3\r", blockSize);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].status, kEndOfInput);
    // The last line without line feed is read but not reported.
    lines = Capture("$GPGGA,1\n$GPGGA,2", blockSize);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].capture, "$GPGGA,1");
    EXPECT_EQ(lines[1].status, kEndOfInput);
    EXPECT_EQ(lines[1].position, 17);
    EXPECT_EQ(Capture("", blockSize).size(), 1u);
  }
}

TEST(SentenceCapture, PositionsCountFromWhereTheStreamStood) {
  FILE* file = TempFileWith("skip\n$GPVTG,1\n");
  std::fseek(file, 5, SEEK_SET);
  unsigned char block[4 + kReadBlockPadding];
  LogReader reader;
  StartReading(reader, file, block, 4);
  char spill[kSentenceCapacity + 1 + kReadBlockPadding];
  const char* sentence = nullptr;
  ASSERT_EQ(ReadSentence(reader, spill, kSentenceCapacity, sentence), kLineComplete);
  EXPECT_STREQ(sentence, "$GPVTG,1");
  EXPECT_EQ(ReaderPosition(reader), 14);
  std::fclose(file);
}

// Byte soup heavy in what the capture rules care about: '$', control bytes,
// bytes above 127, and runs long enough to reach the 200-character cut.
std::string ByteSoup(std::mt19937& rng) {
  std::string bytes;
  const size_t length = rng() % 3000;
  while (bytes.size() < length) {
    const unsigned kind = rng() % 100;
    if (kind < 6) bytes += '$';
    else if (kind < 12) bytes += '\n';
    else if (kind < 16) bytes += '\r';
    else if (kind < 18) bytes += '\t';
    else if (kind < 20) bytes += '\0';
    else if (kind < 22) bytes += static_cast<char>(0x7f + rng() % 0x81);
    else if (kind < 24) bytes += std::string(190 + rng() % 30, static_cast<char>('A' + rng() % 26));
    else if (kind < 27) bytes += "$GPGGA,";
    else bytes += static_cast<char>(32 + rng() % 95);
  }
  return bytes;
}

TEST(SentenceCapture, BlockReadsCaptureExactlyWhatByteByByteReadingDoes) {
  std::mt19937 rng(7919);
  for (int round = 0; round < 300; ++round) {
    const std::string bytes = ByteSoup(rng);
    const auto expected = ReferenceCapture(bytes);
    for (size_t blockSize : kBlockSizes) {
      ASSERT_EQ(Capture(bytes, blockSize), expected)
          << "round " << round << ", block size " << blockSize;
    }
  }
}

}  // namespace
