#pragma once
// Reference counting, strings and small value types of the embedded-browser
// API, with the framework's names. The program's browser code is written
// against these; engine/runtime implements them over the DevTools protocol.

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <string>
#include <utility>

// Every engine object is reference counted. Interfaces derive virtually, so a
// class implementing several handler interfaces has one count.
class CefBaseRefCounted {
 public:
  virtual void AddRef() const = 0;
  virtual bool Release() const = 0;  // true when this released the last reference
  virtual bool HasOneRef() const = 0;
  virtual bool HasAtLeastOneRef() const = 0;

 protected:
  virtual ~CefBaseRefCounted() = default;
};

class CefRefCount {
 public:
  void AddRef() const { count_.fetch_add(1, std::memory_order_relaxed); }
  bool Release() const { return count_.fetch_sub(1, std::memory_order_acq_rel) == 1; }
  bool HasOneRef() const { return count_.load(std::memory_order_acquire) == 1; }
  bool HasAtLeastOneRef() const { return count_.load(std::memory_order_acquire) >= 1; }

 private:
  mutable std::atomic<int> count_{0};
};

#define IMPLEMENT_REFCOUNTING(ClassName)                                   \
 public:                                                                   \
  void AddRef() const override { ref_count_.AddRef(); }                    \
  bool Release() const override {                                          \
    if (ref_count_.Release()) {                                            \
      delete static_cast<const ClassName*>(this);                          \
      return true;                                                         \
    }                                                                      \
    return false;                                                          \
  }                                                                        \
  bool HasOneRef() const override { return ref_count_.HasOneRef(); }       \
  bool HasAtLeastOneRef() const override { return ref_count_.HasAtLeastOneRef(); } \
                                                                           \
 private:                                                                  \
  CefRefCount ref_count_

// A strong reference: adds one on taking a pointer, releases it when it goes.
template <class T>
class CefRefPtr {
 public:
  CefRefPtr() = default;
  CefRefPtr(std::nullptr_t) {}
  CefRefPtr(T* pointer) : pointer_(pointer) {
    if (pointer_) pointer_->AddRef();
  }
  CefRefPtr(const CefRefPtr& other) : CefRefPtr(other.pointer_) {}
  template <class U>
  CefRefPtr(const CefRefPtr<U>& other) : CefRefPtr(other.get()) {}
  CefRefPtr(CefRefPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ~CefRefPtr() {
    if (pointer_) pointer_->Release();
  }

  CefRefPtr& operator=(T* pointer) {
    CefRefPtr(pointer).swap(*this);
    return *this;
  }
  CefRefPtr& operator=(const CefRefPtr& other) {
    CefRefPtr(other).swap(*this);
    return *this;
  }
  CefRefPtr& operator=(CefRefPtr&& other) noexcept {
    CefRefPtr(std::move(other)).swap(*this);
    return *this;
  }
  CefRefPtr& operator=(std::nullptr_t) {
    CefRefPtr().swap(*this);
    return *this;
  }

  void swap(CefRefPtr& other) noexcept { std::swap(pointer_, other.pointer_); }
  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  T& operator*() const { return *pointer_; }
  operator T*() const { return pointer_; }

 private:
  T* pointer_ = nullptr;
};

// UTF-16 text, as the framework keeps strings on Windows; converts from and to
// UTF-8 (std::string) explicitly or implicitly.
class CefString {
 public:
  CefString() = default;
  CefString(const std::wstring& text) : text_(text) {}
  CefString(std::wstring&& text) : text_(std::move(text)) {}
  CefString(const wchar_t* text) : text_(text ? text : L"") {}
  CefString(const std::string& utf8) { FromString(utf8); }
  CefString(const char* utf8) { FromString(utf8 ? utf8 : ""); }

  void FromString(const std::string& utf8);
  void FromWString(const std::wstring& text) { text_ = text; }
  bool FromASCII(const char* ascii);
  std::string ToString() const;  // UTF-8
  std::wstring ToWString() const { return text_; }

  const wchar_t* c_str() const { return text_.c_str(); }
  size_t length() const { return text_.length(); }
  bool empty() const { return text_.empty(); }
  void clear() { text_.clear(); }
  operator std::wstring() const { return text_; }

  friend bool operator==(const CefString& a, const CefString& b) { return a.text_ == b.text_; }

 private:
  std::wstring text_;
};

struct CefRect {
  int x = 0, y = 0, width = 0, height = 0;
  CefRect() = default;
  CefRect(int x_, int y_, int w, int h) : x(x_), y(y_), width(w), height(h) {}
  bool IsEmpty() const { return width <= 0 || height <= 0; }
  void Set(int x_, int y_, int w, int h) { *this = CefRect(x_, y_, w, h); }
};

struct CefSize {
  int width = 0, height = 0;
};

struct CefPoint {
  int x = 0, y = 0;
};

struct CefRange {
  uint32_t from = 0, to = 0;
  CefRange() = default;
  CefRange(uint32_t f, uint32_t t) : from(f), to(t) {}
};

enum cef_thread_id_t { TID_UI = 0, TID_FILE_BACKGROUND, TID_IO, TID_RENDERER };
enum cef_process_id_t { PID_BROWSER = 0, PID_RENDERER };
enum cef_paint_element_type_t { PET_VIEW = 0, PET_POPUP };
enum cef_log_severity_t { LOGSEVERITY_DEFAULT = 0, LOGSEVERITY_VERBOSE, LOGSEVERITY_INFO = 2, LOGSEVERITY_WARNING,
                          LOGSEVERITY_ERROR, LOGSEVERITY_FATAL, LOGSEVERITY_DISABLE = 99 };

typedef uint32_t cef_color_t;
#define CefColorGetA(color) (((color) >> 24) & 0xFF)
#define CefColorSetARGB(a, r, g, b) \
  static_cast<cef_color_t>((unsigned(a) << 24) | (unsigned(r) << 16) | (unsigned(g) << 8) | unsigned(b))
