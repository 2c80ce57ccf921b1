// The track of a log in the formats that map programs read: GPX 1.1,
// GeoJSON (RFC 7946) and KML 2.2, from the fixes of its receiver cycles,
// with the digits the receiver sent. Each writer streams: GPX keeps room for
// its bounds before its track and fills it in at the end; GeoJSON's points,
// which follow its track, wait in a spill file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "output/fix_record.h"
#include "output/text_sink.h"
#include "text/sent_values.h"

namespace quorval {

enum class TrackFormat : uint8_t { kGpx, kGeoJson, kKml };

// A point of the track: its coordinates as written, and its time.
struct TrackPoint {
  char latitude[kMaxSentValueText], longitude[kMaxSentValueText];
  char height[kMaxSentValueText];  // as the format places it: above sea level, or the ellipsoid for GeoJSON
  char utc[kMaxSentValueText];
  uint8_t latitudeLength, longitudeLength, heightLength, utcLength;
  double lat, lon;
};

constexpr int kKeptIntervals = 5;

struct TrackWriter {
  TrackFormat format;
  bool points;       // GeoJSON: a Point feature for every fix as well
  TextSink* out;     // the file
  TextSink* spill;   // GeoJSON with points: its points, written after the track
  FILE* spillFile;
  // Segments: a new one where the receiver lost its fix or no fix came for
  // more than five usual intervals (the median of the last five).
  bool lostFix, segmentOpen;
  int64_t fixes, lines;
  double lastSeconds, intervals[kKeptIntervals];
  int intervalCount, dayOffset;
  TrackPoint first, last, pending;  // pending: a segment's first point, until a second makes it a line
  bool havePending;
  double minLat, maxLat, minLon, maxLon;
  char bounds[4][kMaxSentValueText];  // their text: minlat, minlon, maxlat, maxlon
  uint8_t boundLengths[4];
  TrackPoint firstDated, lastDated;
  bool dated;
  long metadataAt;  // GPX: where the room for its metadata starts in the file; -1 where it cannot be told
};

// Starts the track of the log named name: out receives the file; spill
// (with its own sink) GeoJSON's points, which wait for the end (unused for
// the others, and nullptr when points is false).
void BeginTrack(TrackWriter& writer, TrackFormat format, bool points, TextSink* out, TextSink* spill,
                FILE* spillFile, const char* name, size_t nameLength);

// A cycle with a fix; timeOfDay in seconds since midnight, satellitesInView
// as the fixes table has it (-1: no GSV). A fix whose position is not one
// on the Earth (a damaged field) is left out.
void AddTrackFix(TrackWriter& writer, const FixRecord& fix, double timeOfDay, int satellitesInView);

// A cycle whose receiver reported no fix: the next fix starts a segment.
void LoseTrackFix(TrackWriter& writer);

// Ends the file: what only the end knows, then the spill.
void EndTrack(TrackWriter& writer);

const char* TrackFormatName(TrackFormat format);

// How every file of the format that this program writes begins: what tells
// its own files from other programs' before one is written over.
const char* TrackHead(TrackFormat format);

}  // namespace quorval
