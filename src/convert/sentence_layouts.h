// The sentences the converter reads, each laid out once: an example as a
// receiver sends it, the struct the decoder fills, and the table of its
// fields by number (from 1, the first after the tag), kind and name. A
// field that nothing reads as a number is kept as text.
#pragma once

#include <cstddef>

#include "convert/decoded_field.h"

namespace quorval {

// Global positioning system fix data: time, position, fix quality, altitude.
// $GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47
struct GgaFields {
  Field time, latitude, northSouth, longitude, eastWest, quality, satellites, hdop, altitude,
      altitudeUnit, separation, separationUnit, age, station;
};
inline constexpr FieldEntry<GgaFields> kGgaLayout[] = {
    {1, Kind::kTime, "UTC time hhmmss.ss", Named<&GgaFields::time>},
    {2, Kind::kLatitude, "latitude ddmm.mmmm", Named<&GgaFields::latitude>},
    {3, Kind::kText, "N or S", Named<&GgaFields::northSouth>},
    {4, Kind::kLongitude, "longitude dddmm.mmmm", Named<&GgaFields::longitude>},
    {5, Kind::kText, "E or W", Named<&GgaFields::eastWest>},
    {6, Kind::kInteger, "fix quality", Named<&GgaFields::quality>},
    {7, Kind::kInteger, "satellites in use", Named<&GgaFields::satellites>},
    {8, Kind::kReal, "HDOP", Named<&GgaFields::hdop>},
    {9, Kind::kReal, "altitude above mean sea level, m", Named<&GgaFields::altitude>},
    {10, Kind::kText, "M", Named<&GgaFields::altitudeUnit>},
    {11, Kind::kReal, "geoid separation, m", Named<&GgaFields::separation>},
    {12, Kind::kText, "M", Named<&GgaFields::separationUnit>},
    {13, Kind::kText, "age of differential data, s", Named<&GgaFields::age>},
    {14, Kind::kText, "differential station id", Named<&GgaFields::station>},
};

// Recommended minimum data: time, status, position, speed, course, date;
// NMEA 2.3 adds the mode indicator, 4.10 the navigational status.
// $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W,A,V*6A
struct RmcFields {
  Field time, status, latitude, northSouth, longitude, eastWest, speed, course, date, variation,
      variationEastWest, mode, navigationalStatus;
};
inline constexpr FieldEntry<RmcFields> kRmcLayout[] = {
    {1, Kind::kTime, "UTC time hhmmss.ss", Named<&RmcFields::time>},
    {2, Kind::kText, "status: A valid, V warning", Named<&RmcFields::status>},
    {3, Kind::kLatitude, "latitude ddmm.mmmm", Named<&RmcFields::latitude>},
    {4, Kind::kText, "N or S", Named<&RmcFields::northSouth>},
    {5, Kind::kLongitude, "longitude dddmm.mmmm", Named<&RmcFields::longitude>},
    {6, Kind::kText, "E or W", Named<&RmcFields::eastWest>},
    {7, Kind::kReal, "speed over ground, knots", Named<&RmcFields::speed>},
    {8, Kind::kReal, "course over ground, degrees true", Named<&RmcFields::course>},
    {9, Kind::kInteger, "date ddmmyy", Named<&RmcFields::date>},
    {10, Kind::kText, "magnetic variation, degrees", Named<&RmcFields::variation>},
    {11, Kind::kText, "E or W of the variation", Named<&RmcFields::variationEastWest>},
    {12, Kind::kText, "mode: A autonomous, D differential, E estimated, F float RTK, M manual, "
                      "N no fix, P precise, R RTK, S simulator",
     Named<&RmcFields::mode>},
    {13, Kind::kText, "navigational status: S safe, C caution, U unsafe, V not valid",
     Named<&RmcFields::navigationalStatus>},
};

// Course and speed over ground.
// $GPVTG,054.7,T,034.4,M,005.5,N,010.2,K,A*25
struct VtgFields {
  Field course, courseTrue, magneticCourse, courseMagnetic, speed, knots, speedKmh, kmh, mode;
};
inline constexpr FieldEntry<VtgFields> kVtgLayout[] = {
    {1, Kind::kReal, "course over ground, degrees true", Named<&VtgFields::course>},
    {2, Kind::kText, "T", Named<&VtgFields::courseTrue>},
    {3, Kind::kText, "course over ground, degrees magnetic", Named<&VtgFields::magneticCourse>},
    {4, Kind::kText, "M", Named<&VtgFields::courseMagnetic>},
    {5, Kind::kReal, "speed over ground, knots", Named<&VtgFields::speed>},
    {6, Kind::kText, "N", Named<&VtgFields::knots>},
    {7, Kind::kText, "speed over ground, km/h", Named<&VtgFields::speedKmh>},
    {8, Kind::kText, "K", Named<&VtgFields::kmh>},
    {9, Kind::kText, "mode indicator, as RMC's", Named<&VtgFields::mode>},
};

// Time and date.
// $GPZDA,201530.00,04,07,2002,00,00*60
struct ZdaFields {
  Field time, day, month, year, zoneHours, zoneMinutes;
};
inline constexpr FieldEntry<ZdaFields> kZdaLayout[] = {
    {1, Kind::kTime, "UTC time hhmmss.ss", Named<&ZdaFields::time>},
    {2, Kind::kInteger, "day", Named<&ZdaFields::day>},
    {3, Kind::kInteger, "month", Named<&ZdaFields::month>},
    {4, Kind::kInteger, "year yyyy", Named<&ZdaFields::year>},
    {5, Kind::kText, "local zone hours", Named<&ZdaFields::zoneHours>},
    {6, Kind::kText, "local zone minutes", Named<&ZdaFields::zoneMinutes>},
};

// Dilution of precision and the satellites used in the fix: twelve id
// fields (empty ones for fewer satellites), then PDOP, HDOP and VDOP, and in
// NMEA 4.10 the system id. Receivers of many systems list up to 24 ids; the
// fields after the eighteenth are kept as they come (`more`), and the rules
// that read such a GSA find its DOPs from its end.
// $GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39
constexpr int kGsaIds = 12;
constexpr int kGsaMoreFields = 12;
struct GsaFields {
  Field mode, fixMode;
  Field ids[kGsaIds];
  Field pdop, hdop, vdop, systemId;
  Field more[kGsaMoreFields];  // fields 19 to 30
};
inline constexpr FieldEntry<GsaFields> kGsaLayout[] = {
    {1, Kind::kText, "mode: M manual, A automatic", Named<&GsaFields::mode>},
    {2, Kind::kInteger, "fix mode: 1 none, 2 2D, 3 3D", Named<&GsaFields::fixMode>},
    {3, Kind::kInteger, "id of satellite used 1", Listed<&GsaFields::ids, 0>},
    {4, Kind::kInteger, "id of satellite used 2", Listed<&GsaFields::ids, 1>},
    {5, Kind::kInteger, "id of satellite used 3", Listed<&GsaFields::ids, 2>},
    {6, Kind::kInteger, "id of satellite used 4", Listed<&GsaFields::ids, 3>},
    {7, Kind::kInteger, "id of satellite used 5", Listed<&GsaFields::ids, 4>},
    {8, Kind::kInteger, "id of satellite used 6", Listed<&GsaFields::ids, 5>},
    {9, Kind::kInteger, "id of satellite used 7", Listed<&GsaFields::ids, 6>},
    {10, Kind::kInteger, "id of satellite used 8", Listed<&GsaFields::ids, 7>},
    {11, Kind::kInteger, "id of satellite used 9", Listed<&GsaFields::ids, 8>},
    {12, Kind::kInteger, "id of satellite used 10", Listed<&GsaFields::ids, 9>},
    {13, Kind::kInteger, "id of satellite used 11", Listed<&GsaFields::ids, 10>},
    {14, Kind::kInteger, "id of satellite used 12", Listed<&GsaFields::ids, 11>},
    {15, Kind::kReal, "PDOP", Named<&GsaFields::pdop>},
    {16, Kind::kReal, "HDOP", Named<&GsaFields::hdop>},
    {17, Kind::kReal, "VDOP", Named<&GsaFields::vdop>},
    {18, Kind::kInteger, "system id (NMEA 4.10)", Named<&GsaFields::systemId>},
    {19, Kind::kReal, "more ids, then the DOPs", Listed<&GsaFields::more, 0>},
    {20, Kind::kReal, "", Listed<&GsaFields::more, 1>},
    {21, Kind::kReal, "", Listed<&GsaFields::more, 2>},
    {22, Kind::kReal, "", Listed<&GsaFields::more, 3>},
    {23, Kind::kReal, "", Listed<&GsaFields::more, 4>},
    {24, Kind::kReal, "", Listed<&GsaFields::more, 5>},
    {25, Kind::kReal, "", Listed<&GsaFields::more, 6>},
    {26, Kind::kReal, "", Listed<&GsaFields::more, 7>},
    {27, Kind::kReal, "", Listed<&GsaFields::more, 8>},
    {28, Kind::kReal, "", Listed<&GsaFields::more, 9>},
    {29, Kind::kReal, "", Listed<&GsaFields::more, 10>},
    {30, Kind::kReal, "", Listed<&GsaFields::more, 11>},
};

// Satellites in view, four to a message; NMEA 4.10 adds the signal id after
// the last satellite, where a message of fewer satellites has it earlier.
// $GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45*75
struct GsvSatellite {
  Field id, elevation, azimuth, snr;
};
constexpr int kGsvSatellites = 4;
struct GsvFields {
  Field messages, message, inView;
  GsvSatellite satellites[kGsvSatellites];
  Field signalId;
};
template <int satellite, Field GsvSatellite::*member>
Field& SatelliteField(GsvFields& fields) {
  return fields.satellites[satellite].*member;
}
inline constexpr FieldEntry<GsvFields> kGsvLayout[] = {
    {1, Kind::kInteger, "number of messages", Named<&GsvFields::messages>},
    {2, Kind::kInteger, "number of this message, from 1", Named<&GsvFields::message>},
    {3, Kind::kInteger, "satellites in view", Named<&GsvFields::inView>},
    {4, Kind::kInteger, "satellite 1: id", SatelliteField<0, &GsvSatellite::id>},
    {5, Kind::kInteger, "elevation, degrees", SatelliteField<0, &GsvSatellite::elevation>},
    {6, Kind::kInteger, "azimuth, degrees true", SatelliteField<0, &GsvSatellite::azimuth>},
    {7, Kind::kInteger, "SNR, dB-Hz", SatelliteField<0, &GsvSatellite::snr>},
    {8, Kind::kInteger, "satellite 2: id", SatelliteField<1, &GsvSatellite::id>},
    {9, Kind::kInteger, "elevation", SatelliteField<1, &GsvSatellite::elevation>},
    {10, Kind::kInteger, "azimuth", SatelliteField<1, &GsvSatellite::azimuth>},
    {11, Kind::kInteger, "SNR", SatelliteField<1, &GsvSatellite::snr>},
    {12, Kind::kInteger, "satellite 3: id", SatelliteField<2, &GsvSatellite::id>},
    {13, Kind::kInteger, "elevation", SatelliteField<2, &GsvSatellite::elevation>},
    {14, Kind::kInteger, "azimuth", SatelliteField<2, &GsvSatellite::azimuth>},
    {15, Kind::kInteger, "SNR", SatelliteField<2, &GsvSatellite::snr>},
    {16, Kind::kInteger, "satellite 4: id", SatelliteField<3, &GsvSatellite::id>},
    {17, Kind::kInteger, "elevation", SatelliteField<3, &GsvSatellite::elevation>},
    {18, Kind::kInteger, "azimuth", SatelliteField<3, &GsvSatellite::azimuth>},
    {19, Kind::kInteger, "SNR", SatelliteField<3, &GsvSatellite::snr>},
    {20, Kind::kInteger, "signal id (NMEA 4.10)", Named<&GsvFields::signalId>},
};

// Fix data of a receiver of several systems: as GGA, with a mode character
// per system (GPS, GLONASS, Galileo, BeiDou, QZSS, NavIC: N no fix, A
// autonomous, D differential, P precise, R RTK, F float RTK, E estimated,
// M manual, S simulator) instead of GGA's quality, and in NMEA 4.10 the
// navigational status.
// $GNGNS,014035.00,4332.69262,S,17235.48549,E,RR,13,0.9,25.63,11.24,,,S*4B
struct GnsFields {
  Field time, latitude, northSouth, longitude, eastWest, mode, satellites, hdop, altitude, separation,
      age, station, navigationalStatus;
};
inline constexpr FieldEntry<GnsFields> kGnsLayout[] = {
    {1, Kind::kTime, "UTC time hhmmss.ss", Named<&GnsFields::time>},
    {2, Kind::kLatitude, "latitude ddmm.mmmm", Named<&GnsFields::latitude>},
    {3, Kind::kText, "N or S", Named<&GnsFields::northSouth>},
    {4, Kind::kLongitude, "longitude dddmm.mmmm", Named<&GnsFields::longitude>},
    {5, Kind::kText, "E or W", Named<&GnsFields::eastWest>},
    {6, Kind::kText, "mode per system", Named<&GnsFields::mode>},
    {7, Kind::kInteger, "satellites in use", Named<&GnsFields::satellites>},
    {8, Kind::kReal, "HDOP", Named<&GnsFields::hdop>},
    {9, Kind::kReal, "altitude above mean sea level, m", Named<&GnsFields::altitude>},
    {10, Kind::kReal, "geoid separation, m", Named<&GnsFields::separation>},
    {11, Kind::kText, "age of differential data, s", Named<&GnsFields::age>},
    {12, Kind::kText, "differential station id", Named<&GnsFields::station>},
    {13, Kind::kText, "navigational status (NMEA 4.10)", Named<&GnsFields::navigationalStatus>},
};

// Geographic position: latitude, longitude, time and status; NMEA 2.3 adds
// the mode indicator.
// $GPGLL,4916.45,N,12311.12,W,225444,A,A*5C
struct GllFields {
  Field latitude, northSouth, longitude, eastWest, time, status, mode;
};
inline constexpr FieldEntry<GllFields> kGllLayout[] = {
    {1, Kind::kLatitude, "latitude ddmm.mmmm", Named<&GllFields::latitude>},
    {2, Kind::kText, "N or S", Named<&GllFields::northSouth>},
    {3, Kind::kLongitude, "longitude dddmm.mmmm", Named<&GllFields::longitude>},
    {4, Kind::kText, "E or W", Named<&GllFields::eastWest>},
    {5, Kind::kTime, "UTC time hhmmss.ss", Named<&GllFields::time>},
    {6, Kind::kText, "status: A valid, V not valid", Named<&GllFields::status>},
    {7, Kind::kText, "mode indicator, as RMC's", Named<&GllFields::mode>},
};

// The receiver's own estimate of its position error, metres (1 sigma).
// $GPGST,172814.0,0.006,0.023,0.020,273.6,0.023,0.020,0.031*6A
struct GstFields {
  Field time, rms, semiMajor, semiMinor, orientation, latitudeError, longitudeError, altitudeError;
};
inline constexpr FieldEntry<GstFields> kGstLayout[] = {
    {1, Kind::kTime, "UTC time hhmmss.ss", Named<&GstFields::time>},
    {2, Kind::kReal, "RMS of the pseudorange residuals", Named<&GstFields::rms>},
    {3, Kind::kReal, "error ellipse semi-major axis, m", Named<&GstFields::semiMajor>},
    {4, Kind::kReal, "error ellipse semi-minor axis, m", Named<&GstFields::semiMinor>},
    {5, Kind::kReal, "error ellipse orientation, degrees true", Named<&GstFields::orientation>},
    {6, Kind::kReal, "latitude error, m", Named<&GstFields::latitudeError>},
    {7, Kind::kReal, "longitude error, m", Named<&GstFields::longitudeError>},
    {8, Kind::kReal, "altitude error, m", Named<&GstFields::altitudeError>},
};

// Every layout lists its fields by number, from 1 without a gap: the
// decoder and the rules that index a layout by number rely on it.
template <typename Fields, size_t count>
constexpr bool NumberedInOrder(const FieldEntry<Fields> (&layout)[count]) {
  for (size_t i = 0; i < count; ++i) {
    if (layout[i].number != static_cast<int>(i) + 1) return false;
  }
  return true;
}
static_assert(NumberedInOrder(kGgaLayout) && NumberedInOrder(kRmcLayout) && NumberedInOrder(kVtgLayout) &&
              NumberedInOrder(kZdaLayout) && NumberedInOrder(kGsaLayout) && NumberedInOrder(kGsvLayout) &&
              NumberedInOrder(kGnsLayout) && NumberedInOrder(kGllLayout) && NumberedInOrder(kGstLayout));

}  // namespace quorval
