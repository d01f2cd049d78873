#pragma once
// Everything Tarnwick says to VMware Workstation's vmrun.exe, and the names it
// relies on in Workstation's files.

namespace VmrunWords {

// Cloning: a snapshot of the master under a fixed name, clones made from it.
inline constexpr char kSnapshotName[] = "888";
inline constexpr char kTakeSnapshot[] = "-T ws snapshot";
inline constexpr char kDeleteSnapshot[] = "-T ws deleteSnapshot";
inline constexpr char kClone[] = "-T ws clone";
inline constexpr char kFromSnapshot[] = "-snapshot=888";
inline constexpr char kCloneNameOption[] = "-cloneName=";
inline constexpr char kMachineExtension[] = ".vmx";

}  // namespace VmrunWords
