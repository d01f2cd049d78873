#include "vmware/vmware_power.h"

#include <climits>
#include <cstdint>
#include <string>

#include "support/command_line.h"
#include "support/interval_wait.h"
#include "support/process_runner.h"
#include "support/vmrun_words.h"
#include "vmware/vmware_list.h"
#include "vmware/vmware_prefs.h"

namespace VmwareBackend {

namespace {

using namespace VmrunWords;

constexpr int kAllClones = 0;
constexpr int kOneClone = 1;

bool IsSelection(int type) { return type == kAllClones || type == kOneClone; }

// The word of reset and stop mode 0 or 1; nullptr for any other mode.
const char* ModeWord(int mode) {
  if (mode == 0) return kSoft;
  if (mode == 1) return kHard;
  return nullptr;
}

// One operation's tool lines.
struct PowerCommand {
  const char* verb;
  const char* lastWordForAll = nullptr;  // the word after the path when all clones are handled
  const char* lastWordForOne = nullptr;  // ... when one clone is
  int runsForAll = 1;                    // how often each clone's line runs in a row
};

// <tool> <verb> <storage><n>\<n>.vmx [<last word>]; the path is quoted when
// it holds a blank, so that vmrun reads it as one argument.
std::string PowerLine(const VmwarePrefs& prefs, const char* verb, int clone, const char* lastWord) {
  std::string line =
      prefs.InstallationPath + " " + verb + " " + QuoteIfSpaced(CloneMachinePath(prefs.StoragePath, clone));
  if (lastWord) line += std::string(" ") + lastWord;
  return line;
}

// Runs the command for the selected clones; the caller has checked the selection.
void RunForSelection(int type, int vmxId, const PowerCommand& command) {
  const VmwarePrefs prefs = LoadPrefs();
  if (type == kOneClone) {
    RunAndWait(PowerLine(prefs, command.verb, vmxId, command.lastWordForOne));
    return;
  }
  for (int64_t clone = 0; clone < prefs.CloneNumber && clone <= INT_MAX; ++clone) {
    const std::string line = PowerLine(prefs, command.verb, static_cast<int>(clone), command.lastWordForAll);
    for (int run = 0; run < command.runsForAll; ++run) RunAndWait(line);
    WaitHandlingMessages(prefs.StartIntervalTime);
  }
}

}  // namespace

bool StartVms(int type, int vmxId) {
  if (!IsSelection(type)) return false;
  RunForSelection(type, vmxId, {kStart, kInWindow, nullptr, 2});
  return true;
}

bool SuspendVms(int type, int vmxId) {
  if (!IsSelection(type)) return false;
  RunForSelection(type, vmxId, {kSuspend});
  if (type == kOneClone) MarkClonePaused(vmxId);
  return true;
}

bool UnpauseVms(int type, int vmxId) {
  if (!IsSelection(type)) return false;
  RunForSelection(type, vmxId, {kUnpause});
  return true;
}

bool ResetVms(int type, int vmxId, int mode) {
  const char* modeWord = ModeWord(mode);
  if (!IsSelection(type) || !modeWord) return false;
  RunForSelection(type, vmxId, {kReset, modeWord, modeWord});
  return true;
}

bool StopVms(int type, int vmxId, int mode) {
  const char* modeWord = ModeWord(mode);
  if (!IsSelection(type) || !modeWord) return false;
  RunForSelection(type, vmxId, {kStop, modeWord, modeWord});
  return true;
}

}  // namespace VmwareBackend
