#include "engine/image/frame_difference.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr size_t kBytesPerPixel = 4;

bool PixelDiffers(const uint8_t* before, const uint8_t* after, int x) {
  return std::memcmp(before + x * kBytesPerPixel, after + x * kBytesPerPixel, kBytesPerPixel) != 0;
}

}  // namespace

std::optional<CefRect> ChangedArea(const uint8_t* before, const uint8_t* after, int width, int height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  const size_t stride = static_cast<size_t>(width) * kBytesPerPixel;
  const auto row = [stride](const uint8_t* frame, int y) { return frame + static_cast<size_t>(y) * stride; };
  const auto rowDiffers = [&](int y) { return std::memcmp(row(before, y), row(after, y), stride) != 0; };

  int top = 0;
  while (top < height && !rowDiffers(top)) ++top;
  if (top == height) return std::nullopt;
  int bottom = height - 1;
  while (!rowDiffers(bottom)) --bottom;

  // Each changed row only needs looking at outside the columns found so far.
  int left = width;
  int right = -1;
  for (int y = top; y <= bottom; ++y) {
    if (!rowDiffers(y)) continue;
    const uint8_t* was = row(before, y);
    const uint8_t* now = row(after, y);
    for (int x = 0; x < left; ++x) {
      if (PixelDiffers(was, now, x)) {
        left = x;
        break;
      }
    }
    for (int x = width - 1; x > right; --x) {
      if (PixelDiffers(was, now, x)) {
        right = x;
        break;
      }
    }
  }
  return CefRect(left, top, right - left + 1, bottom - top + 1);
}
