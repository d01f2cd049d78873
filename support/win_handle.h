#pragma once
// Ownership of one Win32 kernel handle (process, thread, pipe end, file).
// Win32 spells "no handle" two ways: CreateFile and friends return
// INVALID_HANDLE_VALUE, most others return NULL. Both mean empty here, so a
// wrapper can take any API's result without checking which convention it uses.
// (GetCurrentProcess()'s pseudo-handle shares INVALID_HANDLE_VALUE's value; it
// needs no closing either.)

#include <windows.h>

class WinHandle {
 public:
  WinHandle() = default;
  explicit WinHandle(HANDLE handle) : handle_(IsEmptyValue(handle) ? nullptr : handle) {}
  ~WinHandle() { Close(); }

  WinHandle(const WinHandle&) = delete;
  WinHandle& operator=(const WinHandle&) = delete;
  WinHandle(WinHandle&& other) noexcept : handle_(other.Release()) {}
  WinHandle& operator=(WinHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  // NULL when empty (never INVALID_HANDLE_VALUE).
  HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  // Closes the handle held, if any, and takes the new one.
  void Reset(HANDLE handle = nullptr) {
    if (handle_ && handle_ != handle) CloseHandle(handle_);
    handle_ = IsEmptyValue(handle) ? nullptr : handle;
  }
  void Close() { Reset(); }

  // Gives the handle up without closing it.
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }

 private:
  static bool IsEmptyValue(HANDLE handle) { return handle == nullptr || handle == INVALID_HANDLE_VALUE; }

  HANDLE handle_ = nullptr;
};
