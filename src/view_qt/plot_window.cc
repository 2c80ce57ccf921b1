#include "view_qt/plot_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>
#include <cstring>

#include "view_qt/scene_painter.h"
#include "view/svg_writer.h"

namespace quorval::view {

namespace {

const QString kPngFilter = QStringLiteral("PNG image (*.png)");
const QString kSvgFilter = QStringLiteral("SVG drawing (*.svg)");

}  // namespace

PlotCanvas::PlotCanvas(QWidget* parent) : QWidget(parent) {
  setMinimumSize(320, 240);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotCanvas::Show(const PlotTable* table, ViewKind kind) {
  table_ = table;
  kind_ = kind;
  current_ = false;
  update();
}

const Scene& PlotCanvas::CurrentScene() {
  if (!current_ || scene_.width != width() || scene_.height != height()) {
    static const PlotTable kNoTable = [] {
      PlotTable none;
      none.name = "(no table)";
      none.problem = "no table is open";
      return none;
    }();
    BuildView(kind_, table_ != nullptr ? *table_ : kNoTable, width(), height(), scene_);
    current_ = true;
  }
  return scene_;
}

void PlotCanvas::paintEvent(QPaintEvent*) {
  const Scene& scene = CurrentScene();
  QPainter painter(this);
  painter.fillRect(rect(), QColor(scene.background.r, scene.background.g, scene.background.b));
  PaintScene(painter, scene);
}

PlotWindow::PlotWindow(QWidget* parent) : QWidget(parent) {
  setWindowTitle(QStringLiteral("Quorval"));
  tabs_ = new QTabBar(this);
  for (const ViewKind kind : kAllViews) tabs_->addTab(QString::fromUtf8(ViewTitle(kind)));
  export_ = new QPushButton(QStringLiteral("Export..."), this);
  export_->setToolTip(QStringLiteral("Save the view as a PNG image or an SVG drawing"));
  canvas_ = new PlotCanvas(this);

  auto* bar = new QHBoxLayout;
  bar->addWidget(tabs_, 1);
  bar->addWidget(export_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(bar);
  layout->addWidget(canvas_, 1);

  QObject::connect(tabs_, &QTabBar::currentChanged, this,
                   [this](int index) { canvas_->Show(&table_, kAllViews[index]); });
  QObject::connect(export_, &QPushButton::clicked, this, [this] { ExportWithDialog(); });
  canvas_->Show(&table_, ViewKind::kTrack);
  resize(1000, 760);
}

bool PlotWindow::OpenTable(const QString& path) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  tablePath_ = path;
  const bool read = ReadPlotTable(QFile::encodeName(path).constData(), table_);
  QApplication::restoreOverrideCursor();
  setWindowTitle(QStringLiteral("Quorval - ") + QString::fromUtf8(table_.name.c_str()));
  canvas_->Show(&table_, CurrentView());
  return read;
}

void PlotWindow::ShowView(ViewKind kind) { tabs_->setCurrentIndex(static_cast<int>(kind)); }

QString PlotWindow::ExportView(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  const Scene& scene = canvas_->CurrentScene();
  int error = 0;
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    error = WriteSvgFile(scene, name.constData());
  } else if (path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
    const QByteArray png = ScenePng(scene);
    if (png.isEmpty()) return QStringLiteral("Cannot encode the PNG image of '%1'").arg(path);
    error = WriteWholeFile(name.constData(), png.constData(), static_cast<size_t>(png.size()));
  } else {
    return QStringLiteral("Cannot export to '%1': the name must end in .png or .svg").arg(path);
  }
  if (error != 0) return QStringLiteral("Cannot write '%1': %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
  return QString();
}

void PlotWindow::ExportWithDialog() {
  const QFileInfo table(tablePath_);
  const QString proposed = table.dir().filePath(table.completeBaseName() + QStringLiteral("-") +
                                                QString::fromUtf8(ViewName(CurrentView())) +
                                                QStringLiteral(".png"));
  QString filter = kPngFilter;
  QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export View"), proposed,
                                              kPngFilter + QStringLiteral(";;") + kSvgFilter, &filter);
  if (path.isEmpty()) return;
  // A name without either extension takes the one of the chosen type.
  if (!path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) &&
      !path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    path += filter == kSvgFilter ? QStringLiteral(".svg") : QStringLiteral(".png");
  }
  const QString failure = ExportView(path);
  if (!failure.isEmpty()) QMessageBox::warning(this, QStringLiteral("Export View"), failure);
}

}  // namespace quorval::view
