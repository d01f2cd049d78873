#pragma once

#include "engine/include/cef_base.h"
#include "engine/include/cef_values.h"

class CefBrowser;
class CefV8Context;

class CefFrame : public virtual CefBaseRefCounted {
 public:
  virtual bool IsValid() = 0;
  virtual bool IsMain() = 0;
  virtual CefString GetName() = 0;
  virtual CefString GetIdentifierString() = 0;
  virtual CefString GetURL() = 0;
  virtual CefRefPtr<CefFrame> GetParent() = 0;
  virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
  virtual CefRefPtr<CefV8Context> GetV8Context() = 0;  // the frame's current default context
  virtual void LoadURL(const CefString& url) = 0;
  virtual void ExecuteJavaScript(const CefString& code, const CefString& script_url, int start_line) = 0;
  // Queues a copy of the message for the other side; it is delivered, in
  // order, by CefDoMessageLoopWork.
  virtual void SendProcessMessage(cef_process_id_t target_process, CefRefPtr<CefProcessMessage> message) = 0;
  // Editing commands, run in the page.
  virtual void Undo() = 0;
  virtual void Redo() = 0;
  virtual void Cut() = 0;
  virtual void Copy() = 0;
  virtual void Paste() = 0;
  virtual void Delete() = 0;
  virtual void SelectAll() = 0;
};
