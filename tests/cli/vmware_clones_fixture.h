#pragma once
// Clones made with the stand-in vmrun.exe through tarnwick-cli, for the tests
// of what the page does with them: the list, power operations, deletion.
//
// The storage folder's name holds a blank and characters beyond ASCII that
// the ANSI code page can spell, so every test also checks that paths keep
// their encoding and stay one argument on the way through.

#include <string>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_fixture.h"

class VmwareClonesTest : public CliTest {
 protected:
  void SetUp() override;

  // Saves settings for `count` clones named prefix<i> with the given interval.
  void SaveSettings(int count, int intervalSeconds, const std::string& prefix = "web");
  void Clone(int count);

  // A request {"func": func, "data": data}; its reply.
  nlohmann::ordered_json Send(const std::string& func, const nlohmann::ordered_json& data = nullptr) const;

  // "getlists": its reply must succeed; the clone list it answers, parsed.
  nlohmann::ordered_json RefreshedList() const;

  // The clone list file as it is on disk, parsed (null when missing).
  nlohmann::ordered_json ListFile() const;

  // Clone i's machine file, ANSI (as on command lines) and UTF-8 (as in the list).
  std::string ClonePath(int i) const;
  std::string ClonePathUtf8(int i) const;

  // A tool line for clone i as the power operations write it, with its line feed.
  std::string PowerLine(const std::string& verb, int i, const std::string& lastWord = "") const;

  // The stand-ins' log from `offset` on (take the offset from StandinLog().size()).
  std::string LogFrom(size_t offset) const { return StandinLog().substr(offset); }

  const std::string tool_ = StandinTool("vmrun.exe");
  const std::string master_ = ProgramFile("master\\master.vmx");
  std::string storageUtf8_;  // ends in a backslash
  std::string storage_;      // the same in the ANSI code page
};

// The reply texts the page gets.
inline constexpr char kSuccessText[] = "success";
inline constexpr char kExecFailedText[] = "failed:Execution failed, please check the environment!";
inline constexpr char kNoConfigText[] =
    "There is no configuration file, or the corresponding file and directory do not exist!";
