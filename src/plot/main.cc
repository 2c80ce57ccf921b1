// quorval-plot: one view of a Quorval table as a PNG image or an SVG
// drawing, made without a display.
#include <QByteArray>
#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "plot/plot_command.h"
#include "resources/version.h"
#include "view_qt/scene_painter.h"

namespace quorval {
namespace {

// The toolkit's chatter (no runtime folder, fonts it looked for) is not the
// program's to show; what ends it still is.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "quorval-plot: %s\n", message.toLocal8Bit().constData());
  }
}

bool EncodePng(const view::Scene& scene, std::string& bytes) {
  const QByteArray png = view::ScenePng(scene);
  bytes.assign(png.constData(), static_cast<size_t>(png.size()));
  return !png.isEmpty();
}

}  // namespace

}  // namespace quorval

int main(int argc, char** argv) {
  using namespace quorval;
  PlotCommandLine line;
  if (const int status = ParsePlotCommandLine(argc, argv, line); status != 0) return status;
  if (line.help) {
    PrintPlotUsage();
    return kPlotSuccess;
  }
  if (line.version) {
    std::printf("quorval-plot %s\n", kVersionLabel);
    return kPlotSuccess;
  }
  // Only the PNG image needs the toolkit (its painter and fonts). It draws
  // offscreen whether a display is there or not: the program opens no window.
  std::unique_ptr<QGuiApplication> application;
  if (line.format == PictureFormat::kPng) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    static int toolkitArgc = 1;
    static char* toolkitArgv[] = {argv[0], nullptr};
    application = std::make_unique<QGuiApplication>(toolkitArgc, toolkitArgv);
  }
  return RunPlot(line, EncodePng);
}
