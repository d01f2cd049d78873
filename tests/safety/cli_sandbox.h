#pragma once
// A program folder of its own for tarnwick-cli.exe, nested two folders below
// a temporary root (root\outer\program\), so that "..", "..\.." and the
// folders around the program stay inside the test's own tree. The settings
// and list files the commands write land beside the copied executable.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/common/test_support.h"
#include "tests/safety/watched_process.h"

namespace safety {

struct CliReply {
  WatchedRun run;
  std::string text;               // the reply as sent (standard output)
  nlohmann::ordered_json parsed;  // discarded when the text is no JSON
};

class CliSandbox {
 public:
  CliSandbox();
  CliSandbox(const CliSandbox&) = delete;
  CliSandbox& operator=(const CliSandbox&) = delete;

  const std::string& Root() const { return root_.path(); }  // ends in a backslash
  std::string RootFile(const std::string& relative) const { return root_ / relative; }
  std::string ProgramFolder() const { return root_ / "outer\\program\\"; }
  std::string ProgramFile(const std::string& name) const { return ProgramFolder() + name; }

  // Stand-in state and command-line log live in root\standins\.
  std::string StandinFolder() const { return root_ / "standins\\"; }
  std::string StandinLog() const { return StandinFolder() + "commands.log"; }
  std::vector<std::string> StandinEnvironment() const;

  // One page command: {"func", "tag": 1, "data"} (data left out when null),
  // run by tarnwick-cli with the stand-ins' environment plus `extra`.
  CliReply Send(const std::string& func, const nlohmann::ordered_json& data = nullptr,
                const std::vector<std::string>& extra = {}) const;

  // The stand-in VBoxManage.exe run directly (without a fault), for setting
  // up machines.
  WatchedRun VBoxManage(const std::string& arguments) const;

 private:
  testing_support::TempFolder root_;
};

// A stand-in tool as the settings store it: its full path in double quotes.
std::string StandinTool(const std::string& fileName);

// Empty when `text` is a reply as the page takes it: plain ASCII ending in a
// line feed, a JSON object with exactly code (200 or -1), data (object or
// null), func (string), msg (string) and tag (integer), in this order.
// Otherwise what is wrong with it.
std::string ReplyFormProblem(const std::string& text);

// Empty when the run ended by itself with exit code 0 and answered with a
// well-formed reply; otherwise what went wrong, with the diagnostics.
std::string RunProblem(const CliReply& reply);

// The reply a command gives: {code, data, func, msg, tag 1}.
nlohmann::ordered_json ExpectedReply(int code, const nlohmann::ordered_json& data, const std::string& func,
                                     const std::string& msg);

// The page's result texts.
inline constexpr char kSuccessText[] = "success";
inline constexpr char kCloneOkText[] = "ok";
inline constexpr char kCloneFailedText[] = "No VBox virtual machine registered!";
inline constexpr char kExecFailedText[] = "failed:Execution failed, please check the environment!";
inline constexpr char kNoConfigText[] =
    "There is no configuration file, or the corresponding file and directory do not exist!";
inline constexpr char kNoVboxListText[] = "no file with vboxBootlist.json!";

// Makes sure the registry names no installed hypervisor, so the settings keep
// the tool path the request gives.
void ForgetInstalledHypervisors();

}  // namespace safety
