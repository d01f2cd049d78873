#include "bridge/callback_registry.h"

int CallbackRegistry::Add(CefRefPtr<CefV8Context> context, CefRefPtr<CefV8Value> function) {
  std::lock_guard<std::mutex> lock(mutex_);
  const int id = ++nextId_;
  pending_[id] = Pending{context, function};
  return id;
}

bool CallbackRegistry::Invoke(int id, const CefString& text) {
  Pending entry;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = pending_.find(id);
    if (found == pending_.end()) return false;
    entry = std::move(found->second);
    pending_.erase(found);
  }
  // Unlocked: the callback may call js_api_cross_call again.
  CefV8ValueList arguments{CefV8Value::CreateString(text)};
  entry.function->ExecuteFunctionWithContext(entry.context, nullptr, arguments);
  return true;
}
