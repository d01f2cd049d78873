#include "tools/standins/common/standin_runner.h"

#include <optional>

#include "tools/standins/common/command_line.h"
#include "tools/standins/common/console_output.h"
#include "tools/standins/common/cross_process_lock.h"
#include "tools/standins/common/environment.h"
#include "tools/standins/common/fault_mode.h"
#include "tools/standins/common/files.h"
#include "tools/standins/common/minimum_run_time.h"
#include "tools/standins/common/run_log.h"

namespace standins {

namespace {

std::string StateFolder() {
  const std::optional<std::string> configured = EnvironmentVariable(L"STANDIN_STATE");
  if (configured && !configured->empty()) return *configured;
  return ProgramFolder();
}

CommandResult Failure(const StandinIdentity& identity, const std::string& message) {
  return CommandResult{identity.failureExitCode, "", identity.errorPrefix + message + "\r\n"};
}

// The command under the state lock; the lock goes before the delay starts.
CommandResult RunLocked(const StandinIdentity& identity, const StateCommand& command) {
  const std::string folder = StateFolder();
  if (!CreateFolderTree(folder)) return Failure(identity, "Cannot create the state folder " + folder);
  const std::string statePath = JoinPath(folder, identity.stateFileName);

  CrossProcessLock lock(statePath);
  nlohmann::ordered_json state = nlohmann::ordered_json::object();
  if (const std::optional<std::string> text = ReadWholeFile(statePath)) {
    state = nlohmann::ordered_json::parse(*text, nullptr, false);
    if (state.is_discarded() || !state.is_object()) return Failure(identity, "Cannot read the state file " + statePath);
  }
  const nlohmann::ordered_json before = state;
  CommandResult result = command(ProcessArguments(), folder, state);
  if (state != before &&
      !ReplaceFileAtomically(statePath,
                             state.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n")) {
    return Failure(identity, "Cannot write the state file " + statePath);
  }
  return result;
}

}  // namespace

int RunStandin(const StandinIdentity& identity, const StateCommand& command) {
  MinimumRunTime minimumRunTime;
  AppendCommandLineToLog();
  // A fault asked for by STANDIN_FAULT takes the command's place.
  if (const std::optional<int> faultExitCode = ActOutFault(identity)) return *faultExitCode;
  const CommandResult result = RunLocked(identity, command);
  WriteToStdout(result.out);
  WriteToStderr(result.err);
  return result.exitCode;
}

}  // namespace standins
