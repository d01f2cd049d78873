#pragma once
// The native side of the page function js_api_cross_call: each call becomes a
// "js_api_cross_call" message to the browser side, with the callback (a
// function as the last argument) kept for the reply.

#include "bridge/callback_registry.h"
#include "engine/include/cef_v8.h"

class CrossCallHandler : public CefV8Handler {
 public:
  explicit CrossCallHandler(CallbackRegistry* callbacks) : callbacks_(callbacks) {}

  bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
               CefRefPtr<CefV8Value>& retval, CefString& exception) override;

 private:
  CallbackRegistry* callbacks_;  // the application's, which outlives every handler
  IMPLEMENT_REFCOUNTING(CrossCallHandler);
};
