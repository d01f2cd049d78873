#pragma once
// Turns one PNG frame from the off-screen browser (straight-alpha RGBA) into
// the window's paint buffer: 32-bit premultiplied BGRA, top-down rows,
// stride = width * 4. The 8-bit RGB and RGBA frames the browser sends are
// decoded here directly (png_pixels.h); any other PNG goes through WIC.
//
// A decoder belongs to the thread that made it (the UI thread): it joins that
// thread to a single-threaded COM apartment for its lifetime and keeps the
// WIC factory from frame to frame. Create, use and destroy it on one thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class PngFrameDecoder {
 public:
  PngFrameDecoder();
  ~PngFrameDecoder();
  PngFrameDecoder(const PngFrameDecoder&) = delete;
  PngFrameDecoder& operator=(const PngFrameDecoder&) = delete;

  // Decodes `png` into `bgra` (resized to width * height * 4; its storage is
  // kept when the size repeats, so pass the same vector every frame).
  // Returns false for anything that is not a whole, decodable PNG; `bgra`,
  // `width` and `height` may then hold anything.
  bool Decode(const uint8_t* png, size_t size, std::vector<uint8_t>& bgra, int& width, int& height);

 private:
  struct Wic;
  std::unique_ptr<Wic> wic_;  // null when COM or the WIC factory was unavailable
  std::vector<uint8_t> rows_;  // the filtered rows of the last direct decode, reused
};
