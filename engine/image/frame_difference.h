#pragma once
// Where two frames of the same size differ: the engine's dirty rectangle.
// The browser sends whole frames; comparing each with the one before lets the
// window copy and present only what changed, as the framework's own dirty
// rectangles would.

#include <cstdint>
#include <optional>

#include "engine/include/cef_base.h"

// The smallest rectangle holding every pixel that differs between `before`
// and `after` (both width x height, 4 bytes a pixel, rows of width * 4 bytes
// with no padding), or nothing when the two are identical.
std::optional<CefRect> ChangedArea(const uint8_t* before, const uint8_t* after, int width, int height);
