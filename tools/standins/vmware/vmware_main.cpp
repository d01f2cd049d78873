// vmware.exe stand-in: Workstation's window program, for Tarnwick to end
// (taskkill /f /t /im vmware.exe) and start again. It logs its command line
// like the other stand-ins, then waits, showing nothing, until it is ended.

#include <windows.h>

#include "tools/standins/common/run_log.h"

int main() {
  standins::AppendCommandLineToLog();
  for (;;) Sleep(INFINITE);
}
