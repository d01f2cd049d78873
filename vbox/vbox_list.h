#pragma once
// What the clone operations share: the clone list vboxBootlist.json in the
// program folder, and running a VBoxManage line.
//
// The list is {"code": 200, "data": [record, ...]}, one record per clone:
// id, snapshot (numbers), name, uuid, path, state, belongTo (strings, UTF-8).

#include <optional>
#include <string>

#include "support/json_document.h"

namespace VboxBackend {

std::string CloneListPath();
bool CloneListExists();
bool PrefsExist();

// The list's document; nullopt when it is missing or cannot be read as JSON.
std::optional<Json::Document> ReadCloneList();

// The records of a list; nullptr when it has no `data` array.
Json::Document* CloneRecords(Json::Document& list);

// Runs `tool` followed by `arguments` (which bring their own leading blanks)
// and waits for it. Without a tool path (settings missing or empty) nothing is
// run: such a line names no program, only the tool's first argument.
void RunToolLine(const std::string& tool, const std::string& arguments);

}  // namespace VboxBackend
