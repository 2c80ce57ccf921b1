#include <cstring>

#include "resources/resources.h"

namespace quorval {

namespace {

constexpr VersionString kStrings[] = {
    {"CompanyName", "The Quorval developers"},
    {"FileDescription", "NMEA log post-processor"},
    {"FileVersion", "43.01"},
    {"InternalName", "Bramlet"},
    {"LegalCopyright", "Free to use, copy and share"},
    {"OriginalFilename", ""},
    {"ProductName", ""},
    {"ProductVersion", ""},
};

}  // namespace

const VersionBlock kVersionBlock = {
    {1, 0, 0, 0}, {1, 0, 0, 0}, VOS_NT_WINDOWS32, VFT_APP,
    "040904e4",  // US English, code page 1252
    kStrings,    sizeof kStrings / sizeof kStrings[0],
};

const char* FindVersionString(const char* key) {
  for (int i = 0; i < kVersionBlock.stringCount; ++i) {
    if (std::strcmp(kVersionBlock.strings[i].key, key) == 0) return kVersionBlock.strings[i].value;
  }
  return nullptr;
}

}  // namespace quorval
