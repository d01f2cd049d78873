#pragma once
// Settings and list files on disk (UTF-8, CR LF line ends, no byte-order mark
// written; one is skipped on reading).

#include <optional>
#include <string>

#include "support/json_document.h"

namespace JsonFile {

// The file's document; nullopt when the file is missing, empty, unreadable or
// not valid JSON.
std::optional<Json::Document> Read(const std::string& path);

// Writes the document pretty-printed. The text goes to a temporary file beside
// the target, which then replaces the target in one step; on any failure the
// old file stays whole and no temporary file is left. Returns false on failure
// (callers may ignore it).
bool Write(const Json::Document& document, const std::string& path);

// The file's document as compact text; nullopt when Read yields none.
std::optional<std::string> ReadCompact(const std::string& path);

}  // namespace JsonFile
