#pragma once
// Fixed console notes that are written in Chinese. They are kept as their GBK
// (code page 936) bytes and written as such whatever the system's code page.

namespace ConsoleText {

inline constexpr char kVmwarePrefsMissing[] = "VMwarePrefs.json\xB2\xBB\xB4\xE6\xD4\xDA";  // ...不存在: does not exist
inline constexpr char kVmwarePrefsPresent[] = "VMwarePrefs.json\xB4\xE6\xD4\xDA";          // ...存在: exists

}  // namespace ConsoleText
