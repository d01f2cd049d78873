#include "engine/runtime/v8_values.h"

#include <cmath>
#include <cstdint>

#include "engine/runtime/engine_objects.h"
#include "engine/runtime/engine_runtime.h"
#include "engine/runtime/page_stub.h"

namespace {

using Kind = V8ValueImpl::Kind;

bool IsWhole(double number) { return std::isfinite(number) && std::floor(number) == number; }

}  // namespace

// --- creation --------------------------------------------------------------

CefRefPtr<CefV8Value> CefV8Value::CreateUndefined() { return new V8ValueImpl(Kind::Undefined); }
CefRefPtr<CefV8Value> CefV8Value::CreateNull() { return new V8ValueImpl(Kind::Null); }

CefRefPtr<CefV8Value> CefV8Value::CreateBool(bool value) {
  V8ValueImpl* made = new V8ValueImpl(Kind::Bool);
  made->number_ = value ? 1 : 0;
  return made;
}

CefRefPtr<CefV8Value> CefV8Value::CreateInt(int32_t value) {
  V8ValueImpl* made = new V8ValueImpl(Kind::Int);
  made->number_ = value;
  return made;
}

CefRefPtr<CefV8Value> CefV8Value::CreateUInt(uint32_t value) {
  V8ValueImpl* made = new V8ValueImpl(Kind::UInt);
  made->number_ = value;
  return made;
}

CefRefPtr<CefV8Value> CefV8Value::CreateDouble(double value) {
  V8ValueImpl* made = new V8ValueImpl(Kind::Double);
  made->number_ = value;
  return made;
}

CefRefPtr<CefV8Value> CefV8Value::CreateString(const CefString& value) {
  V8ValueImpl* made = new V8ValueImpl(Kind::String);
  made->text_ = value.ToString();
  return made;
}

CefRefPtr<CefV8Value> CefV8Value::CreateFunction(const CefString& name, CefRefPtr<CefV8Handler> handler) {
  V8ValueImpl* made = new V8ValueImpl(Kind::Function);
  made->text_ = name.ToString();
  made->handler_ = handler;
  return made;
}

CefRefPtr<V8ValueImpl> V8ValueImpl::GlobalOf(CefRefPtr<CefV8Context> context) {
  CefRefPtr<V8ValueImpl> global = new V8ValueImpl(Kind::Global);
  global->context_ = context;
  return global;
}

CefRefPtr<V8ValueImpl> V8ValueImpl::FromPage(const nlohmann::json& described, CefRefPtr<CefV8Context> context) {
  const std::string type = described.value("t", "undefined");
  CefRefPtr<V8ValueImpl> value;
  if (type == "null") return new V8ValueImpl(Kind::Null);
  if (type == "bool") {
    value = new V8ValueImpl(Kind::Bool);
    value->number_ = described.value("v", false) ? 1 : 0;
    return value;
  }
  if (type == "number") {
    double number = NAN;
    if (described.contains("v") && described["v"].is_number()) {
      number = described["v"].get<double>();
    } else {
      const std::string special = described.value("s", "NaN");
      number = special == "Infinity" ? INFINITY : special == "-Infinity" ? -INFINITY : NAN;
    }
    // Every number is a double; whole ones that fit are ints or unsigned ints too.
    Kind kind = Kind::Double;
    if (IsWhole(number) && number >= INT32_MIN && number <= INT32_MAX && !(number == 0 && std::signbit(number)))
      kind = Kind::Int;
    else if (IsWhole(number) && number >= 0 && number <= UINT32_MAX)
      kind = Kind::UInt;
    value = new V8ValueImpl(kind);
    value->number_ = number;
    return value;
  }
  if (type == "string") {
    value = new V8ValueImpl(Kind::String);
    value->text_ = described.value("v", "");
    return value;
  }
  if (type == "function") {
    value = new V8ValueImpl(Kind::Function);
    value->context_ = context;
    value->pageHandle_ = described.value("h", int64_t{0});
    return value;
  }
  if (type == "array") return new V8ValueImpl(Kind::Array);
  if (type == "object") return new V8ValueImpl(Kind::Object);
  return new V8ValueImpl(Kind::Undefined);
}

V8ValueImpl::~V8ValueImpl() {
  if (pageHandle_ == 0 || !context_ || !context_->IsValid()) return;
  auto* context = static_cast<V8ContextImpl*>(context_.get());
  context->browser()->ReleasePageFunction(context->id(), pageHandle_);
}

// --- kinds ------------------------------------------------------------------

bool V8ValueImpl::IsInt() { return kind_ == Kind::Int; }

bool V8ValueImpl::IsUInt() {
  return kind_ == Kind::UInt || (kind_ == Kind::Int && number_ >= 0);
}

bool V8ValueImpl::IsObject() {
  return kind_ == Kind::Object || kind_ == Kind::Array || kind_ == Kind::Function || kind_ == Kind::Global;
}

nlohmann::json V8ValueImpl::ToJson() const {
  switch (kind_) {
    case Kind::Bool: return number_ != 0;
    case Kind::Int:
    case Kind::UInt: return static_cast<int64_t>(number_);
    case Kind::Double: return std::isfinite(number_) ? nlohmann::json(number_) : nlohmann::json(nullptr);
    case Kind::String: return text_;
    default: return nullptr;
  }
}

// --- objects and functions --------------------------------------------------

bool V8ValueImpl::SetValue(const CefString& key, CefRefPtr<CefV8Value> value, cef_v8_propertyattribute_t) {
  if (kind_ != Kind::Global || !context_ || !context_->IsValid() || !value) return false;
  auto* context = static_cast<V8ContextImpl*>(context_.get());
  auto* native = static_cast<V8ValueImpl*>(value.get());
  if (native->kind_ == Kind::Function && native->handler_) {
    context->browser()->DefineFunction(context->id(), key.ToString(), native->handler_);
    return true;
  }
  // A plain value becomes a property of the page's global object.
  context->browser()->Send("Runtime.callFunctionOn",
                           {{"functionDeclaration", "function (k, v) { window[k] = v; }"},
                            {"executionContextId", context->id()},
                            {"arguments", nlohmann::json::array({{{"value", key.ToString()}}, {{"value", native->ToJson()}}})}});
  return true;
}

CefRefPtr<CefV8Value> V8ValueImpl::ExecuteFunctionWithContext(CefRefPtr<CefV8Context> context,
                                                              CefRefPtr<CefV8Value>, const CefV8ValueList& arguments) {
  if (kind_ != Kind::Function || pageHandle_ == 0) return nullptr;
  CefRefPtr<CefV8Context> target = context ? context : context_;
  if (!target || !target->IsValid()) return nullptr;  // the page is gone: nothing to call
  auto* page = static_cast<V8ContextImpl*>(target.get());
  nlohmann::json values = nlohmann::json::array();
  for (const auto& argument : arguments) {
    values.push_back(argument ? static_cast<V8ValueImpl*>(argument.get())->ToJson() : nlohmann::json(nullptr));
  }
  page->browser()->Send("Runtime.callFunctionOn",
                        {{"functionDeclaration", kInvokeFunctionDeclaration},
                         {"executionContextId", page->id()},
                         {"arguments", nlohmann::json::array({{{"value", pageHandle_}}, {{"value", values}}})}});
  return CefV8Value::CreateUndefined();
}
