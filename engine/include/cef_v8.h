#pragma once
// The page's script contexts and values, as the renderer-side handlers see them.

#include <vector>

#include "engine/include/cef_base.h"

class CefBrowser;
class CefFrame;
class CefV8Value;
class CefV8Exception;

typedef std::vector<CefRefPtr<CefV8Value>> CefV8ValueList;

enum cef_v8_propertyattribute_t {
  V8_PROPERTY_ATTRIBUTE_NONE = 0,
  V8_PROPERTY_ATTRIBUTE_READONLY = 1 << 0,
  V8_PROPERTY_ATTRIBUTE_DONTENUM = 1 << 1,
  V8_PROPERTY_ATTRIBUTE_DONTDELETE = 1 << 2,
};

// Native code behind a page function.
class CefV8Handler : public virtual CefBaseRefCounted {
 public:
  virtual bool Execute(const CefString& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
                       CefRefPtr<CefV8Value>& retval, CefString& exception) = 0;
};

// One script context of a frame (its global object and everything in it).
class CefV8Context : public virtual CefBaseRefCounted {
 public:
  static CefRefPtr<CefV8Context> GetCurrentContext();
  static CefRefPtr<CefV8Context> GetEnteredContext();
  static bool InContext();

  virtual bool IsValid() = 0;
  virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
  virtual CefRefPtr<CefFrame> GetFrame() = 0;
  virtual CefRefPtr<CefV8Value> GetGlobal() = 0;
  virtual bool Enter() = 0;
  virtual bool Exit() = 0;
  virtual bool IsSame(CefRefPtr<CefV8Context> that) = 0;
  virtual bool Eval(const CefString& code, const CefString& script_url, int start_line,
                    CefRefPtr<CefV8Value>& retval, CefRefPtr<CefV8Exception>& exception) = 0;
};

class CefV8Exception : public virtual CefBaseRefCounted {
 public:
  virtual CefString GetMessage() = 0;
};

// A script value. Values made here (Create...) live on the native side until
// they are handed to the page; values that come from the page are copies of
// its primitives, and page functions stay alive in the page until released.
class CefV8Value : public virtual CefBaseRefCounted {
 public:
  static CefRefPtr<CefV8Value> CreateUndefined();
  static CefRefPtr<CefV8Value> CreateNull();
  static CefRefPtr<CefV8Value> CreateBool(bool value);
  static CefRefPtr<CefV8Value> CreateInt(int32_t value);
  static CefRefPtr<CefV8Value> CreateUInt(uint32_t value);
  static CefRefPtr<CefV8Value> CreateDouble(double value);
  static CefRefPtr<CefV8Value> CreateString(const CefString& value);
  static CefRefPtr<CefV8Value> CreateFunction(const CefString& name, CefRefPtr<CefV8Handler> handler);

  virtual bool IsValid() = 0;
  virtual bool IsUndefined() = 0;
  virtual bool IsNull() = 0;
  virtual bool IsBool() = 0;
  virtual bool IsInt() = 0;
  virtual bool IsUInt() = 0;
  virtual bool IsDouble() = 0;
  virtual bool IsString() = 0;
  virtual bool IsObject() = 0;
  virtual bool IsArray() = 0;
  virtual bool IsFunction() = 0;

  virtual bool GetBoolValue() = 0;
  virtual int32_t GetIntValue() = 0;
  virtual uint32_t GetUIntValue() = 0;
  virtual double GetDoubleValue() = 0;
  virtual CefString GetStringValue() = 0;

  // Objects: only a context's global object takes new members here.
  virtual bool SetValue(const CefString& key, CefRefPtr<CefV8Value> value, cef_v8_propertyattribute_t attribute) = 0;

  virtual CefString GetFunctionName() = 0;
  virtual CefRefPtr<CefV8Handler> GetFunctionHandler() = 0;
  // Calls a page function in the given context. The call is sent to the page
  // and not waited for: the result is undefined and exceptions stay in the page.
  virtual CefRefPtr<CefV8Value> ExecuteFunctionWithContext(CefRefPtr<CefV8Context> context,
                                                           CefRefPtr<CefV8Value> object,
                                                           const CefV8ValueList& arguments) = 0;
};
