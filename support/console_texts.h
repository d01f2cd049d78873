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
// 没有选择目录: no folder was chosen (the tool-path choosers; the storage
// chooser ends it with a full-width exclamation mark).
inline constexpr char kNoFolderChosen[] = "\xC3\xBB\xD3\xD0\xD1\xA1\xD4\xF1\xC4\xBF\xC2\xBC";
inline constexpr char kNoStorageFolderChosen[] = "\xC3\xBB\xD3\xD0\xD1\xA1\xD4\xF1\xC4\xBF\xC2\xBC\xA3\xA1";

}  // namespace ConsoleText
