#pragma once
// Ownership of GDI objects: a memory DC (DeleteDC), a window's DC (ReleaseDC
// with its window) and a bitmap (DeleteObject). NULL means empty. Move only.
//
// A bitmap selected into a DC cannot be deleted, so an owner of both declares
// the bitmap first: members go in reverse order, the DC before its bitmap.

#include <windows.h>

#include <utility>

class MemoryDc {
 public:
  MemoryDc() = default;
  explicit MemoryDc(HDC dc) : dc_(dc) {}
  ~MemoryDc() { Reset(); }

  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  MemoryDc(MemoryDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  MemoryDc& operator=(MemoryDc&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.dc_, nullptr));
    return *this;
  }

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

  void Reset(HDC dc = nullptr) {
    if (dc_ && dc_ != dc) DeleteDC(dc_);
    dc_ = dc;
  }

 private:
  HDC dc_ = nullptr;
};

class WindowDc {
 public:
  WindowDc() = default;
  // Takes GetDC(window)'s result for that window.
  WindowDc(HWND window, HDC dc) : window_(dc ? window : nullptr), dc_(dc) {}
  ~WindowDc() { Reset(); }

  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      Reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }

  HDC Get() const { return dc_; }
  HWND window() const { return window_; }
  explicit operator bool() const { return dc_ != nullptr; }

  // Gives the DC back to its window. The window may already be gone; then
  // the system has reclaimed the DC and the call is a harmless failure.
  void Reset() {
    if (dc_) ReleaseDC(window_, dc_);
    window_ = nullptr;
    dc_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

class GdiBitmap {
 public:
  GdiBitmap() = default;
  explicit GdiBitmap(HBITMAP bitmap) : bitmap_(bitmap) {}
  ~GdiBitmap() { Reset(); }

  GdiBitmap(const GdiBitmap&) = delete;
  GdiBitmap& operator=(const GdiBitmap&) = delete;
  GdiBitmap(GdiBitmap&& other) noexcept : bitmap_(std::exchange(other.bitmap_, nullptr)) {}
  GdiBitmap& operator=(GdiBitmap&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.bitmap_, nullptr));
    return *this;
  }

  HBITMAP Get() const { return bitmap_; }
  explicit operator bool() const { return bitmap_ != nullptr; }

  void Reset(HBITMAP bitmap = nullptr) {
    if (bitmap_ && bitmap_ != bitmap) DeleteObject(bitmap_);
    bitmap_ = bitmap;
  }

 private:
  HBITMAP bitmap_ = nullptr;
};
