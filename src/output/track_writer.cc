#include "output/track_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "output/fixes_table.h"
#include "output/markup_text.h"
#include "text/decimal_reading.h"
#include "text/sent_values.h"

namespace quorval {

namespace {

// A new segment after more than this many usual intervals without a fix.
constexpr double kGapIntervals = 5;

// GPX's metadata (its bounds, its time span) stands before the track but is
// known only at its end: room is kept for it, and filled in when the file
// can be written at a place again (a regular file, not a pipe).
constexpr size_t kMetadataRoom = 640;

constexpr char kGpxHead[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"Quorval\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:schemaLocation=\"http://"
    "www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\n";

char* Put(char* out, const char* text) {
  const size_t length = std::strlen(text);
  std::memcpy(out, text, length);
  return out + length;
}
char* Put(char* out, const char* text, size_t length) {
  std::memcpy(out, text, length);
  return out + length;
}

void Emit(TextSink& sink, const char* text) { SinkText(sink, text, std::strlen(text)); }

bool MakePoint(const FixRecord& fix, TrackFormat format, TrackPoint& p) {
  char* end = WriteDegrees(p.latitude, fix.latitude.text, fix.latitude.length, 4, fix.south);
  p.latitudeLength = static_cast<uint8_t>(end - p.latitude);
  end = WriteDegrees(p.longitude, fix.longitude.text, fix.longitude.length, 5, fix.west);
  p.longitudeLength = static_cast<uint8_t>(end - p.longitude);
  if (p.latitudeLength == 0 || p.longitudeLength == 0) return false;
  ReadPlainDecimal(p.latitude, p.latitude + p.latitudeLength, p.lat);
  ReadPlainDecimal(p.longitude, p.longitude + p.longitudeLength, p.lon);
  if (p.lat < -90 || p.lat > 90 || p.lon < -180 || p.lon > 180) return false;
  // GeoJSON's third coordinate is the height above the ellipsoid; GPX's
  // ele and KML's absolute altitude are above sea level.
  end = format == TrackFormat::kGeoJson
            ? WriteDecimalSum(p.height, fix.heightMsl.text, fix.heightMsl.length, fix.geoidSeparation.text,
                              fix.geoidSeparation.length)
            : WritePlainDecimal(p.height, fix.heightMsl.text, fix.heightMsl.length);
  p.heightLength = static_cast<uint8_t>(end - p.height);
  end = fix.year != 0 ? WriteUtc(p.utc, fix.year, fix.month, fix.day, fix.time.text, fix.time.length) : p.utc;
  p.utcLength = static_cast<uint8_t>(end - p.utc);
  return true;
}

// "lon,lat[,height]", as KML and GeoJSON order them.
char* PutCoordinates(char* out, const TrackPoint& p) {
  out = Put(out, p.longitude, p.longitudeLength);
  *out++ = ',';
  out = Put(out, p.latitude, p.latitudeLength);
  if (p.heightLength > 0) {
    *out++ = ',';
    out = Put(out, p.height, p.heightLength);
  }
  return out;
}

double MedianInterval(const TrackWriter& w) {
  double sorted[kKeptIntervals];
  std::copy(w.intervals, w.intervals + w.intervalCount, sorted);
  std::sort(sorted, sorted + w.intervalCount);
  return sorted[w.intervalCount / 2];
}

// GPX's fix from GGA's quality and GSA's fix type: differential and RTK
// solutions are dgps, a PPS fix pps, an autonomous one 2d or 3d.
const char* GpxFix(const FixRecord& fix) {
  const char quality = fix.quality.length == 1 ? fix.quality.text[0] : '\0';
  if (quality == '2' || quality == '4' || quality == '5') return "dgps";
  if (quality == '3') return "pps";
  if (quality != '1' && quality != '\0') return nullptr;
  const char type = fix.fixType.length == 1 ? fix.fixType.text[0] : '\0';
  return type == '3' ? "3d" : type == '2' ? "2d" : nullptr;
}

char* GpxElement(char* out, const char* name, const SentText& value, bool whole = false) {
  char number[kMaxSentValueText];
  const char* end = WritePlainDecimal(number, value.text, value.length);
  // sat is a count: a whole number.
  if (end == number || (whole && std::memchr(number, '.', static_cast<size_t>(end - number)) != nullptr) ||
      (whole && number[0] == '-')) {
    return out;
  }
  out = Put(Put(Put(out, "<"), name), ">");
  out = Put(out, number, static_cast<size_t>(end - number));
  return Put(Put(Put(out, "</"), name), ">");
}

void WriteGpxPoint(TrackWriter& w, const FixRecord& fix, const TrackPoint& p) {
  char* out = SinkRoom(*w.out);
  out = Put(out, "<trkpt lat=\"");
  out = Put(out, p.latitude, p.latitudeLength);
  out = Put(out, "\" lon=\"");
  out = Put(out, p.longitude, p.longitudeLength);
  out = Put(out, "\">");
  if (p.heightLength > 0) out = Put(Put(Put(out, "<ele>"), p.height, p.heightLength), "</ele>");
  if (p.utcLength > 0) out = Put(Put(Put(out, "<time>"), p.utc, p.utcLength), "</time>");
  out = GpxElement(out, "geoidheight", fix.geoidSeparation);
  if (const char* kind = GpxFix(fix)) out = Put(Put(Put(out, "<fix>"), kind), "</fix>");
  out = GpxElement(out, "sat", fix.satsUsed, true);
  out = GpxElement(out, "hdop", fix.hdop);
  out = GpxElement(out, "vdop", fix.vdop);
  out = GpxElement(out, "pdop", fix.pdop);
  SinkWritten(*w.out, Put(out, "</trkpt>\n"));
}

// GeoJSON's Point feature: the fixes table's columns as its properties.
void WriteGeoJsonPoint(TrackWriter& w, const FixRecord& fix, const TrackPoint& p, int satellitesInView) {
  char* out = SinkRoom(*w.spill);
  out = Put(out, ",\n{\"type\":\"Feature\",\"properties\":{");
  for (int column = 0; column < kFixColumnCount; ++column) {
    char cell[kMaxSentValueText * 2];
    const char* end = FormatFixCell(cell, column, fix, satellitesInView);
    out = Put(Put(Put(out, column == 0 ? "\"" : ",\""), FixColumnName(column)), "\":");
    if (end == cell) {
      out = Put(out, "null");
    } else if (FixColumnIsText(column)) {
      out = Put(Put(Put(out, "\""), cell, static_cast<size_t>(end - cell)), "\"");
    } else {
      out = WritePlainDecimal(out, cell, static_cast<int>(end - cell));
    }
  }
  out = Put(out, "},\"geometry\":{\"type\":\"Point\",\"coordinates\":[");
  SinkWritten(*w.spill, Put(PutCoordinates(out, p), "]}}"));
}

// A line's point: its first waits for a second, for a line has two at least.
void AddLinePoint(TrackWriter& w, const TrackPoint& p) {
  if (!w.segmentOpen) {
    w.pending = p;
    w.havePending = true;
    w.segmentOpen = true;
    return;
  }
  char* out = SinkRoom(*w.out);
  const bool json = w.format == TrackFormat::kGeoJson;
  if (w.havePending) {
    out = Put(out, json ? (w.lines > 0 ? ",\n[[" : "\n[[")
                        : "<LineString><altitudeMode>absolute</altitudeMode><coordinates>");
    out = PutCoordinates(out, w.pending);
    w.havePending = false;
    ++w.lines;
  }
  out = Put(out, json ? "],[" : " ");
  SinkWritten(*w.out, PutCoordinates(out, p));
}

void EndSegment(TrackWriter& w) {
  if (!w.segmentOpen) return;
  w.segmentOpen = false;
  if (w.format == TrackFormat::kGpx) {
    Emit(*w.out, "</trkseg>\n");
  } else if (w.havePending) {
    w.havePending = false;  // a lone point makes no line
  } else {
    Emit(*w.out, w.format == TrackFormat::kGeoJson ? "]]" : "</coordinates></LineString>\n");
  }
}

void StartSegment(TrackWriter& w, const TrackPoint& p) {
  EndSegment(w);
  if (w.format == TrackFormat::kGpx) {
    Emit(*w.out, "<trkseg>\n");
    w.segmentOpen = true;
  } else {
    AddLinePoint(w, p);
  }
}

void KeepBounds(TrackWriter& w, const TrackPoint& p) {
  const struct {
    bool replace;
    double* value;
    double by;
    const char* text;
    uint8_t length;
  } sides[] = {{w.fixes == 0 || p.lat < w.minLat, &w.minLat, p.lat, p.latitude, p.latitudeLength},
               {w.fixes == 0 || p.lon < w.minLon, &w.minLon, p.lon, p.longitude, p.longitudeLength},
               {w.fixes == 0 || p.lat > w.maxLat, &w.maxLat, p.lat, p.latitude, p.latitudeLength},
               {w.fixes == 0 || p.lon > w.maxLon, &w.maxLon, p.lon, p.longitude, p.longitudeLength}};
  for (int i = 0; i < 4; ++i) {
    if (!sides[i].replace) continue;
    *sides[i].value = sides[i].by;
    std::memcpy(w.bounds[i], sides[i].text, sides[i].length);
    w.boundLengths[i] = sides[i].length;
  }
}

void WriteName(TextSink& sink, TrackFormat format, const char* name, size_t length) {
  // A name longer than a path is cut: it only labels the track.
  length = std::min<size_t>(length, kMaxSinkPiece / kMaxEscapedPerByte - 1);
  char* out = SinkRoom(sink);
  SinkWritten(sink, format == TrackFormat::kGeoJson ? WriteJsonText(out, name, length)
                                                    : WriteXmlText(out, name, length));
}

void CopySpill(TrackWriter& w) {
  FlushSink(*w.spill);
  if (w.spill->writeError != 0 || std::fflush(w.spillFile) != 0) {
    if (w.out->writeError == 0) w.out->writeError = w.spill->writeError != 0 ? w.spill->writeError : EIO;
    return;
  }
  std::rewind(w.spillFile);
  char block[kMaxSinkPiece];
  size_t read;
  while ((read = std::fread(block, 1, sizeof block, w.spillFile)) > 0) SinkText(*w.out, block, read);
  if (std::ferror(w.spillFile) != 0 && w.out->writeError == 0) w.out->writeError = EIO;
}

void WriteKmlPlacemark(TrackWriter& w, const char* name, const TrackPoint& p) {
  char* out = SinkRoom(*w.out);
  out = Put(Put(Put(out, "<Placemark><name>"), name), "</name>");
  if (p.utcLength > 0) out = Put(Put(Put(out, "<TimeStamp><when>"), p.utc, p.utcLength), "</when></TimeStamp>");
  out = Put(out, "<Point><altitudeMode>absolute</altitudeMode><coordinates>");
  SinkWritten(*w.out, Put(PutCoordinates(out, p), "</coordinates></Point></Placemark>\n"));
}

void WriteGpxMetadata(TrackWriter& w) {
  FILE* stream = w.out->stream;
  const long end = std::ftell(stream);
  if (w.metadataAt < 0 || end < 0 || w.out->writeError != 0 || std::fseek(stream, w.metadataAt, SEEK_SET) != 0) return;
  char text[kMetadataRoom];
  char* out = Put(text, "<metadata>");
  if (w.dated) {
    out = Put(Put(out, "<desc>Fixes from "), w.firstDated.utc, w.firstDated.utcLength);
    out = Put(Put(Put(out, " to "), w.lastDated.utc, w.lastDated.utcLength), "</desc>");
    out = Put(Put(Put(out, "<time>"), w.firstDated.utc, w.firstDated.utcLength), "</time>");
  }
  if (w.fixes > 0) {
    const char* const kNames[] = {"minlat", "minlon", "maxlat", "maxlon"};
    out = Put(out, "<bounds");
    for (int i = 0; i < 4; ++i) {
      out = Put(Put(Put(Put(out, " "), kNames[i]), "=\""), w.bounds[i], w.boundLengths[i]);
      *out++ = '"';
    }
    out = Put(out, "/>");
  }
  out = Put(out, "</metadata>");
  const size_t length = static_cast<size_t>(out - text);
  if (std::fwrite(text, 1, length, stream) != length && w.out->writeError == 0) w.out->writeError = errno;
  std::fseek(stream, end, SEEK_SET);
}

}  // namespace

const char* TrackHead(TrackFormat format) {
  switch (format) {
    case TrackFormat::kGpx:
      return kGpxHead;
    case TrackFormat::kGeoJson:
      return "{\"type\":\"FeatureCollection\",\"generator\":\"Quorval\",\"features\":[";
    case TrackFormat::kKml:
      return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- a track of Quorval -->\n"
             "<kml xmlns=\"http://www.opengis.net/kml/2.2\">";
  }
  return "";
}

const char* TrackFormatName(TrackFormat format) {
  return format == TrackFormat::kGpx ? "gpx" : format == TrackFormat::kGeoJson ? "geojson" : "kml";
}

void BeginTrack(TrackWriter& w, TrackFormat format, bool points, TextSink* out, TextSink* spill, FILE* spillFile,
                const char* name, size_t nameLength) {
  w = TrackWriter{};
  w.format = format;
  w.points = points && spillFile != nullptr;  // the points wait in the spill
  w.out = out;
  w.spill = spill;
  w.spillFile = spillFile;
  switch (format) {
    case TrackFormat::kGpx: {
      FlushSink(*out);
      const long start = std::ftell(out->stream);
      w.metadataAt = start >= 0 ? start + static_cast<long>(sizeof kGpxHead - 1) : -1;
      Emit(*out, TrackHead(format));
      char* room = SinkRoom(*out);
      std::memset(room, ' ', kMetadataRoom);
      SinkWritten(*out, room + kMetadataRoom);
      Emit(*out, "\n<trk><name>");
      WriteName(*out, format, name, nameLength);
      Emit(*out, "</name>\n");
      break;
    }
    case TrackFormat::kGeoJson:
      Emit(*out, TrackHead(format));
      Emit(*out, "\n{\"type\":\"Feature\",\"properties\":{\"name\":\"");
      WriteName(*out, format, name, nameLength);
      Emit(*out, "\"},\"geometry\":{\"type\":\"MultiLineString\",\"coordinates\":[");
      break;
    case TrackFormat::kKml:
      Emit(*out, TrackHead(format));
      Emit(*out, "\n<Document><name>");
      WriteName(*out, format, name, nameLength);
      Emit(*out, "</name>\n<Placemark><name>Track</name><MultiGeometry>\n");
      break;
  }
}

void AddTrackFix(TrackWriter& w, const FixRecord& fix, double timeOfDay, int satellitesInView) {
  TrackPoint p;
  if (!MakePoint(fix, w.format, p)) return;
  // Undated fixes pass midnight when the time of day falls by half a day.
  if (w.fixes > 0 && timeOfDay + w.dayOffset < w.lastSeconds - 43200) w.dayOffset += 86400;
  const double seconds = timeOfDay + w.dayOffset;
  bool newSegment = !w.segmentOpen || w.lostFix;
  if (!newSegment) {
    const double gap = seconds - w.lastSeconds;
    if (gap < 0 || (w.intervalCount > 0 && gap > kGapIntervals * MedianInterval(w))) {
      newSegment = true;
    } else if (gap > 0) {
      std::copy_backward(w.intervals, w.intervals + kKeptIntervals - 1, w.intervals + kKeptIntervals);
      w.intervals[0] = gap;
      w.intervalCount = std::min(w.intervalCount + 1, kKeptIntervals);
    }
  }
  if (newSegment) {
    StartSegment(w, p);
  } else if (w.format != TrackFormat::kGpx) {
    AddLinePoint(w, p);
  }
  if (w.format == TrackFormat::kGpx) WriteGpxPoint(w, fix, p);
  if (w.format == TrackFormat::kGeoJson && w.points) WriteGeoJsonPoint(w, fix, p, satellitesInView);
  KeepBounds(w, p);
  if (w.fixes == 0) w.first = p;
  w.last = p;
  if (p.utcLength > 0) {
    if (!w.dated) w.firstDated = p;
    w.lastDated = p;
    w.dated = true;
  }
  w.lostFix = false;
  w.lastSeconds = seconds;
  ++w.fixes;
}

void LoseTrackFix(TrackWriter& w) { w.lostFix = true; }

void EndTrack(TrackWriter& w) {
  EndSegment(w);
  switch (w.format) {
    case TrackFormat::kGpx:
      Emit(*w.out, "</trk>\n</gpx>\n");
      FlushSink(*w.out);
      WriteGpxMetadata(w);
      break;
    case TrackFormat::kGeoJson:
      Emit(*w.out, "]}}");
      if (w.points) CopySpill(w);
      Emit(*w.out, "\n]}\n");
      break;
    case TrackFormat::kKml:
      Emit(*w.out, "</MultiGeometry></Placemark>\n");
      if (w.fixes > 0) {
        WriteKmlPlacemark(w, "Start", w.first);
        WriteKmlPlacemark(w, "End", w.last);
      }
      Emit(*w.out, "</Document>\n</kml>\n");
      break;
  }
  FlushSink(*w.out);
}

}  // namespace quorval
