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

namespace numbering {

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

// The system whose range of the number space holds an id: GPS 1-64 (SBAS
// 33-64 with it), GLONASS 65-96, QZSS 193-202, Galileo 301-399, BeiDou
// 401-499, NavIC 501-599; kSeveral for an id in none.
constexpr SatelliteSystem RangeOf(int32_t id) {
  if (id >= 1 && id <= 64) return SatelliteSystem::kGps;
  if (id > kGlonassBase && id <= 96) return SatelliteSystem::kGlonass;
  if (id > kQzssBase && id <= kQzssBase + 10) return SatelliteSystem::kQzss;
  if (id > kGalileoBase && id <= kGalileoBase + kOwnIds) return SatelliteSystem::kGalileo;
  if (id > kBeiDouBase && id <= kBeiDouBase + kOwnIds) return SatelliteSystem::kBeiDou;
  if (id > kNavicBase && id <= kNavicBase + kOwnIds) return SatelliteSystem::kNavic;
  return SatelliteSystem::kSeveral;
}

// An id that no form of its system's numbering moves stays, unless another
// system's range holds it: a Galileo 200 or a QZSS 11 is no QZSS or GPS
// satellite, and names none (0).
inline int32_t Unmoved(int32_t id, SatelliteSystem system) {
  const SatelliteSystem range = RangeOf(id);
  return range == system || range == SatelliteSystem::kSeveral ? id : 0;
}

inline int32_t MovedId(int32_t id, int32_t base, int32_t alternativeBase, SatelliteSystem system) {
  if (id >= 1 && id <= kOwnIds) return base + id;
  if (id > alternativeBase && id <= alternativeBase + kOwnIds) return base + (id - alternativeBase);
  return Unmoved(id, system);
}

}  // namespace numbering

// A satellite id as its system's sentences give it, in the one number space.
// For kSeveral the id is taken as that number space reads it, by its range
// (1-96 and 193-200 as they are, 201-263 the BeiDou ids some receivers send,
// 301-336 Galileo, 401-463 BeiDou). 0 stays 0, the empty id. Inline: it is
// taken for every satellite of every GSV and GSA, and left to the
// compiler's budget it stops being inlined as the cycle code grows.
[[gnu::always_inline]] inline int32_t TableSatelliteId(SatelliteSystem system, int32_t id) {
  if (id == 0) return 0;
  switch (system) {
    case SatelliteSystem::kGps:
      return id;  // 1-32, and SBAS 33-64
    case SatelliteSystem::kGlonass:
      // Slots 1-32; SBAS (33-64) and ids already moved (65-96) stay.
      if (id >= 1 && id <= 32) return numbering::kGlonassBase + id;
      return id >= 33 && id <= 64 ? id : numbering::Unmoved(id, system);
    case SatelliteSystem::kGalileo:
      return numbering::MovedId(id, numbering::kGalileoBase, 100, system);
    case SatelliteSystem::kBeiDou:
      return numbering::MovedId(id, numbering::kBeiDouBase, 200, system);
    case SatelliteSystem::kQzss:
      return id >= 1 && id <= 10 ? numbering::kQzssBase + id : numbering::Unmoved(id, system);
    case SatelliteSystem::kNavic:
      return id >= 1 && id <= numbering::kOwnIds ? numbering::kNavicBase + id
                                                 : numbering::Unmoved(id, system);
    case SatelliteSystem::kSeveral:
      // 201-263: BeiDou as some receivers number it, moved to 401-463.
      return id >= 201 && id <= 263 ? numbering::kBeiDouBase + (id - 200) : id;
  }
  return id;
}

}  // namespace quorval
