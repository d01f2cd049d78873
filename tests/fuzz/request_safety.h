#pragma once
// Keeps the fuzz's requests inside its sandbox. The commands run tools, delete
// folders and wait as their members say; a generated or mutated request must
// not name a program or folder outside the sandbox program folder, ask for work
// that legitimately takes hours, or end the process ("close" without tray).
//
// A request is read exactly as the dispatcher reads it (ParseRequestText and
// the lenient member reads); one that breaks a rule is written anew with the
// offending members replaced, everything else kept.

#include <string>

struct SandboxFolder {
  std::string ansi;  // ending in a backslash
  std::string utf8;
};

// True when the text was changed.
bool MakeRequestSafe(std::string& text, const SandboxFolder& sandbox);
