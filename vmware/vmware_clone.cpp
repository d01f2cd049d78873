#include "vmware/vmware_clone.h"

#include <string>

#include "support/command_line.h"
#include "support/message_pump.h"
#include "support/process_runner.h"
#include "support/vmrun_words.h"
#include "vmware/vmware_prefs.h"

namespace VmwareBackend {

namespace {

using namespace VmrunWords;

// <tool> <snapshot verb> "<master>" 888
std::string SnapshotLine(const VmwarePrefs& prefs, const char* verb) {
  return prefs.InstallationPath + " " + verb + " \"" + prefs.MasterPath + "\" " + kSnapshotName;
}

// <tool> -T ws clone "<master>" "<storage><i>\<i>.vmx" <type> -snapshot=888 -cloneName=<prefix><i>
std::string CloneLine(const VmwarePrefs& prefs, int i) {
  const std::string number = std::to_string(i);
  return prefs.InstallationPath + " " + kClone + " \"" + prefs.MasterPath + "\" \"" + prefs.StoragePath + number +
         "\\" + number + kMachineExtension + "\" " + prefs.CloneTypy + " " + kFromSnapshot + " " + kCloneNameOption +
         QuoteIfSpaced(prefs.NamePrefix + number);
}

}  // namespace

bool CloneVms(int count) {
  const VmwarePrefs prefs = LoadPrefs();
  const std::string deleteSnapshot = SnapshotLine(prefs, kDeleteSnapshot);
  RunAndWait(deleteSnapshot);  // a snapshot left by an earlier run; fails harmlessly when there is none
  RunAndWait(SnapshotLine(prefs, kTakeSnapshot));
  for (int i = 0; i < count; ++i) {
    RunAndWait(CloneLine(prefs, i));
    DispatchWaitingMessages();
  }
  RunAndWait(deleteSnapshot);
  return true;
}

}  // namespace VmwareBackend
