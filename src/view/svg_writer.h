// A scene as an SVG drawing: plain text, the same picture the Qt painter
// draws, for reports and for any browser.
#pragma once

#include <string>

#include "view/scene.h"

namespace quorval::view {

// The whole document.
std::string SvgText(const Scene& scene);

// Writes the document to path; 0, or the errno of what failed. A file that
// could not be written whole is removed.
int WriteSvgFile(const Scene& scene, const char* path);

// Writes bytes to path, as WriteSvgFile does; for the other picture formats.
int WriteWholeFile(const char* path, const char* bytes, size_t size);

}  // namespace quorval::view
