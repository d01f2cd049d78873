#pragma once
// Requests, samples and expectations are written with kSandboxMark where the
// sandbox program folder goes, so that a seed makes the same bytes whatever
// the folder is called, and a failure can be replayed in another folder.

#include <string>

inline constexpr char kSandboxMark[] = "%SANDBOX%";

// Every mark replaced by the folder (UTF-8, ending in a backslash) as it is
// written inside a JSON string: backslashes and quotes escaped.
std::string PutSandboxInJson(const std::string& text, const std::string& folderUtf8);

// Every mark replaced by the folder as it is.
std::string PutSandbox(const std::string& text, const std::string& folder);
