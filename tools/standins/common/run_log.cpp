#include "tools/standins/common/run_log.h"

#include <windows.h>

#include <string>

#include "tools/standins/common/environment.h"
#include "tools/standins/common/files.h"
#include "tools/standins/common/text_codec.h"
#include "tools/standins/common/unique_handle.h"

namespace standins {

void AppendCommandLineToLog() {
  const std::optional<std::string> logPath = EnvironmentVariable(L"STANDIN_LOG");
  if (!logPath || logPath->empty()) return;
  CreateFolderTree(ParentFolder(*logPath));
  // Append-only access: runs that overlap each add their whole line.
  UniqueHandle log(CreateFileW(Utf8ToWide(*logPath).c_str(), FILE_APPEND_DATA,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log) return;
  std::string line = GetCommandLineA();
  line.push_back('\n');
  DWORD written = 0;
  WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace standins
