#pragma once
// Deleting clones from disk.

namespace VmwareBackend {

// type 1: stops clone vmxId hard and removes its folder (StoragePath\<vmxId>\).
// The list and the inventory are left alone; the next refresh drops the clone.
//
// type 0: stops every clone hard (with the interval waits), ends Workstation's
// window program, removes every clone folder of the storage folder (a
// subfolder whose whole name is a decimal number) and then the storage folder
// itself only if nothing else is left in it, removes the clone list, moves
// Workstation's inventory aside to inventory.vmls.bak and starts Workstation
// again, minimised. A storage path that is empty, a volume root or not a
// folder removes no folder at all.
//
// Any other type: nothing is stopped or removed, false. Otherwise true; what
// could not be removed (files in use, read-only) stays, unreported.
bool DeleteVms(int type, int vmxId);

}  // namespace VmwareBackend
