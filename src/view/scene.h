// A picture as a display list: the views compute one in plain arithmetic,
// and each renderer (SVG text, a Qt painter) draws the same list in order.
// Coordinates are pixels, origin at the top left, y growing downwards.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace quorval::view {

struct Colour {
  uint8_t r = 0, g = 0, b = 0, a = 255;
};

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kNoColour{0, 0, 0, 0};

struct ScenePoint {
  double x = 0, y = 0;
};

struct Polyline {
  std::vector<ScenePoint> points;
  Colour colour;
  double width = 1;
  bool dashed = false;
};

enum class MarkerShape { kCircle, kSquare, kTriangle };

// A circle, square or triangle around a centre; radius is the distance from
// the centre to the circle, or to the middle of a side. A colour with alpha 0
// is not drawn: no fill makes an outline, no stroke a plain filled mark.
struct Marker {
  ScenePoint centre;
  double radius = 3;
  MarkerShape shape = MarkerShape::kCircle;
  Colour stroke;
  Colour fill = kNoColour;
  double strokeWidth = 1;
};

struct SceneRect {
  double x = 0, y = 0, width = 0, height = 0;
  Colour stroke = kNoColour;
  Colour fill = kNoColour;
  double strokeWidth = 1;
};

enum class HAnchor { kStart, kMiddle, kEnd };
enum class VAnchor { kTop, kMiddle, kBaseline, kBottom };

// Text placed by its anchor point: kStart/kTop put the text's left end and
// top at `at`. angle turns it about `at`, in degrees, negative anticlockwise.
struct SceneText {
  ScenePoint at;
  std::string text;
  double size = 12;  // pixels, the font's em
  Colour colour;
  HAnchor h = HAnchor::kStart;
  VAnchor v = VAnchor::kBaseline;
  bool bold = false;
  double angle = 0;
};

using SceneItem = std::variant<Polyline, Marker, SceneRect, SceneText>;

struct Scene {
  double width = 0, height = 0;
  Colour background = kWhite;
  std::vector<SceneItem> items;  // drawn in this order, later over earlier
};

// The width a text takes in the sans-serif face the renderers use, close
// enough to lay out labels and legends without a font library.
double EstimatedTextWidth(const std::string& text, double size);

}  // namespace quorval::view
