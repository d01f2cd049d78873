#pragma once
// Composing tool command lines (ANSI code page byte strings).

#include <string>

// A word that holds a space or a tab is enclosed in double quotes, so the tool
// sees it as one argument; any other word is returned unchanged.
std::string QuoteIfSpaced(const std::string& word);
