#pragma once
// Tarnwick runs several stand-ins at once (one per clone), and each reads,
// changes and writes a shared file; a named mutex makes those steps take turns.

#include <string>

#include "tools/standins/common/unique_handle.h"

namespace standins {

class CrossProcessLock {
 public:
  // Waits for the lock that guards `resource` (a file path, or any word).
  explicit CrossProcessLock(const std::string& resource);
  ~CrossProcessLock();
  CrossProcessLock(const CrossProcessLock&) = delete;
  CrossProcessLock& operator=(const CrossProcessLock&) = delete;

 private:
  UniqueHandle mutex_;
  bool held_ = false;
};

}  // namespace standins
