#include "tests/safety/folder_link.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

#include "support/win_handle.h"

namespace safety {

namespace {

// REPARSE_DATA_BUFFER's mount point form (the SDK keeps it in a driver header).
struct MountPointReparseBuffer {
  DWORD ReparseTag;
  WORD ReparseDataLength;
  WORD Reserved;
  WORD SubstituteNameOffset;
  WORD SubstituteNameLength;
  WORD PrintNameOffset;
  WORD PrintNameLength;
  WCHAR PathBuffer[1];
};

std::wstring Wide(const std::string& ansi) {
  const int units = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(units > 0 ? units : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), units);
  wide.resize(wcslen(wide.c_str()));
  return wide;
}

// Turns the empty folder `link` into a junction to `target`.
bool MakeJunction(const std::string& link, const std::string& target) {
  WinHandle folder(CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!folder) return false;
  const std::wstring substitute = L"\\??\\" + Wide(target);
  const std::wstring print = Wide(target);
  const size_t pathBytes = (substitute.size() + 1 + print.size() + 1) * sizeof(WCHAR);
  std::vector<char> buffer(offsetof(MountPointReparseBuffer, PathBuffer) + pathBytes, '\0');
  auto* reparse = reinterpret_cast<MountPointReparseBuffer*>(buffer.data());
  reparse->ReparseTag = IO_REPARSE_TAG_MOUNT_POINT;
  reparse->ReparseDataLength = static_cast<WORD>(8 + pathBytes);
  reparse->SubstituteNameLength = static_cast<WORD>(substitute.size() * sizeof(WCHAR));
  reparse->PrintNameOffset = static_cast<WORD>((substitute.size() + 1) * sizeof(WCHAR));
  reparse->PrintNameLength = static_cast<WORD>(print.size() * sizeof(WCHAR));
  memcpy(reparse->PathBuffer, substitute.c_str(), (substitute.size() + 1) * sizeof(WCHAR));
  memcpy(reparse->PathBuffer + substitute.size() + 1, print.c_str(), (print.size() + 1) * sizeof(WCHAR));
  DWORD returned = 0;
  return DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                         nullptr, 0, &returned, nullptr);
}

// Wine's own name of a Windows path (nothing outside Wine).
std::string UnixPath(const std::string& path) {
  using Converter = char*(CDECL*)(const WCHAR*);
  const auto convert = reinterpret_cast<Converter>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return std::string();
  char* unixName = convert(Wide(path).c_str());
  if (!unixName) return std::string();
  std::string result = unixName;
  HeapFree(GetProcessHeap(), 0, unixName);
  return result;
}

bool LooksLikeLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Runs a Unix shell command (Wine starts /bin/sh from its Unix path) and
// waits, up to ten seconds, until it has run: Wine gives no usable process
// handle for it, so the command ends by making a marker file, which is then
// removed.
void RunUnixCommand(const std::string& command, const std::string& marker) {
  const std::string unixMarker = UnixPath(marker);
  if (unixMarker.empty()) return;
  std::string line = "/bin/sh -c \"" + command + "; : > '" + unixMarker + "'\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    return;
  }
  const WinHandle process(started.hProcess);  // no use: Wine cannot wait on it
  const WinHandle thread(started.hThread);
  for (int waited = 0; waited < 1000 && GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES; ++waited)
    Sleep(10);
  DeleteFileA(marker.c_str());
}

}  // namespace

FolderLink::FolderLink(const std::string& link, const std::string& target) : link_(link) {
  if (!CreateDirectoryA(link.c_str(), nullptr)) return;
  if (MakeJunction(link, target)) return;
  RemoveDirectoryA(link.c_str());
  const std::string unixLink = UnixPath(link);
  const std::string unixTarget = UnixPath(target);
  if (unixLink.empty() || unixTarget.empty()) return;
  unixLink_ = true;
  RunUnixCommand("ln -s '" + unixTarget + "' '" + unixLink + "'", link + ".made");
}

FolderLink::~FolderLink() {
  if (unixLink_) {
    // Also when what it points to is gone (Wine then no longer shows it).
    RunUnixCommand("rm -f '" + UnixPath(link_) + "'", link_ + ".removed");
  } else if (Made()) {
    RemoveDirectoryA(link_.c_str());  // a junction goes as a link
  }
}

bool FolderLink::Made() const { return LooksLikeLink(link_); }

}  // namespace safety
