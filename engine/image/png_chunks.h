#pragma once
// The chunk layer of a PNG file: its header and where its compressed pixel
// data lies. Nothing is copied; the spans point into the caller's bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

struct PngChunks {
  uint32_t width = 0;
  uint32_t height = 0;
  uint8_t bitDepth = 0;
  uint8_t colourType = 0;  // 2 RGB, 6 RGBA, others as the format defines them
  uint8_t interlace = 0;
  bool onlyKnownCriticalChunks = true;  // false when a critical chunk other than IHDR, IDAT, IEND came
  struct Span {
    const uint8_t* data;
    size_t size;
  };
  std::vector<Span> imageData;  // the IDAT chunks' contents, in file order
};

// Reads the signature and every chunk up to IEND. False when the bytes are
// not a whole PNG: a wrong signature, a chunk running past the end, no IEND,
// IHDR not first or not 13 bytes, no IDAT, or a wrong checksum on IHDR, IDAT
// or IEND (ancillary chunks are skipped unchecked, as decoders commonly do).
bool ReadPngChunks(const uint8_t* png, size_t size, PngChunks& chunks);
