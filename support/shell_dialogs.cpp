#include "support/shell_dialogs.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

int ChooseVmxFile(char* buffer) {
  OPENFILENAMEA dialog;
  memset(&dialog, 0, sizeof(dialog));
  dialog.lStructSize = sizeof(OPENFILENAMEA);
  dialog.lpstrFilter = "vmx\0*.vmx\0";
  dialog.lpstrFile = buffer;
  dialog.nMaxFile = 260;
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  return GetOpenFileNameA(&dialog);
}

bool ChooseFolder(std::string& folder) {
  BROWSEINFOA browse;
  memset(&browse, 0, sizeof(browse));
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&browse);
  if (!chosen) return false;
  char path[MAX_PATH] = {};
  const bool found = SHGetPathFromIDListA(chosen, path) != FALSE;
  CoTaskMemFree(chosen);  // the item list is ours to free
  if (!found) return false;
  folder = path;
  return true;
}

void OpenInShell(const std::string& text) {
  ShellExecuteA(nullptr, "open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
