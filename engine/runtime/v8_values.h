#pragma once
// Script values. Primitives are held here; a context's global object and page
// functions refer to the page (by context and by a handle in the page's
// function table).

#include <nlohmann/json.hpp>

#include "engine/include/cef_v8.h"

class V8ValueImpl final : public CefV8Value {
 public:
  enum class Kind { Undefined, Null, Bool, Int, UInt, Double, String, Object, Array, Function, Global };

  explicit V8ValueImpl(Kind kind) : kind_(kind) {}

  // A value as the page stub describes it ({"t":..., ...}); functions stay in
  // the page under their handle until this value goes.
  static CefRefPtr<V8ValueImpl> FromPage(const nlohmann::json& described, CefRefPtr<CefV8Context> context);
  static CefRefPtr<V8ValueImpl> GlobalOf(CefRefPtr<CefV8Context> context);
  // The value as a JSON argument for the page (functions and objects become null).
  nlohmann::json ToJson() const;

  bool IsValid() override { return true; }
  bool IsUndefined() override { return kind_ == Kind::Undefined; }
  bool IsNull() override { return kind_ == Kind::Null; }
  bool IsBool() override { return kind_ == Kind::Bool; }
  bool IsInt() override;
  bool IsUInt() override;
  bool IsDouble() override { return kind_ == Kind::Int || kind_ == Kind::UInt || kind_ == Kind::Double; }
  bool IsString() override { return kind_ == Kind::String; }
  bool IsObject() override;
  bool IsArray() override { return kind_ == Kind::Array; }
  bool IsFunction() override { return kind_ == Kind::Function; }

  bool GetBoolValue() override { return kind_ == Kind::Bool && number_ != 0; }
  int32_t GetIntValue() override { return IsDouble() ? static_cast<int32_t>(static_cast<int64_t>(number_)) : 0; }
  uint32_t GetUIntValue() override { return IsDouble() ? static_cast<uint32_t>(static_cast<int64_t>(number_)) : 0; }
  double GetDoubleValue() override { return IsDouble() ? number_ : 0.0; }
  CefString GetStringValue() override { return kind_ == Kind::String ? CefString(text_) : CefString(); }

  bool SetValue(const CefString& key, CefRefPtr<CefV8Value> value, cef_v8_propertyattribute_t attribute) override;

  CefString GetFunctionName() override { return text_; }
  CefRefPtr<CefV8Handler> GetFunctionHandler() override { return handler_; }
  CefRefPtr<CefV8Value> ExecuteFunctionWithContext(CefRefPtr<CefV8Context> context, CefRefPtr<CefV8Value> object,
                                                   const CefV8ValueList& arguments) override;

  ~V8ValueImpl() override;

 private:
  friend class CefV8Value;

  Kind kind_;
  double number_ = 0.0;              // Bool (0/1), Int, UInt, Double
  std::string text_;                 // String (UTF-8); a native function's name
  CefRefPtr<CefV8Handler> handler_;  // native function
  CefRefPtr<CefV8Context> context_;  // Global, and the context a page function lives in
  int64_t pageHandle_ = 0;           // page function
  IMPLEMENT_REFCOUNTING(V8ValueImpl);
};
