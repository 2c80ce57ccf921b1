#include <algorithm>
#include <cmath>
#include <memory>

#include "view/plot_frame.h"
#include "view/views.h"

namespace quorval::view {

namespace {

// The signal-to-noise ratio in bands, weak to strong; 0 is a satellite in
// view that the receiver does not track.
struct SnrBand {
  int from;  // dB-Hz
  const char* label;
  Colour colour;
};
constexpr SnrBand kBands[] = {
    {0, "0 (not tracked)", {0xA0, 0xA0, 0xA0}},
    {1, "below 20", {0xD7, 0x30, 0x27}},
    {20, "20 to 29", {0xF4, 0x8C, 0x1E}},
    {30, "30 to 39", {0xE6, 0xC2, 0x00}},
    {40, "40 to 49", {0x4C, 0xAF, 0x50}},
    {50, "50 and above", {0x1F, 0x5F, 0xD0}},
};
constexpr int kBandCount = sizeof kBands / sizeof kBands[0];
constexpr double kLegendWidth = 150;
constexpr Colour kRing{0xB8, 0xBE, 0xC8};
constexpr Colour kFaintRing{0xE0, 0xE3, 0xE8};

int BandOf(int sgnl) {
  int band = 0;
  for (int b = 1; b < kBandCount; ++b) {
    if (sgnl >= kBands[b].from) band = b;
  }
  return band;
}

// A satellite slot with a place in the sky: azimuth and elevation in range,
// and not both 0, which is what a GSV sentence without them leaves.
bool InSky(const SatelliteSlot& slot) {
  return slot.svid != 0 && slot.elev >= 0 && slot.elev <= 90 && slot.azim >= 0 && slot.azim <= 360 &&
         !(slot.azim == 0 && slot.elev == 0);
}

void AddCircle(Scene& scene, const SkyFrame& sky, double elevation, Colour colour, double width) {
  Marker ring;
  ring.centre = {sky.centreX, sky.centreY};
  ring.radius = sky.radius * (90 - elevation) / 90;
  ring.stroke = colour;
  ring.strokeWidth = width;
  scene.items.emplace_back(ring);
}

void AddSkyGrid(Scene& scene, const SkyFrame& sky) {
  for (const double elevation : {75.0, 45.0, 15.0}) AddCircle(scene, sky, elevation, kFaintRing, 1);
  for (const double elevation : {60.0, 30.0}) AddCircle(scene, sky, elevation, kRing, 1);
  AddCircle(scene, sky, 0, kFrame, 1.5);
  for (int azimuth = 0; azimuth < 360; azimuth += 30) {
    const ScenePoint rim = SkyPixel(sky, azimuth, 0);
    AddLine(scene, sky.centreX, sky.centreY, rim.x, rim.y, azimuth % 90 == 0 ? kRing : kFaintRing);
    const ScenePoint label = SkyPixel(sky, azimuth, -14 * 90 / sky.radius);  // 14 px outside the rim
    static constexpr const char* kCompass[] = {"N", "E", "S", "W"};
    if (azimuth % 90 == 0) {
      AddText(scene, label.x, label.y, kCompass[azimuth / 90], kLabelSize + 1, HAnchor::kMiddle,
              VAnchor::kMiddle, kInk, true);
    } else {
      AddText(scene, label.x, label.y, std::to_string(azimuth) + "\u00B0", kTickSize, HAnchor::kMiddle,
              VAnchor::kMiddle);
    }
  }
  for (const int elevation : {30, 60}) {
    const ScenePoint at = SkyPixel(sky, 0, elevation);
    AddText(scene, at.x + 3, at.y - 2, std::to_string(elevation) + "\u00B0", kTickSize - 1, HAnchor::kStart,
            VAnchor::kBottom, kFrame);
  }
}

struct Satellite {
  int16_t svid = 0;
  SatelliteSlot last{};
};

}  // namespace

SkyFrame SkyFrameFor(const PlotTable& table, double width, double height) {
  Scene sized;
  sized.width = width;
  sized.height = height;
  const PlotArea area = AreaBelow(sized, TitleBottom(table), kLegendWidth);
  SkyFrame sky;
  sky.centreX = area.left + area.width / 2;
  sky.centreY = area.top + area.height / 2;
  // Room outside the rim for the compass letters.
  sky.radius = std::max(std::min(area.width, area.height) / 2 - 22, 20.0);
  return sky;
}

ViewOutcome BuildSkyView(const PlotTable& table, Scene& scene) {
  const SkyFrame sky = SkyFrameFor(table, scene.width, scene.height);
  const double top = TitleBottom(table);

  // Each satellite's marks, one for every place and state it took: a
  // satellite stays minutes on one degree of the sky, its SNR wavering
  // across a band's edge, so a grid of the sky's whole degrees remembers
  // which satellite was drawn there last and in which states, and repeats
  // are left out. Later marks lie over earlier ones.
  constexpr int kAzimuths = 360, kElevations = 91;
  struct Drawn {
    int16_t svid;
    uint16_t states;  // a bit for each band, used and not
  };
  std::unique_ptr<Drawn[]> drawn(new Drawn[kAzimuths * kElevations]());
  std::vector<Satellite> satellites;
  std::vector<int> indexOf(65536, -1);
  std::vector<Marker> marks;
  for (size_t row = 0; row < table.Rows(); ++row) {
    const SatelliteSlot* rowSlots = table.SlotsOf(row);
    for (int s = 0; s < table.slotCount; ++s) {
      const SatelliteSlot& slot = rowSlots[s];
      if (!InSky(slot)) continue;
      int& index = indexOf[static_cast<uint16_t>(slot.svid)];
      if (index < 0) {
        index = static_cast<int>(satellites.size());
        satellites.push_back({slot.svid, slot});
      }
      satellites[static_cast<size_t>(index)].last = slot;
      const int band = BandOf(slot.sgnl);
      const auto state = static_cast<uint16_t>(1u << (band * 2 + (slot.used != 0)));
      Drawn& cell = drawn[(slot.azim % 360) * kElevations + slot.elev];
      if (cell.svid != slot.svid) cell = {slot.svid, 0};
      if ((cell.states & state) != 0) continue;
      cell.states |= state;
      Marker mark;
      mark.centre = SkyPixel(sky, slot.azim, slot.elev);
      mark.radius = 2.6;
      mark.stroke = kBands[band].colour;
      mark.strokeWidth = 1.2;
      if (slot.used != 0) mark.fill = kBands[band].colour;
      marks.push_back(mark);
    }
  }

  char detail[160];
  std::snprintf(detail, sizeof detail, "%s over %s; north up, east to the right, zenith at the centre",
                CountOf(satellites.size(), "satellite").c_str(), CountOf(table.Rows(), "row").c_str());
  AddTitle(scene, table, "Sky", satellites.empty() ? "" : detail);
  if (satellites.empty()) {
    const std::string problem = "no satellites: no row places a satellite in the sky";
    AddNothingToShow(scene, AreaBelow(scene, top, 0), problem);
    return {false, problem};
  }
  AddSkyGrid(scene, sky);
  for (Marker& mark : marks) scene.items.emplace_back(mark);
  // Where each satellite was last, with its id.
  for (const Satellite& satellite : satellites) {
    const ScenePoint at = SkyPixel(sky, satellite.last.azim, satellite.last.elev);
    Marker mark;
    mark.centre = at;
    mark.radius = 5.5;
    const Colour colour = kBands[BandOf(satellite.last.sgnl)].colour;
    const bool used = satellite.last.used != 0;
    mark.stroke = used ? kInk : colour;
    mark.strokeWidth = used ? 1.2 : 2.2;
    mark.fill = used ? colour : kWhite;
    scene.items.emplace_back(mark);
    AddText(scene, at.x + 7, at.y - 5, std::to_string(satellite.svid), kTickSize, HAnchor::kStart,
            VAnchor::kBottom, kInk, true);
  }

  std::vector<LegendEntry> key;
  for (int b = kBandCount - 1; b >= 0; --b) key.push_back({kBands[b].label, kBands[b].colour, LegendMark::kFilled});
  const double legendLeft = scene.width - kLegendWidth - 6;
  double y = AddLegend(scene, legendLeft, top, "SNR (dB-Hz)", key, kBandCount);
  y = AddLegend(scene, legendLeft, y + 16, "marks",
                {{"used in the fix", kInk, LegendMark::kFilled}, {"not used", kInk, LegendMark::kOpen}}, 2);
  AddText(scene, legendLeft, y + 12, "big mark: last place", kTickSize, HAnchor::kStart, VAnchor::kTop);
  return {true, ""};
}

}  // namespace quorval::view
