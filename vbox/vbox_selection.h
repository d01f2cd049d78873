#pragma once

#include <map>
#include <string>
#include <string_view>

namespace VboxBackend {

// The registered machines that can be chosen as the master: those of
// "VBoxManage list vms" whose names do not start with the clone name prefix
// (an empty prefix keeps all), in byte order of their names. They are stored
// as {"code": 200, "data": [{"boot": name}, ...]} in vboxSelectList.json (data only
// when a machine is kept) and returned as compact JSON in the ANSI code page.
// The tool's output is copied to selectList.List (current folder).
// "-1", leaving vboxSelectList.json as it was, when VBoxPrefs.json is missing or the
// tool printed no machine line (nothing, or only an error text).
std::string ListSelectableVms();

}  // namespace VboxBackend

// Name -> value lines of a tool's output, ordered by plain byte comparison
// (a name seen again keeps its later value). Spaces, tabs, CR, LF and double
// quotes separate; a name runs to the next CR, LF or double quote (spaces
// belong to it), then after separators its value runs the same way. A name
// without a value at the end of the text is dropped.
// "\"win 10\" {0f1e...}\r\n" gives "win 10" -> "{0f1e...}".
std::map<std::string, std::string> ParseNameValueLines(std::string_view text);
