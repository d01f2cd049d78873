#pragma once
// Everything Tarnwick says to VirtualBox's VBoxManage.exe, and the keys it
// reads in the tool's output. The spacing between words belongs to the lines
// that put them together.

namespace VBoxManageWords {

inline constexpr char kToolFileName[] = "VBoxManage.exe";

// Snapshots of the master, one per clone, named by the clone's number.
inline constexpr char kSnapshot[] = "snapshot";
inline constexpr char kTake[] = "take";
inline constexpr char kDelete[] = "delete";
inline constexpr char kLiveSnapshotOptions[] = "--description= --live --uniquename Space,Force";

// Cloning the master from a snapshot.
inline constexpr char kCloneVm[] = "clonevm";
inline constexpr char kBaseFolderOption[] = "--basefolder=";
inline constexpr char kNameOption[] = "--name=";
inline constexpr char kOptionsOption[] = "--options=";
inline constexpr char kKeepHardwareUuids[] = "--options=KeepHwUUIDs";
inline constexpr char kRegister[] = "--register";
inline constexpr char kMachineMode[] = "--mode=machine";
inline constexpr char kSnapshotOption[] = "--snapshot=";

// Power and removal of one machine.
inline constexpr char kStartVm[] = "startvm";
inline constexpr char kHeadless[] = "--type headless";
inline constexpr char kControlVm[] = "controlvm";
inline constexpr char kPowerOff[] = "poweroff";
inline constexpr char kPause[] = "pause";
inline constexpr char kResume[] = "resume";
inline constexpr char kReset[] = "reset";
inline constexpr char kUnregisterVm[] = "unregistervm";
inline constexpr char kDeleteFiles[] = "--delete";

// Queries, run with their output captured.
inline constexpr char kShowVmInfo[] = "showvminfo";
inline constexpr char kListVms[] = "list vms";

// Keys of the showvminfo lines that are read.
inline constexpr char kUuidKey[] = "UUID";
inline constexpr char kConfigFileKey[] = "Config file";
inline constexpr char kStateKey[] = "State";

}  // namespace VBoxManageWords
