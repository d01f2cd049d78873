// The framework's global functions and its small value classes.

#include <windows.h>
#include <shellapi.h>

#include "engine/include/cef_app.h"
#include "engine/include/cef_task.h"
#include "engine/runtime/engine_runtime.h"
#include "engine/launch/utf16_text.h"

// --- strings -------------------------------------------------------------

void CefString::FromString(const std::string& utf8) { text_ = Utf8ToUtf16(utf8); }

bool CefString::FromASCII(const char* ascii) {
  text_.clear();
  for (const char* c = ascii; c && *c; ++c) {
    if (static_cast<unsigned char>(*c) > 0x7F) return false;
    text_.push_back(static_cast<wchar_t>(*c));
  }
  return true;
}

std::string CefString::ToString() const { return Utf16ToUtf8(text_); }

// --- lists and messages --------------------------------------------------

CefRefPtr<CefListValue> CefListValue::Copy() const {
  CefRefPtr<CefListValue> copy = Create();
  copy->entries_ = entries_;
  return copy;
}

bool CefListValue::SetSize(size_t size) {
  entries_.resize(size);
  return true;
}

bool CefListValue::Clear() {
  entries_.clear();
  return true;
}

bool CefListValue::Remove(size_t index) {
  if (index >= entries_.size()) return false;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

cef_value_type_t CefListValue::GetType(size_t index) const {
  if (index >= entries_.size()) return VTYPE_INVALID;
  switch (entries_[index].index()) {
    case 1: return VTYPE_NULL;
    case 2: return VTYPE_BOOL;
    case 3: return VTYPE_INT;
    case 4: return VTYPE_DOUBLE;
    case 5: return VTYPE_STRING;
    default: return VTYPE_INVALID;
  }
}

bool CefListValue::GetBool(size_t index) const {
  if (index >= entries_.size()) return false;
  if (const bool* b = std::get_if<bool>(&entries_[index])) return *b;
  return false;
}

int CefListValue::GetInt(size_t index) const {
  if (index >= entries_.size()) return 0;
  if (const int* i = std::get_if<int>(&entries_[index])) return *i;
  if (const double* d = std::get_if<double>(&entries_[index])) return static_cast<int>(*d);
  return 0;
}

double CefListValue::GetDouble(size_t index) const {
  if (index >= entries_.size()) return 0.0;
  if (const double* d = std::get_if<double>(&entries_[index])) return *d;
  if (const int* i = std::get_if<int>(&entries_[index])) return *i;
  return 0.0;
}

CefString CefListValue::GetString(size_t index) const {
  if (index >= entries_.size()) return CefString();
  if (const CefString* s = std::get_if<CefString>(&entries_[index])) return *s;
  return CefString();
}

bool CefListValue::Set(size_t index, Entry value) {
  if (index >= entries_.size()) entries_.resize(index + 1);
  entries_[index] = std::move(value);
  return true;
}

bool CefListValue::SetNull(size_t index) { return Set(index, Null{}); }
bool CefListValue::SetBool(size_t index, bool value) { return Set(index, value); }
bool CefListValue::SetInt(size_t index, int value) { return Set(index, value); }
bool CefListValue::SetDouble(size_t index, double value) { return Set(index, value); }
bool CefListValue::SetString(size_t index, const CefString& value) { return Set(index, value); }

CefRefPtr<CefProcessMessage> CefProcessMessage::Copy() const {
  CefRefPtr<CefProcessMessage> copy = Create(name_);
  copy->arguments_ = arguments_->Copy();
  return copy;
}

// --- command lines -------------------------------------------------------

CefRefPtr<CefCommandLine> CefCommandLine::GetGlobalCommandLine() {
  static CefRefPtr<CefCommandLine> global = [] {
    CefRefPtr<CefCommandLine> commandLine = CreateCommandLine();
    commandLine->InitFromString(GetCommandLineW());
    return commandLine;
  }();
  return global;
}

void CefCommandLine::InitFromString(const CefString& command_line) {
  switches_.clear();
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(command_line.c_str(), &count);
  if (!words) return;
  for (int i = 1; i < count; ++i) {
    std::string word = Utf16ToUtf8(words[i]);
    if (word.rfind("--", 0) != 0) continue;
    word.erase(0, 2);
    const size_t equals = word.find('=');
    if (equals == std::string::npos) {
      switches_.emplace_back(word, std::string());
    } else {
      switches_.emplace_back(word.substr(0, equals), word.substr(equals + 1));
    }
  }
  LocalFree(words);
}

bool CefCommandLine::HasSwitch(const CefString& name) const {
  const std::string key = name.ToString();
  for (const auto& [switchName, value] : switches_)
    if (switchName == key) return true;
  return false;
}

CefString CefCommandLine::GetSwitchValue(const CefString& name) const {
  const std::string key = name.ToString();
  for (const auto& [switchName, value] : switches_)
    if (switchName == key) return value;
  return CefString();
}

void CefCommandLine::AppendSwitch(const CefString& name) { switches_.emplace_back(name.ToString(), std::string()); }

void CefCommandLine::AppendSwitchWithValue(const CefString& name, const CefString& value) {
  switches_.emplace_back(name.ToString(), value.ToString());
}

std::vector<std::string> CefCommandLine::GetSwitchArguments() const {
  std::vector<std::string> arguments;
  for (const auto& [name, value] : switches_) arguments.push_back(value.empty() ? "--" + name : "--" + name + "=" + value);
  return arguments;
}

// --- process model and loop ----------------------------------------------

int CefExecuteProcess(const CefMainArgs&, CefRefPtr<CefApp>, void*) {
  // The browser's own processes are the browser's; a process of ours started
  // with a sub-process switch has nothing to do.
  return CefCommandLine::GetGlobalCommandLine()->HasSwitch("type") ? 0 : -1;
}

bool CefInitialize(const CefMainArgs&, const CefSettings& settings, CefRefPtr<CefApp> application, void*) {
  return EngineRuntime::Get().Initialize(settings, application);
}

void CefDoMessageLoopWork() { EngineRuntime::Get().DoWork(); }

void CefShutdown() { EngineRuntime::Get().Shutdown(); }

void CefEnableHighDPISupport() {
  using SetContextFunction = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const auto setContext = reinterpret_cast<SetContextFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (setContext && setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
  SetProcessDPIAware();
}

bool CefCurrentlyOn(cef_thread_id_t threadId) { return threadId == TID_UI && EngineRuntime::Get().OnUiThread(); }

bool CefPostTask(cef_thread_id_t threadId, CefRefPtr<CefTask> task) {
  if (threadId != TID_UI || !task) return false;
  EngineRuntime::Get().Post([task] { task->Execute(); });
  return true;
}

CefRefPtr<CefBrowser> CefBrowserHost::CreateBrowserSync(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                                        const CefString& url, const CefBrowserSettings& settings,
                                                        CefRefPtr<CefDictionaryValue>, CefRefPtr<CefRequestContext>) {
  return EngineRuntime::Get().CreateBrowser(windowInfo, client, url.ToString(), settings);
}
