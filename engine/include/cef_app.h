#pragma once
// Process model, global settings and the message loop.

#include <map>
#include <string>
#include <vector>

#include "engine/include/cef_browser.h"
#include "engine/include/cef_frame.h"
#include "engine/include/cef_v8.h"
#include "engine/include/cef_values.h"

// A process's command line: the program, its switches and their values.
class CefCommandLine final : public virtual CefBaseRefCounted {
 public:
  static CefRefPtr<CefCommandLine> CreateCommandLine() { return new CefCommandLine(); }
  static CefRefPtr<CefCommandLine> GetGlobalCommandLine();

  void InitFromString(const CefString& command_line);
  bool HasSwitch(const CefString& name) const;
  CefString GetSwitchValue(const CefString& name) const;
  void AppendSwitch(const CefString& name);
  void AppendSwitchWithValue(const CefString& name, const CefString& value);
  // Switches in the order they were added, as "--name" or "--name=value".
  std::vector<std::string> GetSwitchArguments() const;

 private:
  std::vector<std::pair<std::string, std::string>> switches_;  // UTF-8 name, value
  IMPLEMENT_REFCOUNTING(CefCommandLine);
};

class CefBrowserProcessHandler : public virtual CefBaseRefCounted {
 public:
  virtual void OnContextInitialized() {}
};

// The page side of the bridge: script contexts and messages for the renderer.
class CefRenderProcessHandler : public virtual CefBaseRefCounted {
 public:
  virtual void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                CefRefPtr<CefV8Context> context) {
    (void)browser, (void)frame, (void)context;
  }
  virtual void OnContextReleased(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                 CefRefPtr<CefV8Context> context) {
    (void)browser, (void)frame, (void)context;
  }
  virtual bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                        cef_process_id_t source_process, CefRefPtr<CefProcessMessage> message) {
    (void)browser, (void)frame, (void)source_process, (void)message;
    return false;
  }
};

class CefApp : public virtual CefBaseRefCounted {
 public:
  // Switches for the browser's command line (process_type is empty for the browser process).
  virtual void OnBeforeCommandLineProcessing(const CefString& process_type, CefRefPtr<CefCommandLine> command_line) {
    (void)process_type, (void)command_line;
  }
  virtual CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() { return nullptr; }
  virtual CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() { return nullptr; }
};

struct CefMainArgs {
  CefMainArgs() = default;
  explicit CefMainArgs(HINSTANCE instance_) : instance(instance_) {}
  HINSTANCE instance = nullptr;
};

struct CefSettings {
  int no_sandbox = 0;
  CefString browser_subprocess_path;
  int multi_threaded_message_loop = 0;
  int external_message_pump = 0;
  int windowless_rendering_enabled = 0;
  CefString cache_path;
  CefString root_cache_path;
  CefString user_data_path;
  int persist_session_cookies = 0;
  int persist_user_preferences = 0;
  CefString user_agent;
  CefString locale;
  CefString log_file;
  cef_log_severity_t log_severity = LOGSEVERITY_DEFAULT;
  CefString javascript_flags;
  CefString resources_dir_path;
  CefString locales_dir_path;
  int remote_debugging_port = 0;
  cef_color_t background_color = 0;
  CefString accept_language_list;
};

// Returns 0 or more for a command line that names a sub-process (--type=...):
// that process has nothing more to do. -1 for the browser process.
int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application, void* windows_sandbox_info);

// Starts the browser and connects to it; false when no browser can be found,
// started or reached in time.
bool CefInitialize(const CefMainArgs& args, const CefSettings& settings, CefRefPtr<CefApp> application,
                   void* windows_sandbox_info);

// Handles what has arrived from the browser and what was queued meanwhile
// (process messages, posted tasks) without blocking.
void CefDoMessageLoopWork();

// Closes the browsers and ends the browser process the layer started.
void CefShutdown();

void CefEnableHighDPISupport();
