// A window on a Quorval table: the four views as tabs, drawn at the
// window's size, and the view on screen exported to PNG or SVG.
#pragma once

#include <QString>
#include <QWidget>

#include "view/plot_table.h"
#include "view/scene.h"
#include "view/views.h"

class QPushButton;
class QTabBar;

namespace quorval::view {

// Draws one view of a table at the widget's size; the scene is computed
// again only when the view or the size changes.
class PlotCanvas final : public QWidget {
 public:
  explicit PlotCanvas(QWidget* parent);
  void Show(const PlotTable* table, ViewKind kind);
  ViewKind Kind() const { return kind_; }
  const Scene& CurrentScene();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const PlotTable* table_ = nullptr;
  ViewKind kind_ = ViewKind::kTrack;
  Scene scene_;
  bool current_ = false;
};

class PlotWindow final : public QWidget {
 public:
  explicit PlotWindow(QWidget* parent = nullptr);

  // Reads the table and shows its views; false when it could not be read
  // (the views then say why).
  bool OpenTable(const QString& path);
  const PlotTable& Table() const { return table_; }

  void ShowView(ViewKind kind);
  ViewKind CurrentView() const { return canvas_->Kind(); }
  PlotCanvas* Canvas() const { return canvas_; }

  // Writes the view on screen, at its size on screen; the extension (.png or
  // .svg) picks the format. Empty, or the reason it could not be written.
  QString ExportView(const QString& path);

 private:
  void ExportWithDialog();

  PlotTable table_;
  QString tablePath_;
  QTabBar* tabs_;
  PlotCanvas* canvas_;
  QPushButton* export_;
};

}  // namespace quorval::view
