#include "app/single_instance.h"

#include "app/program_identity.h"

bool SingleInstance::Claim(const wchar_t* mutexName) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, mutexName);
  const DWORD error = GetLastError();
  mutex_.Reset(mutex);
  // A mutex that cannot be made is taken as held by another instance.
  return mutex && error != ERROR_ALREADY_EXISTS;
}

void HandOffToRunningInstance(const wchar_t* mainWindowClassName) {
  if (HWND running = FindWindowW(mainWindowClassName, nullptr)) SendMessageW(running, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
}
