#pragma once
// The page callbacks waiting for their replies, by callback id. Ids start at
// 2 and are never reused; an entry lives until its first reply.

#include <map>
#include <mutex>
#include <string>

#include "engine/include/cef_v8.h"

class CallbackRegistry {
 public:
  // Keeps the function with the context it was passed in; returns its new id.
  int Add(CefRefPtr<CefV8Context> context, CefRefPtr<CefV8Value> function);

  // Calls the function registered under id with the text, once; false when
  // no function waits under that id.
  bool Invoke(int id, const CefString& text);

 private:
  struct Pending {
    CefRefPtr<CefV8Context> context;
    CefRefPtr<CefV8Value> function;
  };

  std::mutex mutex_;  // held only while the table changes, never while a page function runs
  int nextId_ = 1;
  std::map<int, Pending> pending_;
};
