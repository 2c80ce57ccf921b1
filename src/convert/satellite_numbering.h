// The satellite systems of a multi-system receiver and one number space for
// the satellites of all of them, so that no two systems' satellites share an
// id: GPS ids as they are, the others moved into ranges of their own, as
// gpsd documents it (GLONASS 65-96, QZSS 193-202, Galileo 301-336, BeiDou
// 401-463; NavIC, which it leaves open, 501-514).
#pragma once

#include <cstdint>

namespace quorval {

// In the order of the NMEA 4.10 system id (1 GPS ... 6 NavIC); kSeveral is a
// GN talker, or any other source that does not name one system.
enum class SatelliteSystem : uint8_t {
  kSeveral = 0,
  kGps = 1,
  kGlonass = 2,
  kGalileo = 3,
  kBeiDou = 4,
  kQzss = 5,
  kNavic = 6,
};

// The talker of a sentence (its two letters after '$') as a system: GP, GL,
// GA, GB or BD, GQ or QZ, GI; GN names several. False for any other talker,
// whose sentences the multi-system mode passes over.
bool TalkerSystem(const char* talker, SatelliteSystem& system);

// The system that an NMEA 4.10 system id field names; kSeveral for any value
// but 1 to 6.
SatelliteSystem SystemOfId(int32_t systemId);

// A satellite id as its system's sentences give it, in the one number space.
// For kSeveral the id is taken as that number space reads it, by its range
// (1-96 and 193-200 as they are, 201-263 the BeiDou ids some receivers send,
// 301-336 Galileo, 401-463 BeiDou). 0 stays 0, the empty id.
int32_t TableSatelliteId(SatelliteSystem system, int32_t id);

}  // namespace quorval
