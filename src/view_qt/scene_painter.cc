#include "view_qt/scene_painter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <vector>

namespace quorval::view {

namespace {

QColor QtColour(Colour colour) { return QColor(colour.r, colour.g, colour.b, colour.a); }

QPen PenOf(Colour colour, double width, bool dashed = false) {
  if (colour.a == 0) return Qt::NoPen;
  QPen pen(QtColour(colour), width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  if (dashed) pen.setDashPattern({4 / width, 3 / width});
  return pen;
}

QBrush BrushOf(Colour colour) { return colour.a == 0 ? QBrush(Qt::NoBrush) : QBrush(QtColour(colour)); }

// The face the layout's text widths were estimated for; where it is not
// installed, the platform's sans-serif face.
QFont FontOf(const SceneText& text) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(text.size))));
  font.setBold(text.bold);
  return font;
}

class Sprites;

// A thick pen's outline of a long line that doubles back on itself in every
// pixel column (a signal over thousands of epochs) is one huge polygon, and
// filling it costs the square of its length; drawn in short pieces, each
// continuing the dashes of the one before, it looks the same and is quick.
void Draw(QPainter& painter, const Polyline& line, Sprites&) {
  constexpr size_t kPiece = 48;
  QPen pen = PenOf(line.colour, line.width, line.dashed);
  painter.setBrush(Qt::NoBrush);
  QPointF piece[kPiece + 1];
  double drawn = 0;  // length so far, in pen widths
  for (size_t start = 0; start + 1 < line.points.size(); start += kPiece) {
    const size_t count = std::min(kPiece + 1, line.points.size() - start);
    for (size_t i = 0; i < count; ++i) piece[i] = QPointF(line.points[start + i].x, line.points[start + i].y);
    if (line.dashed) pen.setDashOffset(drawn);
    painter.setPen(pen);
    painter.drawPolyline(piece, static_cast<int>(count));
    for (size_t i = 1; i < count && line.dashed; ++i) {
      drawn += std::hypot(piece[i].x() - piece[i - 1].x(), piece[i].y() - piece[i - 1].y()) / line.width;
    }
  }
}

void DrawShape(QPainter& painter, const Marker& mark) {
  painter.setPen(PenOf(mark.stroke, mark.strokeWidth));
  painter.setBrush(BrushOf(mark.fill));
  const QPointF c(mark.centre.x, mark.centre.y);
  const double r = mark.radius;
  switch (mark.shape) {
    case MarkerShape::kCircle: painter.drawEllipse(c, r, r); break;
    case MarkerShape::kSquare: painter.drawRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r)); break;
    case MarkerShape::kTriangle: {
      const double half = r * std::sqrt(3.0);
      const QPointF corners[] = {{c.x(), c.y() - 2 * r}, {c.x() + half, c.y() + r}, {c.x() - half, c.y() + r}};
      painter.drawPolygon(corners, 3);
      break;
    }
  }
}

bool SameLook(const Marker& a, const Marker& b) {
  const auto same = [](Colour x, Colour y) { return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a; };
  return a.radius == b.radius && a.shape == b.shape && a.strokeWidth == b.strokeWidth && same(a.stroke, b.stroke) &&
         same(a.fill, b.fill);
}

// Small marks come by the ten thousand (every degree a satellite crossed);
// each look is drawn once into a sprite, which is then copied to each place,
// to the nearest pixel.
class Sprites {
 public:
  bool Draw(QPainter& painter, const Marker& mark) {
    constexpr double kLargest = 4;  // radius in pixels
    if (mark.radius > kLargest || painter.transform().type() > QTransform::TxTranslate) return false;
    const Sprite* sprite = nullptr;
    for (const Sprite& s : sprites_) {
      if (SameLook(s.look, mark)) sprite = &s;
    }
    if (sprite == nullptr) sprite = &Make(mark);
    const double half = sprite->image.width() / 2.0;
    painter.drawImage(QPointF(std::round(mark.centre.x - half), std::round(mark.centre.y - half)), sprite->image);
    return true;
  }

 private:
  struct Sprite {
    Marker look;
    QImage image;
  };
  const Sprite& Make(const Marker& mark) {
    const int size = 2 * static_cast<int>(std::ceil(2 * mark.radius + mark.strokeWidth)) + 2;
    Sprite sprite{mark, QImage(size, size, QImage::Format_ARGB32_Premultiplied)};
    sprite.image.fill(Qt::transparent);
    QPainter painter(&sprite.image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    sprite.look.centre = {size / 2.0, size / 2.0};
    DrawShape(painter, sprite.look);
    painter.end();
    sprites_.push_back(std::move(sprite));
    return sprites_.back();
  }
  std::vector<Sprite> sprites_;
};

void Draw(QPainter& painter, const Marker& mark, Sprites& sprites) {
  if (!sprites.Draw(painter, mark)) DrawShape(painter, mark);
}

void Draw(QPainter& painter, const SceneRect& rect, Sprites&) {
  painter.setPen(PenOf(rect.stroke, rect.strokeWidth));
  painter.setBrush(BrushOf(rect.fill));
  painter.drawRect(QRectF(rect.x, rect.y, rect.width, rect.height));
}

void Draw(QPainter& painter, const SceneText& text, Sprites&) {
  const QFont font = FontOf(text);
  const QFontMetricsF metrics(font);
  const QString string = QString::fromUtf8(text.text.data(), static_cast<qsizetype>(text.text.size()));
  const double width = metrics.horizontalAdvance(string);
  double x = 0, y = 0;
  switch (text.h) {
    case HAnchor::kStart: break;
    case HAnchor::kMiddle: x = -width / 2; break;
    case HAnchor::kEnd: x = -width; break;
  }
  switch (text.v) {
    case VAnchor::kTop: y = metrics.ascent(); break;
    case VAnchor::kMiddle: y = (metrics.ascent() - metrics.descent()) / 2; break;
    case VAnchor::kBaseline: break;
    case VAnchor::kBottom: y = -metrics.descent(); break;
  }
  painter.save();
  painter.translate(text.at.x, text.at.y);
  if (text.angle != 0) painter.rotate(text.angle);
  painter.setFont(font);
  painter.setPen(QtColour(text.colour));
  painter.drawText(QPointF(x, y), string);
  painter.restore();
}

}  // namespace

void PaintScene(QPainter& painter, const Scene& scene) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  Sprites sprites;
  for (const SceneItem& item : scene.items) {
    std::visit([&painter, &sprites](const auto& primitive) { Draw(painter, primitive, sprites); }, item);
  }
}

QImage SceneImage(const Scene& scene) {
  QImage image(std::max(1, static_cast<int>(std::lround(scene.width))),
               std::max(1, static_cast<int>(std::lround(scene.height))), QImage::Format_RGB32);
  image.fill(QtColour(scene.background));
  QPainter painter(&image);
  PaintScene(painter, scene);
  painter.end();
  return image;
}

QByteArray ScenePng(const Scene& scene) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!SceneImage(scene).save(&buffer, "PNG")) return QByteArray();
  return bytes;
}

}  // namespace quorval::view
