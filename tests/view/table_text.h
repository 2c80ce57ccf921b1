// Quorval tables written out for the view tests: the converter's 24 named
// columns, then any number of satellite slots.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "view/plot_table.h"

namespace view_test {

using namespace quorval;

inline std::string Header(int slotCount) {
  std::string header =
      "index,TimeOfDay(s),Longitude,Latitude,lon(deg),lat(deg),alt(m),msl(m),spd(m/s),heading(deg),"
      "ve(m/s),vn(m/s),GGAhdop,pdop,hdop,vdop,sGSAMode,year,month,day,numsvsinfix,numused,numsvsview,gpsqual,";
  char name[128];
  for (int n = 0; n < slotCount; ++n) {
    std::snprintf(name, sizeof name, "svid%02d,azim%02d,elev%02d,sgnl%02d,used%02d,", n, n, n, n, n);
    header += name;
  }
  return header + "\r\n";
}

struct Epoch {
  double time = 45310;
  double lon = 11.5, lat = 48.1;
  int gpsqual = 1;
  std::vector<view::SatelliteSlot> satellites;  // the first slots; the rest are 0
};

// A row as the converter prints it (the degrees-minutes text is not read).
inline std::string Row(const Epoch& e, int slotCount) {
  char text[256];
  std::snprintf(text, sizeof text, "1,%.1f,0:00:00.00E,0:00:00.00N,%.6f,%.6f,1.0,2.0,0.000,0.000,0.000,0.000,"
                "0.9,1.8,0.9,1.5,3,24,2,29,8,7,%d,%d,", e.time, e.lon, e.lat,
                static_cast<int>(e.satellites.size()), e.gpsqual);
  std::string row = text;
  for (int n = 0; n < slotCount; ++n) {
    const view::SatelliteSlot s = n < static_cast<int>(e.satellites.size()) ? e.satellites[n] : view::SatelliteSlot{};
    std::snprintf(text, sizeof text, "%d,%d,%d,%d,%d,", s.svid, s.azim, s.elev, s.sgnl, s.used);
    row += text;
  }
  return row + "\r\n";
}

inline view::PlotTable TableOf(const std::string& text, const char* name = "t.csv") {
  view::PlotTable table;
  FILE* in = TempStream();
  if (in == nullptr) return table;
  std::fwrite(text.data(), 1, text.size(), in);
  std::rewind(in);
  view::ReadPlotTableStream(in, name, table);
  std::fclose(in);
  return table;
}

}  // namespace view_test
