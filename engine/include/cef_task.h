#pragma once
// Work for the UI thread.

#include "engine/include/cef_base.h"

class CefTask : public virtual CefBaseRefCounted {
 public:
  virtual void Execute() = 0;
};

// Every engine callback runs on the thread that called CefInitialize.
bool CefCurrentlyOn(cef_thread_id_t threadId);

// Queues the task for the next CefDoMessageLoopWork on the UI thread.
bool CefPostTask(cef_thread_id_t threadId, CefRefPtr<CefTask> task);
