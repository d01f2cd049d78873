#pragma once
// Tests assert the exact command lines Tarnwick sends, so every run appends
// the bytes of GetCommandLineA() and a line feed to the STANDIN_LOG file.

namespace standins {

void AppendCommandLineToLog();

}  // namespace standins
