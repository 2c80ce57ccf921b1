// What one conversion of a log keeps while it reads: the counts of what it
// met and, in the multi-system mode, where its receiver cycles stand. Each
// conversion has its own, so that nothing of one log reaches another; the
// epoch record and the run state are the program's.
#pragma once

#include "convert/cycle_conversion.h"
#include "convert/sentence_counts.h"

namespace quorval {

// About 350 KB, most of it the text blocks of the new tables and the
// cycle's mark tables and satellite lists: its
// owner must keep it in static storage or on the heap, not on a thread's
// stack (a Windows thread has 1 MB), and may use it for one conversion
// after another. Zero-initialised it is ready for a log.
struct Conversion {
  SentenceCounts counts;
  CycleConversion cycles;
};

// Ready for the next log, whose tables the outputs name: the classic layout
// by every satellite system's rules (allSystems) or by the classic ones, the
// new tables by the cycles always. Only whether the details are wanted
// (counts.detailed) is kept.
void StartConversion(Conversion& conversion, bool allSystems, const ConversionOutputs& outputs);

}  // namespace quorval
