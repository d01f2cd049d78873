#include "tests/common/test_support.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "tests/common/pipe_drain.h"

namespace testing_support {

namespace {

std::string ModuleFolder() {
  char path[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

}  // namespace

TempFolder::TempFolder() {
  char base[MAX_PATH] = {};
  GetTempPathA(sizeof(base), base);
  static unsigned counter = 0;
  for (;;) {
    char name[MAX_PATH * 2];
    snprintf(name, sizeof(name), "%stwk-test-%lu-%u-%lu\\", base, GetCurrentProcessId(), ++counter,
             GetTickCount());
    std::string candidate = name;
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + candidate);
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, got);
  fclose(f);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
  if (path.empty()) return;
  std::string folder = path;
  if (folder.back() == '\\') folder.pop_back();
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = folder + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(folder.c_str());
}

std::string TestProgramFolder() { return ModuleFolder(); }

std::string ProductBinFolder() { return ModuleFolder() + "..\\bin\\"; }

std::string TestProgramPath() {
  char path[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
  return std::string(path, n);
}

ChildResult RunChild(const std::string& commandLine, const std::string& input,
                     const std::vector<std::string>& environment, const std::string& currentDirectory) {
  ChildResult result;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE inRead, inWrite, outRead, outWrite, errRead, errWrite;
  if (!CreatePipe(&inRead, &inWrite, &inherit, 0)) return result;
  CreatePipe(&outRead, &outWrite, &inherit, 0);
  CreatePipe(&errRead, &errWrite, &inherit, 0);
  SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

  // Our environment plus the extra entries, as a double-NUL-terminated block.
  std::string block;
  if (!environment.empty()) {
    char* current = GetEnvironmentStringsA();
    for (const char* p = current; *p; p += strlen(p) + 1) {
      std::string entry = p;
      bool overridden = false;
      for (const auto& e : environment) {
        std::string key = e.substr(0, e.find('=') + 1);
        if (_strnicmp(entry.c_str(), key.c_str(), key.size()) == 0) overridden = true;
      }
      if (!overridden) block.append(entry).push_back('\0');
    }
    FreeEnvironmentStringsA(current);
    for (const auto& e : environment) block.append(e).push_back('\0');
    block.push_back('\0');
  }

  STARTUPINFOA si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = inRead;
  si.hStdOutput = outWrite;
  si.hStdError = errWrite;
  PROCESS_INFORMATION pi{};
  std::string mutableLine = commandLine;
  result.started = CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                  block.empty() ? nullptr : block.data(),
                                  currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &si, &pi);
  CloseHandle(inRead);
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (!result.started) {
    result.startError = GetLastError();
    CloseHandle(inWrite);
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
  }
  PipeDrain out(outRead), err(errRead);
  DWORD written = 0;
  size_t offset = 0;
  while (offset < input.size() &&
         WriteFile(inWrite, input.data() + offset, static_cast<DWORD>(input.size() - offset), &written, nullptr))
    offset += written;
  CloseHandle(inWrite);
  result.out = out.Finish();
  result.err = err.Finish();
  WaitForSingleObject(pi.hProcess, INFINITE);
  GetExitCodeProcess(pi.hProcess, &result.exitCode);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  CloseHandle(outRead);
  CloseHandle(errRead);
  return result;
}

}  // namespace testing_support
