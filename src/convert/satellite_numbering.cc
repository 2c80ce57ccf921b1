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

// Where each system's own ids 1, 2, ... start in the number space.
constexpr int32_t kGlonassBase = 64;
constexpr int32_t kQzssBase = 192;
constexpr int32_t kGalileoBase = 300;
constexpr int32_t kBeiDouBase = 400;
constexpr int32_t kNavicBase = 500;
// Ids a system's sentences give beyond its own 1 to 99: some receivers send
// BeiDou as 201-299 and Galileo as 101-199 (the hundreds then stand for the
// system); ids already in the system's range stay.
constexpr int32_t kOwnIds = 99;

int32_t Moved(int32_t id, int32_t base, int32_t alternativeBase) {
  if (id >= 1 && id <= kOwnIds) return base + id;
  if (id > alternativeBase && id <= alternativeBase + kOwnIds) return base + (id - alternativeBase);
  return id;
}

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

int32_t TableSatelliteId(SatelliteSystem system, int32_t id) {
  if (id == 0) return 0;
  switch (system) {
    case SatelliteSystem::kGps:
      return id;  // 1-32, and SBAS 33-64
    case SatelliteSystem::kGlonass:
      // Slots 1-32; SBAS (33-64) and ids already moved (65-96) stay.
      return id >= 1 && id <= 32 ? kGlonassBase + id : id;
    case SatelliteSystem::kGalileo:
      return Moved(id, kGalileoBase, 100);
    case SatelliteSystem::kBeiDou:
      return Moved(id, kBeiDouBase, 200);
    case SatelliteSystem::kQzss:
      return id >= 1 && id <= 10 ? kQzssBase + id : id;
    case SatelliteSystem::kNavic:
      return id >= 1 && id <= kOwnIds ? kNavicBase + id : id;
    case SatelliteSystem::kSeveral:
      // 201-263: BeiDou as some receivers number it, moved to 401-463.
      return id >= 201 && id <= 263 ? kBeiDouBase + (id - 200) : id;
  }
  return id;
}

}  // namespace quorval
