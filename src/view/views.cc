#include "view/views.h"

#include <cstring>

#include "view/plot_frame.h"

namespace quorval::view {

namespace {

struct ViewNames {
  ViewKind kind;
  const char* name;
  const char* title;
};
constexpr ViewNames kViewNames[] = {
    {ViewKind::kTrack, "track", "Track"},
    {ViewKind::kSky, "sky", "Sky"},
    {ViewKind::kSignal, "signal", "Signal"},
    {ViewKind::kSats, "sats", "Satellites and DOP"},
};

}  // namespace

const char* ViewName(ViewKind kind) { return kViewNames[static_cast<int>(kind)].name; }
const char* ViewTitle(ViewKind kind) { return kViewNames[static_cast<int>(kind)].title; }

bool ViewByName(const char* name, ViewKind& kind) {
  for (const ViewNames& view : kViewNames) {
    if (std::strcmp(name, view.name) == 0) {
      kind = view.kind;
      return true;
    }
  }
  return false;
}

ViewOutcome BuildView(ViewKind kind, const PlotTable& table, double width, double height, Scene& scene) {
  scene = Scene();
  scene.width = width;
  scene.height = height;
  const std::string problem = DescribeTableProblem(table);
  if (!problem.empty()) {
    const double top = AddTitle(scene, table, ViewTitle(kind), "");
    AddNothingToShow(scene, AreaBelow(scene, top, 0), problem);
    return {false, problem};
  }
  switch (kind) {
    case ViewKind::kTrack: return BuildTrackView(table, scene);
    case ViewKind::kSky: return BuildSkyView(table, scene);
    case ViewKind::kSignal: return BuildSignalView(table, scene);
    case ViewKind::kSats: return BuildSatsView(table, scene);
  }
  return {false, "no such view"};
}

}  // namespace quorval::view
