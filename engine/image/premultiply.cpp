#include "engine/image/premultiply.h"

#include <cstring>

void PremultiplyInPlace(uint8_t* bgra, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i, bgra += 4) {
    uint32_t pixel;
    std::memcpy(&pixel, bgra, 4);
    pixel = PremultiplyPixel(pixel);
    std::memcpy(bgra, &pixel, 4);
  }
}
