#pragma once
// Fixed console notes that are written in Chinese. They are kept as their GBK
// (code page 936) bytes and written as such whatever the system's code page.

namespace ConsoleText {

inline constexpr char kVmwarePrefsMissing[] = "VMwarePrefs.json\xB2\xBB\xB4\xE6\xD4\xDA";  // ...不存在: does not exist
inline constexpr char kVmwarePrefsPresent[] = "VMwarePrefs.json\xB4\xE6\xD4\xDA";          // ...存在: exists
inline constexpr char kBootListMissing[] = "bootlist.json\xB2\xBB\xB4\xE6\xD4\xDA";  // ...不存在: does not exist
inline constexpr char kBootListPresent[] = "bootlist.json\xB4\xE6\xD4\xDA";          // ...存在: exists
inline constexpr char kReadingFileFailed[] = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC";  // 读取文件失败: reading the file failed
inline constexpr char kClonePaused[] = "\xD4\xDD\xCD\xA3\xD6\xD0";  // 暂停中: paused
// 状态由其它方法提供: the state comes from the other method (the running list)
inline constexpr char kStateFromRunningList[] =
    "\xD7\xB4\xCC\xAC\xD3\xC9\xC6\xE4\xCB\xFC\xB7\xBD\xB7\xA8\xCC\xE1\xB9\xA9";

}  // namespace ConsoleText
