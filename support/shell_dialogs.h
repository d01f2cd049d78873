#pragma once
// The two standard dialogs the page can ask for, and handing a text to the
// shell. Paths are in the ANSI code page.

#include <string>

// The open-file dialog for a virtual machine file (only "*.vmx", path and file
// must exist). buffer: 260 bytes, cleared by the caller. Non-zero when a file
// was chosen; its full path is then in the buffer.
int ChooseVmxFile(char* buffer);

// The shell's folder browser (file-system folders only, new dialog style).
// True with the chosen folder (no trailing backslash) in folder; false when
// cancelled.
bool ChooseFolder(std::string& folder);

// Opens the text (an address or a path) with whatever Windows associates
// with it; the result is not looked at.
void OpenInShell(const std::string& text);
