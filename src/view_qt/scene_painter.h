// A scene drawn with a QPainter: onto a widget, or onto an image for PNG.
#pragma once

#include <QByteArray>
#include <QImage>

#include "view/scene.h"

class QPainter;

namespace quorval::view {

// Draws the scene's items over whatever the painter's device holds.
void PaintScene(QPainter& painter, const Scene& scene);

// The scene on its background, as an image of its size.
QImage SceneImage(const Scene& scene);

// The scene as PNG file bytes (empty if encoding failed).
QByteArray ScenePng(const Scene& scene);

}  // namespace quorval::view
