#include "browser/layered_surface.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kBytesPerPixel = 4;

// The part of `rect` inside a width x height frame; empty when none is.
// Computed in 64 bits: x + width of an untrusted rectangle may overflow int.
RECT ClipToFrame(const CefRect& rect, int width, int height) {
  const long long left = std::max<long long>(rect.x, 0);
  const long long top = std::max<long long>(rect.y, 0);
  const long long right = std::min<long long>(static_cast<long long>(rect.x) + rect.width, width);
  const long long bottom = std::min<long long>(static_cast<long long>(rect.y) + rect.height, height);
  if (right <= left || bottom <= top) return RECT{0, 0, 0, 0};
  return RECT{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom)};
}

void CopyRows(uint8_t* target, const uint8_t* source, int frameWidth, const RECT& area) {
  const size_t stride = static_cast<size_t>(frameWidth) * kBytesPerPixel;
  const size_t rowBytes = static_cast<size_t>(area.right - area.left) * kBytesPerPixel;
  for (LONG row = area.top; row < area.bottom; ++row) {
    const size_t offset = static_cast<size_t>(row) * stride + static_cast<size_t>(area.left) * kBytesPerPixel;
    std::memcpy(target + offset, source + offset, rowBytes);
  }
}

}  // namespace

bool LayeredSurface::Attach(HWND window) {
  if (window != window_) windowDc_.Reset();  // a DC belongs to the window it came from
  window_ = window;
  if (!section_) {
    section_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSectionBytes, nullptr));
  }
  return static_cast<bool>(section_);
}

bool LayeredSurface::FitsSection(int width, int height) {
  if (width <= 0 || height <= 0) return false;
  const unsigned long long bytes =
      static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) * kBytesPerPixel;
  return bytes <= kSectionBytes;
}

HDC LayeredSurface::WindowDcOrNull() {
  if (!windowDc_ && window_ && IsWindow(window_)) windowDc_ = WindowDc(window_, GetDC(window_));
  return windowDc_.Get();
}

std::optional<LayeredSurface::Frame> LayeredSurface::CreateFrame(int width, int height) {
  Frame frame;
  // Compatible with the window's DC; without one (no window yet), with the screen.
  frame.dc.Reset(CreateCompatibleDC(WindowDcOrNull()));
  if (!frame.dc) return std::nullopt;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows, as the engine delivers them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  frame.dib.Reset(CreateDIBSection(frame.dc.Get(), &info, DIB_RGB_COLORS, &bits, section_.Get(), 0));
  if (!frame.dib || !bits) return std::nullopt;
  if (!SelectObject(frame.dc.Get(), frame.dib.Get())) return std::nullopt;

  frame.pixels = static_cast<uint8_t*>(bits);
  frame.width = width;
  frame.height = height;
  return frame;
}

void LayeredSurface::Paint(const std::vector<CefRect>& dirtyRects, const void* buffer, int width, int height) {
  // Without these checks a bigger frame would be copied past the section's end.
  if (!section_ || !buffer || !FitsSection(width, height)) {
    wholeFrameNeeded_ = true;
    return;
  }
  const auto* source = static_cast<const uint8_t*>(buffer);

  if (!frame_ || frame_->width != width || frame_->height != height) {
    // The new DIB is made before the old one goes, so a failure keeps the
    // previous frame on screen. Both map the same section; nothing is written
    // to it until the new DIB exists.
    std::optional<Frame> next = CreateFrame(width, height);
    if (!next) {
      wholeFrameNeeded_ = true;
      return;
    }
    frame_.reset();
    frame_.emplace(std::move(*next));
    wholeFrameNeeded_ = true;
  }

  GdiFlush();  // GDI may still be reading the DIB for the last presentation
  if (wholeFrameNeeded_) {
    std::memcpy(frame_->pixels, source, static_cast<size_t>(width) * static_cast<size_t>(height) * kBytesPerPixel);
    wholeFrameNeeded_ = false;
    unpresented_ = RECT{0, 0, width, height};
    return;
  }
  for (const CefRect& rect : dirtyRects) {
    const RECT area = ClipToFrame(rect, width, height);
    if (area.right <= area.left) continue;
    CopyRows(frame_->pixels, source, width, area);
    UnionRect(&unpresented_, &unpresented_, &area);
  }
}

void LayeredSurface::Present() {
  if (!frame_ || !window_ || !IsWindow(window_)) return;
  const HDC windowDc = WindowDcOrNull();
  RECT bounds;
  if (!windowDc || !GetWindowRect(window_, &bounds)) return;

  POINT destination{bounds.left, bounds.top};
  SIZE size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  RECT dirty = unpresented_;
  if (IsRectEmpty(&dirty)) dirty = RECT{0, 0, frame_->width, frame_->height};

  UPDATELAYEREDWINDOWINFO update{};
  update.cbSize = sizeof(update);
  update.hdcDst = windowDc;
  update.pptDst = &destination;
  update.psize = &size;
  update.hdcSrc = frame_->dc.Get();
  update.pptSrc = &origin;
  update.pblend = &blend;
  update.dwFlags = ULW_ALPHA;
  update.prcDirty = &dirty;
  // On failure the window keeps its previous content and the area stays due.
  if (UpdateLayeredWindowIndirect(window_, &update)) unpresented_ = RECT{};
}
