#pragma once
// One Tarnwick at a time: the first start holds a named mutex for its whole
// life; a later start hands over to it and ends.

#include <windows.h>

#include "support/win_handle.h"

class SingleInstance {
 public:
  SingleInstance() = default;
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // True when no other instance holds the mutex (this one now does). The
  // handle stays open either way until the object goes.
  bool Claim(const wchar_t* mutexName);

 private:
  WinHandle mutex_;
};

// Asks the running instance's main window (found by its class) to restore
// and raise itself, as a click on its tray icon does. Nothing happens when no
// such window exists.
void HandOffToRunningInstance(const wchar_t* mainWindowClassName);
