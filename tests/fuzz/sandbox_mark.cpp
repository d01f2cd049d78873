#include "tests/fuzz/sandbox_mark.h"

#include <cstring>

namespace {

std::string ReplaceMarks(const std::string& text, const std::string& replacement) {
  std::string out;
  out.reserve(text.size());
  size_t at = 0;
  for (size_t found = text.find(kSandboxMark); found != std::string::npos; found = text.find(kSandboxMark, at)) {
    out.append(text, at, found - at).append(replacement);
    at = found + std::strlen(kSandboxMark);
  }
  return out.append(text, at, std::string::npos);
}

}  // namespace

std::string PutSandboxInJson(const std::string& text, const std::string& folderUtf8) {
  std::string escaped;
  for (const char c : folderUtf8) {
    if (c == '\\' || c == '"') escaped.push_back('\\');
    escaped.push_back(c);
  }
  return ReplaceMarks(text, escaped);
}

std::string PutSandbox(const std::string& text, const std::string& folder) { return ReplaceMarks(text, folder); }
