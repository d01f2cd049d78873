#pragma once
// How VMware Workstation's inventory records a machine's state, read the
// documented way: the file is a sequence of words separated by white space, a
// double-quoted value (which may hold blanks) being one word; the state is the
// 24th word after the word that is the machine's .vmx path in double quotes
// (the first such word counts). The values are UTF-8 when the file begins
// `.encoding = "UTF-8"`, otherwise in the ANSI code page.

#include <string>

// True when the inventory's bytes record the machine (its path in UTF-8) as
// "paused".
bool IsPausedInInventory(const std::string& bytes, const std::string& machinePathUtf8);
