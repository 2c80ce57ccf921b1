// A file for what an output must hold back until the end of its log (the
// track of a GPX file behind its bounds, the points of a GeoJSON file
// behind its track): nameless or deleted when closed, in the system's place
// for temporary files.
#pragma once

#include <cstdio>

namespace quorval {

// Opened for writing and reading back; nullptr with errno set when the
// system gives none.
FILE* OpenScratchFile();

}  // namespace quorval
