#pragma once

#include <string>
#include <string_view>

namespace VboxBackend {

// Asks VBoxManage (showvminfo, by the clone's name) about every clone of
// vboxBootlist.json and stores each one's uuid, path (settings file) and
// state; belongTo is filled with the master's name where a record has none.
// The last query's output stays in consoletemp.ctemp (current folder).
// Returns the refreshed list as compact JSON (UTF-8), or "-1" when the list
// is missing or cannot be read (an unreadable list is left as it is).
std::string RefreshStates();

}  // namespace VboxBackend

// The value of a "key: value" line of a tool's output: the key must begin a
// line and be followed by a space, tab or colon; the spaces, tabs and colons
// after it are skipped and the value runs to the line end, keeping any spaces
// and colons inside it ("running (since 2026-12-11T09:30:00.000000000)").
// The first such line counts; "" when there is none or it holds no value.
std::string ValueAfterKey(std::string_view text, std::string_view key);
