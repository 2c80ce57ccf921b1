#include "convert/satellite_numbering.h"

namespace quorval {

namespace {

struct TalkerName {
  char letters[3];
  SatelliteSystem system;
};

constexpr TalkerName kTalkers[] = {
    {"GP", SatelliteSystem::kGps},     {"GN", SatelliteSystem::kSeveral},
    {"GL", SatelliteSystem::kGlonass}, {"GA", SatelliteSystem::kGalileo},
    {"GB", SatelliteSystem::kBeiDou},  {"BD", SatelliteSystem::kBeiDou},
    {"GQ", SatelliteSystem::kQzss},    {"QZ", SatelliteSystem::kQzss},
    {"GI", SatelliteSystem::kNavic},
};

}  // namespace

bool TalkerSystem(const char* talker, SatelliteSystem& system) {
  for (const TalkerName& name : kTalkers) {
    if (talker[0] == name.letters[0] && talker[1] == name.letters[1]) {
      system = name.system;
      return true;
    }
  }
  return false;
}

SatelliteSystem SystemOfId(int32_t systemId) {
  return systemId >= 1 && systemId <= 6 ? static_cast<SatelliteSystem>(systemId)
                                        : SatelliteSystem::kSeveral;
}

}  // namespace quorval
