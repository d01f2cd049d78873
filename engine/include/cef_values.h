#pragma once
// Lists of values and the process messages that carry them between the
// browser side and the renderer side of the layer.

#include <variant>
#include <vector>

#include "engine/include/cef_base.h"

enum cef_value_type_t { VTYPE_INVALID = 0, VTYPE_NULL, VTYPE_BOOL, VTYPE_INT, VTYPE_DOUBLE, VTYPE_STRING,
                        VTYPE_BINARY, VTYPE_DICTIONARY, VTYPE_LIST };

class CefListValue final : public virtual CefBaseRefCounted {
 public:
  static CefRefPtr<CefListValue> Create() { return new CefListValue(); }

  bool IsValid() const { return true; }
  CefRefPtr<CefListValue> Copy() const;

  bool SetSize(size_t size);
  size_t GetSize() const { return entries_.size(); }
  bool Clear();
  bool Remove(size_t index);

  cef_value_type_t GetType(size_t index) const;
  bool GetBool(size_t index) const;
  int GetInt(size_t index) const;
  double GetDouble(size_t index) const;
  CefString GetString(size_t index) const;

  bool SetNull(size_t index);
  bool SetBool(size_t index, bool value);
  bool SetInt(size_t index, int value);
  bool SetDouble(size_t index, double value);
  bool SetString(size_t index, const CefString& value);

 private:
  struct Null {};
  // std::monostate: an entry that was never set (VTYPE_INVALID until set, as sized lists start).
  using Entry = std::variant<std::monostate, Null, bool, int, double, CefString>;
  bool Set(size_t index, Entry value);

  std::vector<Entry> entries_;
  IMPLEMENT_REFCOUNTING(CefListValue);
};

class CefProcessMessage final : public virtual CefBaseRefCounted {
 public:
  static CefRefPtr<CefProcessMessage> Create(const CefString& name) { return new CefProcessMessage(name); }

  bool IsValid() const { return true; }
  bool IsReadOnly() const { return false; }
  CefRefPtr<CefProcessMessage> Copy() const;
  CefString GetName() const { return name_; }
  CefRefPtr<CefListValue> GetArgumentList() const { return arguments_; }

 private:
  explicit CefProcessMessage(const CefString& name) : name_(name), arguments_(CefListValue::Create()) {}

  CefString name_;
  CefRefPtr<CefListValue> arguments_;
  IMPLEMENT_REFCOUNTING(CefProcessMessage);
};
