#pragma once
// The pixel layer of the PNGs the browser sends: 8-bit RGB or RGBA, not
// interlaced. Decoding these directly (zlib, then one pass per row that
// unfilters, reorders to BGRA and premultiplies while the row is in cache)
// takes about half the time of a general-purpose decoder.

#include <cstdint>
#include <vector>

#include "engine/image/png_chunks.h"

// Whether DecodePngPixels handles this kind of image.
bool IsPlainRgbOrRgba(const PngChunks& chunks);

// Decodes a plain RGB or RGBA image into `bgra`: premultiplied BGRA, top-down
// rows of width * 4 bytes (resized to fit; its storage is reused when the size
// repeats). `rows` is working space kept between calls in the same way. False
// when the data does not inflate to exactly the rows the header promises, or
// a row names an unknown filter; `bgra` may then hold anything.
bool DecodePngPixels(const PngChunks& chunks, std::vector<uint8_t>& rows, std::vector<uint8_t>& bgra);
