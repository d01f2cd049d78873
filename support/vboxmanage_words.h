#pragma once
// Everything Tarnwick says to VirtualBox's VBoxManage.exe.

namespace VBoxManageWords {

inline constexpr char kToolFileName[] = "VBoxManage.exe";

}  // namespace VBoxManageWords
