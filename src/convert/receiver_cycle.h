// One receiver cycle of a multi-system log: what the sentences of one UTC
// time of day said, whatever the order and the talkers they came in. Each
// sentence adds what it carries; the first GGA, RMC, VTG, ZDA and GSA of a
// cycle give its values (a second one of another talker describes the same
// fix), the satellites in view gather from every GSV, and the used ones from
// every GSA of the cycle.
#pragma once

#include <cstdint>

#include "convert/field_tokenizer.h"
#include "convert/numeric_fields.h"
#include "convert/plain_fields.h"
#include "convert/satellite_numbering.h"
#include "state/epoch_record.h"

namespace quorval {

// A sentence's fields as this mode reads them: a field counts only when the
// sentence has it, up to the '*' of its checksum (or with its last field,
// when it has none). A field cut short or missing gives nothing, and the
// checksum digits are never read as a value.
struct DataFields {
  SentenceFields split;
  int count;  // data fields

  explicit DataFields(const char* sentence);

  bool Has(int number) const { return number <= count && FieldAt(split, number).length > 0; }
  // An empty field reads as 0 by itself; only the text past the data (the
  // checksum) must not be read.
  // A plain decimal is read in one pass, anything else by the general rules.
  double Real(int number) const {
    if (number > count) return 0.0;
    const FieldSpan field = FieldAt(split, number);
    double value;
    if (field.present && plain::Real(field.text, value) != nullptr) return value;
    return RealField(field);
  }
  int32_t Int(int number) const { return number <= count ? IntField(FieldAt(split, number)) : 0; }
  int16_t Int16(int number) const { return static_cast<int16_t>(Int(number)); }
  char Letter(int number) const {
    if (number > count) return '\0';
    const FieldSpan field = FieldAt(split, number);
    return field.length > 0 ? field.text[0] : '\0';
  }
};

// Satellites one cycle can hold in view and in use: more than four full
// constellations show at once, and the table prints at most 64.
constexpr int kCycleSatellites = 128;
// Ids of the number space below this are found by their place in the
// cycle's lists at once; a cycle of four systems names a hundred signals.
constexpr int kIndexedIds = 1024;
static_assert(kCycleSatellites < 256, "a place plus one fits a byte");

struct ReceiverCycle {
  // GGA: fields 1 to 11; RMC: position, speed, course, date, status.
  bool hasGga;
  double ggaLatitude, ggaLongitude, msl, alt, ggaHdop;
  int16_t quality, inFix;
  bool hasRmc, rmcValid, rmcDated;
  double rmcLatitude, rmcLongitude, rmcSpeed, rmcCourse;
  int16_t rmcDay, rmcMonth, rmcYear;
  bool hasVtg;
  double vtgSpeed, vtgCourse;
  bool zdaDated;
  int16_t zdaDay, zdaMonth, zdaYear;
  bool hasGsa;
  int16_t fixMode;
  double pdop, hdop, vdop;

  // In view, each satellite once, in the order the cycle first named them;
  // used, each id once.
  SatelliteEntry inView[kCycleSatellites];
  int inViewCount;
  int16_t used[kCycleSatellites];
  int usedCount;
  // For ids below kIndexedIds: the place in inView plus one (0: not in
  // view), and whether the id is used; other ids are looked up in the lists.
  uint8_t inViewPlace[kIndexedIds];
  bool usedId[kIndexedIds];
};

// Empties a cycle for the next one (a cycle starts out zero-initialised):
// its values, and of its tables only the entries its lists set.
void ClearCycle(ReceiverCycle& cycle);

// What a sentence of the cycle adds to it; system is its talker's.
void AddGga(ReceiverCycle& cycle, const DataFields& sentence);
void AddRmc(ReceiverCycle& cycle, const DataFields& sentence);
void AddVtg(ReceiverCycle& cycle, const DataFields& sentence);
void AddZda(ReceiverCycle& cycle, const DataFields& sentence);
void AddGsa(ReceiverCycle& cycle, const DataFields& sentence, SatelliteSystem system);
void AddGsv(ReceiverCycle& cycle, const DataFields& sentence, SatelliteSystem system);
// The same in one pass over the sentence, for a GSV of plain digits ended by
// its checksum, as receivers send it: false, having added nothing, for any
// other, which AddGsv then reads. The text after the terminator is read too
// (a captured sentence has it).
bool AddPlainGsv(ReceiverCycle& cycle, const char* sentence, SatelliteSystem system);

// Whether the cycle holds a fix: its GGA reports a fix quality, or, in a
// cycle without GGA, its RMC says its data are valid.
bool HasFix(const ReceiverCycle& cycle);

// The cycle as the table's row shows it: the record's fields, and the slots
// with the used flags set.
void FillRow(const ReceiverCycle& cycle, double timeOfDay, EpochRecord& row,
             SatelliteEntry* slots, int& filled);

}  // namespace quorval
