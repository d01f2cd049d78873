#include "engine/image/premultiply.h"

#include <cstring>

// Blue and red share one multiply in two 16-bit lanes (c * a + 128 <= 65153,
// so the lanes never carry into each other). Browser frames are mostly fully
// transparent or fully opaque, hence the two early outs.
void PremultiplyInPlace(uint8_t* bgra, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i, bgra += 4) {
    uint32_t pixel;
    std::memcpy(&pixel, bgra, 4);
    const uint32_t alpha = pixel >> 24;
    if (alpha == 255) continue;
    if (alpha == 0) {
      pixel = 0;
    } else {
      // (v + (v >> 8)) >> 8 with v = c * a + 128 is exactly round(c * a / 255).
      uint32_t blueRed = (pixel & 0x00FF00FFu) * alpha + 0x00800080u;
      blueRed = ((blueRed + ((blueRed >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
      uint32_t green = ((pixel >> 8) & 0xFFu) * alpha + 0x80u;
      green = ((green + (green >> 8)) >> 8) & 0xFFu;
      pixel = (alpha << 24) | (green << 8) | blueRed;
    }
    std::memcpy(bgra, &pixel, 4);
  }
}
