// quorval-plot's arguments and its run: one view of a table as a picture.
#pragma once

#include "view/views.h"

namespace quorval {

enum PlotExitStatus {
  kPlotSuccess = 0,
  kPlotUsage = 1,
  kPlotTableUnreadable = 2,
  kPlotOutputFailed = 3,
  kPlotNothingWhole = 4,  // the picture was written; it shows the table damaged or without this view's data
};

enum class PictureFormat { kPng, kSvg };

struct PlotCommandLine {
  const char* table = nullptr;
  view::ViewKind view = view::ViewKind::kTrack;
  const char* output = nullptr;
  PictureFormat format = PictureFormat::kPng;
  int width = 1000, height = 700;
  bool help = false;
  bool version = false;
};

// Returns 0, or kPlotUsage after saying on standard error what is wrong.
int ParsePlotCommandLine(int argc, char** argv, PlotCommandLine& line);
void PrintPlotUsage();

// Draws the view; encodePng turns the scene into PNG bytes (it needs the
// toolkit, which only the program starts). Returns the exit status.
using PngEncoder = bool (*)(const view::Scene& scene, std::string& bytes);
int RunPlot(const PlotCommandLine& line, PngEncoder encodePng);

}  // namespace quorval
