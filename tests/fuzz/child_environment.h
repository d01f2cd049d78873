#pragma once
// The child's process set up so that the commands act on nothing outside its
// sandbox program folder (the folder of the running copy).

#include <cstdio>
#include <memory>
#include <string>

#include "tests/fuzz/request_safety.h"

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

class SandboxProcess {
 public:
  // Redirects what the commands would otherwise find outside the folder:
  // - VMware Workstation's inventory lives under C:\Users\<user name>; under
  //   Wine the user name comes from WINEUSERNAME, which is pointed into the
  //   sandbox (deleting every clone moves the inventory aside);
  // - deleting every clone runs taskkill and start through the command
  //   interpreter named by ComSpec, which is pointed at no program, so no
  //   vmware.exe of another test is ended and none is started;
  // - PATH names only the sandbox, so a bare word at the start of a tool line
  //   (the settings name no tool) is looked for in few places;
  // - the diagnostics (every request, up to 10 MB) go to NUL.
  // error() says what could not be redirected; the child must then not run.
  SandboxProcess();
  ~SandboxProcess();
  SandboxProcess(const SandboxProcess&) = delete;
  SandboxProcess& operator=(const SandboxProcess&) = delete;

  const std::string& error() const { return error_; }
  const SandboxFolder& folder() const { return folder_; }

 private:
  SandboxFolder folder_;
  std::unique_ptr<FILE, FileCloser> diagnostics_;
  std::string error_;
};
