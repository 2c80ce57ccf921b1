#include "files/path_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace quorval;

namespace {

struct SplitCase {
  const char* path;
  const char* base;
  const char* extension;
};

TEST(PathNames, SplitExtensionCutsAtTheLastDotOfTheFileName) {
  const SplitCase cases[] = {
      {"D:\\logs\\day1.txt", "D:\\logs\\day1", ".txt"},
      {"D:\\logs\\day1", "D:\\logs\\day1", "."},            // no extension
      {"D:\\rev.2\\log", "D:\\rev.2\\log", "."},            // a dot in a folder only
      {"/home/gps/rev.2/log", "/home/gps/rev.2/log", "."},
      {"log.", "log", "."},                                 // ends in a dot
      {"D:\\d\\.cfg", "D:\\d\\", ".cfg"},                   // name starts with a dot
      {"a.b:c", "a", ".b:c"},                               // a drive colon does not end it
      {"D:log.txt", "D:log", ".txt"},
      {"day1.tar.gz", "day1.tar", ".gz"},
      {"logs/day1.nmea", "logs/day1", ".nmea"},
      {"logs\\", "logs\\", "."},
      {"", "", "."},
      {".", "", "."},
  };
  for (const SplitCase& c : cases) {
    // Buffers just as large as the path needs, so an overrun shows.
    std::vector<char> base(std::strlen(c.path) + 1, '#');
    std::vector<char> extension(std::strlen(c.path) + 2, '#');
    SplitExtension(base.data(), c.path, extension.data());
    EXPECT_STREQ(base.data(), c.base) << c.path;
    EXPECT_STREQ(extension.data(), c.extension) << c.path;
  }
}

TEST(PathNames, SplitExtensionHandlesTheLongestPath) {
  std::string path(995, 'a');
  path += ".log";
  std::vector<char> base(path.size() + 1), extension(path.size() + 1);
  SplitExtension(base.data(), path.c_str(), extension.data());
  EXPECT_EQ(std::string(base.data()), std::string(995, 'a'));
  EXPECT_STREQ(extension.data(), ".log");
}

TEST(PathNames, FileNamePartStartsAfterTheLastSlashBackslashOrColon) {
  const std::pair<const char*, const char*> cases[] = {
      {"D:log.txt", "log.txt"},
      {"log.txt", "log.txt"},
      {"D:\\d\\", ""},
      {"D:\\logs\\day1.txt", "day1.txt"},
      {"/var/log/gps/day1.txt", "day1.txt"},
      {"mixed/dir\\name.txt", "name.txt"},
      {"a.b:c", "c"},
      {"", ""},
  };
  for (const auto& [path, name] : cases) {
    const char* part = FileNamePart(path);
    EXPECT_STREQ(part, name) << path;
    // A position within the same text, not a copy.
    EXPECT_EQ(part, path + std::strlen(path) - std::strlen(name)) << path;
  }
}

}  // namespace
