#include "view/svg_writer.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace quorval::view {

namespace {

// The face's ascent and descent in em (Liberation Sans), the vertical
// anchors' offsets from the baseline, as the Qt painter measures them.
constexpr double kAscent = 0.905;
constexpr double kDescent = 0.212;

void Number(std::string& out, double value) {
  char text[64];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
  int length = error == std::errc() ? static_cast<int>(end - text) : 0;
  // Trailing zeros say nothing and make the file larger.
  while (length > 0 && text[length - 1] == '0') --length;
  if (length > 0 && text[length - 1] == '.') --length;
  if (length == 2 && text[0] == '-' && text[1] == '0') {
    text[0] = '0';
    length = 1;
  }
  out.append(text, static_cast<size_t>(length));
}

void Attribute(std::string& out, const char* name, double value) {
  out += ' ';
  out += name;
  out += "=\"";
  Number(out, value);
  out += '"';
}

void Paint(std::string& out, const char* name, Colour colour) {
  out += ' ';
  out += name;
  if (colour.a == 0) {
    out += "=\"none\"";
    return;
  }
  char text[48];
  std::snprintf(text, sizeof text, "=\"#%02x%02x%02x\"", colour.r, colour.g, colour.b);
  out += text;
  if (colour.a < 255) {
    out += ' ';
    out += name;
    out += "-opacity=\"";
    Number(out, colour.a / 255.0);
    out += '"';
  }
}

// Text as XML character data: markup characters escaped, bytes that are
// not UTF-8 (a file name can hold any) shown as '?'.
void Escaped(std::string& out, const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    for (size_t k = 1; k < length; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) length = 0;
    }
    if (length == 0 || (c < 0x20)) {
      out += '?';
      ++i;
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.append(text, i, length);
    }
    i += length;
  }
}

void Stroke(std::string& out, Colour colour, double width) {
  Paint(out, "stroke", colour);
  if (colour.a != 0) Attribute(out, "stroke-width", width);
}

void Write(std::string& out, const Polyline& line) {
  out += "<polyline points=\"";
  for (size_t i = 0; i < line.points.size(); ++i) {
    if (i > 0) out += ' ';
    Number(out, line.points[i].x);
    out += ',';
    Number(out, line.points[i].y);
  }
  out += "\" fill=\"none\"";
  Stroke(out, line.colour, line.width);
  out += " stroke-linejoin=\"round\" stroke-linecap=\"round\"";
  if (line.dashed) out += " stroke-dasharray=\"4 3\"";
  out += "/>\n";
}

void Write(std::string& out, const Marker& mark) {
  const double r = mark.radius;
  const ScenePoint c = mark.centre;
  switch (mark.shape) {
    case MarkerShape::kCircle:
      out += "<circle";
      Attribute(out, "cx", c.x);
      Attribute(out, "cy", c.y);
      Attribute(out, "r", r);
      break;
    case MarkerShape::kSquare:
      out += "<rect";
      Attribute(out, "x", c.x - r);
      Attribute(out, "y", c.y - r);
      Attribute(out, "width", 2 * r);
      Attribute(out, "height", 2 * r);
      break;
    case MarkerShape::kTriangle: {
      // Point up; the circle through its corners has twice the radius.
      const double half = r * std::sqrt(3.0);
      out += "<polygon points=\"";
      Number(out, c.x);
      out += ',';
      Number(out, c.y - 2 * r);
      out += ' ';
      Number(out, c.x + half);
      out += ',';
      Number(out, c.y + r);
      out += ' ';
      Number(out, c.x - half);
      out += ',';
      Number(out, c.y + r);
      out += '"';
      break;
    }
  }
  Paint(out, "fill", mark.fill);
  Stroke(out, mark.stroke, mark.strokeWidth);
  out += "/>\n";
}

void Write(std::string& out, const SceneRect& rect) {
  out += "<rect";
  Attribute(out, "x", rect.x);
  Attribute(out, "y", rect.y);
  Attribute(out, "width", rect.width);
  Attribute(out, "height", rect.height);
  Paint(out, "fill", rect.fill);
  Stroke(out, rect.stroke, rect.strokeWidth);
  out += "/>\n";
}

void Write(std::string& out, const SceneText& text) {
  double baseline = text.at.y;
  switch (text.v) {
    case VAnchor::kTop: baseline += kAscent * text.size; break;
    case VAnchor::kMiddle: baseline += (kAscent - kDescent) / 2 * text.size; break;
    case VAnchor::kBaseline: break;
    case VAnchor::kBottom: baseline -= kDescent * text.size; break;
  }
  out += "<text";
  Attribute(out, "x", text.at.x);
  Attribute(out, "y", baseline);
  Attribute(out, "font-size", text.size);
  if (text.bold) out += " font-weight=\"bold\"";
  static constexpr const char* kAnchors[] = {"start", "middle", "end"};
  out += " text-anchor=\"";
  out += kAnchors[static_cast<int>(text.h)];
  out += '"';
  Paint(out, "fill", text.colour);
  if (text.angle != 0) {
    out += " transform=\"rotate(";
    Number(out, text.angle);
    out += ' ';
    Number(out, text.at.x);
    out += ' ';
    Number(out, text.at.y);
    out += ")\"";
  }
  out += '>';
  Escaped(out, text.text);
  out += "</text>\n";
}

}  // namespace

std::string SvgText(const Scene& scene) {
  std::string out;
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"";
  Attribute(out, "width", scene.width);
  Attribute(out, "height", scene.height);
  out += " viewBox=\"0 0 ";
  Number(out, scene.width);
  out += ' ';
  Number(out, scene.height);
  out += "\" font-family=\"Liberation Sans, Arial, Helvetica, sans-serif\">\n";
  SceneRect background;
  background.width = scene.width;
  background.height = scene.height;
  background.fill = scene.background;
  Write(out, background);
  for (const SceneItem& item : scene.items) {
    std::visit([&out](const auto& primitive) { Write(out, primitive); }, item);
  }
  out += "</svg>\n";
  return out;
}

int WriteWholeFile(const char* path, const char* bytes, size_t size) {
  FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return errno != 0 ? errno : EIO;
  int error = 0;
  if (std::fwrite(bytes, 1, size, file) != size) error = errno != 0 ? errno : EIO;
  if (std::fclose(file) != 0 && error == 0) error = errno != 0 ? errno : EIO;
  if (error != 0) std::remove(path);
  return error;
}

int WriteSvgFile(const Scene& scene, const char* path) {
  const std::string text = SvgText(scene);
  return WriteWholeFile(path, text.data(), text.size());
}

}  // namespace quorval::view
