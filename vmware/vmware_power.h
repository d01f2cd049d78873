#pragma once
// Power operations on the clones through vmrun.exe.
//
// type 0: every clone, 0 .. CloneNumber-1 of the settings, one after the
// other, each followed by a wait of StartIntervalTime seconds in which window
// messages are still handled; type 1: clone vmxId alone, no wait; any other
// type: nothing, false. mode (reset, stop): 0 soft, 1 hard, anything else:
// nothing, false. Otherwise true once the tool lines have run; the tool's own
// results are not examined.

namespace VmwareBackend {

// All clones are started twice in a row ("gui"), a single clone once, without a word for the window.
bool StartVms(int type, int vmxId);

// A single clone suspended is recorded as "paused" in the clone list at once.
bool SuspendVms(int type, int vmxId);

bool UnpauseVms(int type, int vmxId);
bool ResetVms(int type, int vmxId, int mode);
bool StopVms(int type, int vmxId, int mode);

}  // namespace VmwareBackend
