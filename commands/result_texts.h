#pragma once
// The msg texts of replies, exactly as the page expects them.

namespace ResultText {

inline constexpr char kOk[] = "success";
inline constexpr char kCloneOk[] = "ok";
// Also the answer of a failed VMware clone: the page shows this one text for both.
inline constexpr char kCloneFailed[] = "No VBox virtual machine registered!";
inline constexpr char kExecFailed[] = "failed:Execution failed, please check the environment!";
inline constexpr char kNoConfig[] =
    "There is no configuration file, or the corresponding file and directory do not exist!";
inline constexpr char kNoVboxPrefs[] = "no file with VBoxPrefs.json!";
inline constexpr char kNoVboxList[] = "no file with vboxBootlist.json!";
inline constexpr char kSaveFailed[] = "failed";
inline constexpr char kVersion[] = "Get the Version";

}  // namespace ResultText
