#pragma once
// The browser's profile folder (--user-data-dir). A folder the caller names
// is used as it is; without one, a fresh folder is made under %TEMP% and
// removed again, as far as the system allows, when the object goes.

#include <string>

class UserDataFolder {
 public:
  UserDataFolder() = default;
  ~UserDataFolder() { Release(); }
  UserDataFolder(const UserDataFolder&) = delete;
  UserDataFolder& operator=(const UserDataFolder&) = delete;

  // given: UTF-8 path (made when missing), or "" for a fresh temporary
  // folder. False when the folder cannot be made.
  bool Prepare(const std::string& given);

  // Removes the temporary folder, if one was made. Call once the browser has
  // ended: files it still holds open cannot go, so it retries for a moment.
  void Release();

  // UTF-8, without a trailing backslash.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool temporary_ = false;
};
