#pragma once

namespace quorval {

// The one version label: window title, About text and every derived output name.
inline constexpr const char kVersionLabel[] = "103";

}  // namespace quorval
