// The program's one file dialog, for the input log, the output file, the
// batch list and a table to look at.
#pragma once

#include "layer/windowing.h"

namespace quorval {

enum ChooseFileKind : int {
  kChooseInput = 0,
  kChooseOutput = 1,
  kChooseList = 2,
  kChooseTable = 3,  // a table to look at: it must exist
};

// The answer values are those of the platform's boxes: IDYES (6) when a name
// was chosen and may be used, IDCANCEL (2) when the user gave up.
using ChooseFileResult = int;

// The pair every filter ends with, in the program's '|' form.
inline constexpr const char kAllFilesFilter[] = "All Files (*.*)|*.*|";

// Shows the dialog over owner with the name in path (a kPathSize buffer)
// proposed; the chosen full path is left there. filter is rewritten in
// place: each '|' becomes the terminator between its texts. For an output,
// a name that exists is only taken after the overwrite question.
ChooseFileResult ChooseFile(WindowHandle owner, char* path, char* filter, ChooseFileKind kind);

}  // namespace quorval
