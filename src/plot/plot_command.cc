#include "plot/plot_command.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "view/svg_writer.h"

namespace quorval {

namespace {

constexpr const char kProgram[] = "quorval-plot";
constexpr int kLeastSide = 200, kMostSide = 8000;

int UsageError(const std::string& what) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", kProgram, what.c_str(), kProgram);
  return kPlotUsage;
}

bool EndsWith(const char* text, const char* end) {
  const size_t length = std::strlen(text), endLength = std::strlen(end);
  return length >= endLength && strcasecmp(text + length - endLength, end) == 0;
}

bool ParseSize(const char* text, int& width, int& height) {
  char* end = nullptr;
  const long w = std::strtol(text, &end, 10);
  if (end == text || (*end != 'x' && *end != 'X')) return false;
  const char* second = end + 1;
  const long h = std::strtol(second, &end, 10);
  if (end == second || *end != '\0') return false;
  if (w < kLeastSide || w > kMostSide || h < kLeastSide || h > kMostSide) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

// "--name VALUE" or "--name=VALUE"; null when arg is not the option.
const char* OptionValue(int argc, char** argv, int& i, const char* name, bool& missing) {
  const size_t length = std::strlen(name);
  if (std::strncmp(argv[i], name, length) != 0) return nullptr;
  if (argv[i][length] == '=') return argv[i] + length + 1;
  if (argv[i][length] != '\0') return nullptr;
  if (i + 1 == argc) {
    missing = true;
    return nullptr;
  }
  return argv[++i];
}

bool SameFile(const char* a, const char* b) {
  struct stat first, second;
  return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace

void PrintPlotUsage() {
  std::printf(
      "Usage: %s TABLE --view VIEW -o PICTURE [--size WxH]\n"
      "Draw one view of a Quorval table (a CSV table of quorval-convert or of the\n"
      "desktop program) as a PNG image or an SVG drawing, without a display.\n"
      "\n"
      "  --view VIEW   track   the positions on a local map, coloured by fix quality\n"
      "                sky     each satellite's path by azimuth and elevation, by SNR\n"
      "                signal  the SNR of each satellite over time\n"
      "                sats    the satellites in fix, used and in view, and the\n"
      "                        dilution of precision, over time\n"
      "  -o PICTURE    the picture to write; its extension, .png or .svg, picks the format\n"
      "  --size WxH    the picture's size in pixels (default 1000x700; each side %d to %d)\n"
      "  --help        show this help and exit\n"
      "  --version     show the program's name and version label and exit\n"
      "\n"
      "Damaged rows of the table (too few or too many values, text where a number\n"
      "belongs, a last row cut short) are left out and reported.\n"
      "\n"
      "Exit status: 0 the picture was written from a whole table, 1 usage error,\n"
      "2 the table could not be read, 3 the picture could not be written,\n"
      "4 the picture was written but says what is wrong: rows were damaged, or the\n"
      "table has no rows, is no Quorval table, or holds nothing for this view.\n"
      "\n"
      "Example:\n"
      "  %s day1-103+000.csv --view sky -o day1-sky.svg\n",
      kProgram, kLeastSide, kMostSide, kProgram);
}

int ParsePlotCommandLine(int argc, char** argv, PlotCommandLine& line) {
  bool viewGiven = false;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    bool missing = false;
    const char* value = nullptr;
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      line.help = true;
    } else if (std::strcmp(arg, "--version") == 0) {
      line.version = true;
    } else if ((value = OptionValue(argc, argv, i, "--view", missing)) != nullptr) {
      if (!view::ViewByName(value, line.view)) {
        return UsageError(std::string("unknown view '") + value + "' (track, sky, signal or sats)");
      }
      viewGiven = true;
    } else if ((value = OptionValue(argc, argv, i, "-o", missing)) != nullptr) {
      line.output = value;
    } else if ((value = OptionValue(argc, argv, i, "--size", missing)) != nullptr) {
      if (!ParseSize(value, line.width, line.height)) {
        return UsageError(std::string("--size wants WxH, each side from ") + std::to_string(kLeastSide) +
                          " to " + std::to_string(kMostSide) + ", not '" + value + "'");
      }
    } else if (missing) {
      return UsageError(std::string("option ") + arg + " needs a value");
    } else if (arg[0] == '-' && arg[1] != '\0') {
      return UsageError(std::string("unknown option ") + arg);
    } else if (line.table != nullptr) {
      return UsageError("one TABLE at a time");
    } else {
      line.table = arg;
    }
  }
  if (line.help || line.version) return 0;
  if (line.table == nullptr) return UsageError("no TABLE given");
  if (!viewGiven) return UsageError("no --view given (track, sky, signal or sats)");
  if (line.output == nullptr) return UsageError("no -o PICTURE given");
  if (EndsWith(line.output, ".png")) {
    line.format = PictureFormat::kPng;
  } else if (EndsWith(line.output, ".svg")) {
    line.format = PictureFormat::kSvg;
  } else {
    return UsageError(std::string("the picture '") + line.output + "' must end in .png or .svg");
  }
  return 0;
}

int RunPlot(const PlotCommandLine& line, PngEncoder encodePng) {
  if (SameFile(line.table, line.output)) {
    std::fprintf(stderr, "%s: %s: refusing to write the picture over the table\n", kProgram, line.output);
    return kPlotOutputFailed;
  }
  view::PlotTable table;
  if (!view::ReadPlotTable(line.table, table)) {
    std::fprintf(stderr, "%s: %s\n", kProgram, table.problem.c_str());
    return kPlotTableUnreadable;
  }
  view::Scene scene;
  const view::ViewOutcome outcome = view::BuildView(line.view, table, line.width, line.height, scene);

  int error = 0;
  if (line.format == PictureFormat::kSvg) {
    error = view::WriteSvgFile(scene, line.output);
  } else {
    std::string png;
    if (!encodePng(scene, png)) {
      std::fprintf(stderr, "%s: cannot encode the PNG image for '%s'\n", kProgram, line.output);
      return kPlotOutputFailed;
    }
    error = view::WriteWholeFile(line.output, png.data(), png.size());
  }
  if (error != 0) {
    std::fprintf(stderr, "%s: cannot write '%s': %s\n", kProgram, line.output, std::strerror(error));
    return kPlotOutputFailed;
  }

  int status = kPlotSuccess;
  if (!outcome.drawn) {
    std::fprintf(stderr, "%s: %s: %s (the picture says so)\n", kProgram, line.table, outcome.problem.c_str());
    status = kPlotNothingWhole;
  }
  if (table.damagedRows > 0) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, line.table, view::DescribeDamage(table).c_str());
    status = kPlotNothingWhole;
  }
  return status;
}

}  // namespace quorval
