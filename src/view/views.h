// The four pictures of a table: the track on a local map, the satellites'
// paths across the sky, the signal of each satellite over time, and the
// satellite counts with the dilution of precision over time.
#pragma once

#include <string>

#include "view/geometry.h"
#include "view/plot_table.h"
#include "view/scene.h"

namespace quorval::view {

enum class ViewKind { kTrack, kSky, kSignal, kSats };
constexpr ViewKind kAllViews[] = {ViewKind::kTrack, ViewKind::kSky, ViewKind::kSignal, ViewKind::kSats};

const char* ViewName(ViewKind kind);   // "track", "sky", "signal", "sats": the command line's words
const char* ViewTitle(ViewKind kind);  // "Track", "Sky", "Signal", "Satellites and DOP"
bool ViewByName(const char* name, ViewKind& kind);

// drawn is false when the table gives this view nothing to draw; the
// picture then says why, and so does problem.
struct ViewOutcome {
  bool drawn = false;
  std::string problem;
};

// The view of the table as a picture of width by height pixels.
ViewOutcome BuildView(ViewKind kind, const PlotTable& table, double width, double height, Scene& scene);

// Where the track view puts the table's positions: the projection about the
// track's centre and the frame of its map (false when no row has a
// position). A row has a position unless it is at 0°, 0° (the receiver had
// none) or outside the globe's ranges.
bool HasPosition(double lon, double lat);
bool TrackFrame(const PlotTable& table, double width, double height, LocalProjection& projection,
                MapFrame& frame);

// Where the sky view puts its sky in a picture of this size.
SkyFrame SkyFrameFor(const PlotTable& table, double width, double height);

// Each view, drawn into a scene of the size it has; the table has rows.
ViewOutcome BuildTrackView(const PlotTable& table, Scene& scene);
ViewOutcome BuildSkyView(const PlotTable& table, Scene& scene);
ViewOutcome BuildSignalView(const PlotTable& table, Scene& scene);
ViewOutcome BuildSatsView(const PlotTable& table, Scene& scene);

}  // namespace quorval::view
