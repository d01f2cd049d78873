#pragma once
// The frame of every stand-in run: log the command line, act out a fault when
// STANDIN_FAULT asks for one (see fault_mode.h), otherwise take the state
// file's lock, load the state, run the command, save the state when it
// changed, print the result, and last at least STANDIN_DELAY_MS.

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace standins {

// What a command has to say, in UTF-8 with CR LF line ends; printed in the
// ANSI code page.
struct CommandResult {
  int exitCode = 0;
  std::string out;
  std::string err;
};

struct StandinIdentity {
  std::string stateFileName;  // in STANDIN_STATE, or beside the program
  std::string errorPrefix;    // put before this frame's own error messages
  int failureExitCode;
};

// Runs with the folder of the state file and the state (an empty object the
// first time); changes it in place.
using StateCommand = std::function<CommandResult(const std::vector<std::string>& arguments,
                                                 const std::string& stateFolder, nlohmann::ordered_json& state)>;

// Returns the process exit code.
int RunStandin(const StandinIdentity& identity, const StateCommand& command);

}  // namespace standins
