#pragma once
// The sandbox program folder as every damaged-file run finds it: the sample
// settings and lists, the clone folders, no inventory, and the file under
// test holding the bytes given.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/fuzz/damaged_file_cases.h"
#include "tests/fuzz/request_safety.h"

class SampleFolder {
 public:
  SampleFolder(const DamagedFileCase& fileCase, const SandboxFolder& folder);

  std::string SubjectPath() const;

  // The file under test undamaged, as the program writes it (a settings file
  // under test names a tool that is not there: what it names decides nothing
  // once it is unreadable, and a readable one then runs no slow tool).
  std::string ValidSubject() const;

  // Puts every file in place. With toolsPresent the settings around the file
  // under test name the stand-ins, otherwise a tool that is not there.
  void Prepare(const std::string& subjectBytes, bool toolsPresent);

  // The file under test now, nullopt when it is gone. It is read again only
  // when its size or time of last writing is no longer what Prepare left.
  std::optional<std::string> SubjectNow() const;

 private:
  struct Copy {
    std::string path;
    std::string withTools;
    std::string withoutTools;
    std::pair<uint64_t, uint64_t> stamp{};  // size and time of last writing, when written from here
    int writtenWithTools = -1;               // -1: not written yet
  };

  std::string SampleText(const std::string& fileName, bool toolsPresent) const;
  std::string AsWritten(const std::string& json) const;
  void MakeCopies();

  const DamagedFileCase& case_;
  const SandboxFolder& folder_;
  std::vector<Copy> copies_;
  std::string subjectBytes_;
  std::pair<uint64_t, uint64_t> subjectStamp_{};
};
