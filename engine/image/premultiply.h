#pragma once
// Straight-alpha BGRA pixels to premultiplied BGRA, the form a layered window
// blends.

#include <cstddef>
#include <cstdint>

// Converts `pixelCount` pixels in place, rounding each channel to nearest.
void PremultiplyInPlace(uint8_t* bgra, size_t pixelCount);
