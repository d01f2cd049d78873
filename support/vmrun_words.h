#pragma once
// Everything Tarnwick says to VMware Workstation's vmrun.exe, and the names it
// relies on in Workstation's files.

namespace VmrunWords {

inline constexpr char kToolFileName[] = "vmrun.exe";

// Cloning: a snapshot of the master under a fixed name, clones made from it.
inline constexpr char kSnapshotName[] = "888";
inline constexpr char kTakeSnapshot[] = "-T ws snapshot";
inline constexpr char kDeleteSnapshot[] = "-T ws deleteSnapshot";
inline constexpr char kClone[] = "-T ws clone";
inline constexpr char kFromSnapshot[] = "-snapshot=888";
inline constexpr char kCloneNameOption[] = "-cloneName=";
inline constexpr char kMachineExtension[] = ".vmx";

// Power operations: each is followed by the machine's .vmx path.
inline constexpr char kStart[] = "-T ws start";
inline constexpr char kSuspend[] = "-T ws suspend";
inline constexpr char kUnpause[] = "-T ws unpause";
inline constexpr char kReset[] = "-T ws reset";
inline constexpr char kStop[] = "-T ws stop";
inline constexpr char kInWindow[] = "gui";  // start: show the machine in Workstation's window
inline constexpr char kSoft[] = "soft";     // reset, stop: through the guest
inline constexpr char kHard[] = "hard";     // reset, stop: at once, like the power switch

// Prints the .vmx path of every running machine, one a line.
inline constexpr char kListRunning[] = "list";

// Workstation's inventory of the machines its window shows:
// kInventoryUsersFolder, the Windows user name, kInventoryInUserFolder.
inline constexpr char kInventoryUsersFolder[] = "C:\\Users\\";
inline constexpr char kInventoryInUserFolder[] = "\\AppData\\Roaming\\VMware\\inventory.vmls";
inline constexpr char kInventoryBackupExtension[] = ".bak";
// Read as white-space separated tokens (a double-quoted value being one), a
// machine's state stands this many tokens after its quoted .vmx path.
inline constexpr int kInventoryStateOffset = 24;
inline constexpr char kInventoryPaused[] = "\"paused\"";
inline constexpr char kInventoryNormal[] = "\"normal\"";
// The file's first line, `.encoding = "UTF-8"`, names the encoding of its values.
inline constexpr char kInventoryEncodingKey[] = ".encoding";
inline constexpr char kInventoryUtf8[] = "\"UTF-8\"";

// Workstation's window program, ended and started again through the command
// interpreter when every clone is deleted.
inline constexpr char kEndWorkstation[] = "taskkill /f /t /im vmware.exe";
inline constexpr char kStartWorkstationMinimised[] = "start /min vmware.exe";

}  // namespace VmrunWords
