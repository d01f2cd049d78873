#pragma once
// The page's current frame, kept in a 32-bit top-down DIB and shown on the
// layered window with per-pixel alpha (UpdateLayeredWindow, ULW_ALPHA).
//
// Every DIB lives at offset 0 of one pagefile section made once by Attach, so
// a resize never reallocates pixel memory. Frames bigger than the section are
// dropped and the previous frame stays on screen; the next frame that fits is
// then copied whole, whatever its dirty rectangles say, since the frames in
// between were never seen here.
//
// UI thread only.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "browser/gdi_handles.h"
#include "engine/include/cef_base.h"
#include "support/win_handle.h"

class LayeredSurface {
 public:
  static constexpr DWORD kSectionBytes = 36000000;

  LayeredSurface() = default;
  LayeredSurface(const LayeredSurface&) = delete;
  LayeredSurface& operator=(const LayeredSurface&) = delete;

  // Remembers the window and creates the pixel section (once). False when
  // the section cannot be created; every frame is then dropped.
  bool Attach(HWND window);

  // Takes one frame from the engine: premultiplied BGRA, top-down rows of
  // width * 4 bytes. A frame of the current size copies only its dirty
  // rectangles (clipped to the frame); another size makes a new DIB and copies
  // the whole frame. Frames that do not fit the section, or arrive without a
  // section or pixels, are dropped.
  void Paint(const std::vector<CefRect>& dirtyRects, const void* buffer, int width, int height);

  // Shows the current frame at the window's current position and size,
  // sending only the area painted since the last present (all of it when
  // nothing was). Does nothing before the first frame; failures (for example
  // while the window and the frame differ in size during a resize) leave the
  // window's previous content, and the area waits for the next present.
  void Present();

  HWND window() const { return window_; }
  int frameWidth() const { return frame_ ? frame_->width : 0; }
  int frameHeight() const { return frame_ ? frame_->height : 0; }
  // The current frame's first byte, or null before the first frame.
  const uint8_t* pixels() const { return frame_ ? frame_->pixels : nullptr; }

 private:
  // A DIB on the section and the memory DC it is selected into. The bitmap
  // is declared first so that the DC goes first. Not assignable: a frame is
  // replaced by destroying the old one and constructing the new one.
  struct Frame {
    GdiBitmap dib;
    MemoryDc dc;
    uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;

    Frame() = default;
    Frame(Frame&&) = default;
    Frame& operator=(Frame&&) = delete;
  };

  static bool FitsSection(int width, int height);
  std::optional<Frame> CreateFrame(int width, int height);
  HDC WindowDcOrNull();

  HWND window_ = nullptr;
  WinHandle section_;
  WindowDc windowDc_;
  std::optional<Frame> frame_;
  bool wholeFrameNeeded_ = true;
  RECT unpresented_{};  // union of the areas copied since the last present; empty when none
};
