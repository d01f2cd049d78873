#pragma once
// Straight-alpha BGRA pixels to premultiplied BGRA, the form a layered window
// blends.

#include <cstddef>
#include <cstdint>

// One pixel as a little-endian 0xAARRGGBB (or any order with alpha on top:
// the three colour bytes are treated alike), each colour byte rounded to
// nearest. Browser frames are mostly fully transparent or fully opaque, hence
// the two early outs.
inline uint32_t PremultiplyPixel(uint32_t pixel) {
  const uint32_t alpha = pixel >> 24;
  if (alpha == 255) return pixel;
  if (alpha == 0) return 0;
  // Two colour bytes share one multiply in two 16-bit lanes (c * a + 128 <=
  // 65153, so the lanes never carry into each other).
  // (v + (v >> 8)) >> 8 with v = c * a + 128 is exactly round(c * a / 255).
  uint32_t outer = (pixel & 0x00FF00FFu) * alpha + 0x00800080u;
  outer = ((outer + ((outer >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  uint32_t middle = ((pixel >> 8) & 0xFFu) * alpha + 0x80u;
  middle = ((middle + (middle >> 8)) >> 8) & 0xFFu;
  return (alpha << 24) | (middle << 8) | outer;
}

// Converts `pixelCount` pixels in place, rounding each channel to nearest.
void PremultiplyInPlace(uint8_t* bgra, size_t pixelCount);
