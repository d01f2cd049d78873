#include "tests/safety/cli_sandbox.h"

#include <windows.h>

#include "support/registry.h"

namespace safety {

CliSandbox::CliSandbox() {
  CreateDirectoryA(RootFile("outer").c_str(), nullptr);
  CreateDirectoryA(ProgramFolder().c_str(), nullptr);
  CreateDirectoryA(StandinFolder().c_str(), nullptr);
  const std::string source = testing_support::ProductBinFolder() + "tarnwick-cli.exe";
  CopyFileA(source.c_str(), ProgramFile("tarnwick-cli.exe").c_str(), FALSE);
}

std::vector<std::string> CliSandbox::StandinEnvironment() const {
  return {"STANDIN_LOG=" + StandinLog(), "STANDIN_STATE=" + StandinFolder()};
}

CliReply CliSandbox::Send(const std::string& func, const nlohmann::ordered_json& data,
                          const std::vector<std::string>& extra) const {
  nlohmann::ordered_json request = {{"func", func}, {"tag", 1}};
  if (!data.is_null()) request["data"] = data;
  std::vector<std::string> environment = StandinEnvironment();
  environment.insert(environment.end(), extra.begin(), extra.end());
  CliReply reply;
  reply.run = RunWatched("\"" + ProgramFile("tarnwick-cli.exe") + "\"", request.dump(), environment);
  reply.text = reply.run.out;
  reply.parsed = nlohmann::ordered_json::parse(reply.text, nullptr, false);
  return reply;
}

WatchedRun CliSandbox::VBoxManage(const std::string& arguments) const {
  return RunWatched(StandinTool("VBoxManage.exe") + " " + arguments, "", StandinEnvironment());
}

std::string StandinTool(const std::string& fileName) {
  return "\"" + testing_support::ProductBinFolder() + "standins\\" + fileName + "\"";
}

std::string ReplyFormProblem(const std::string& text) {
  if (text.empty() || text.back() != '\n') return "the reply does not end in a line feed";
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return "the reply is not plain ASCII";
  }
  const auto reply = nlohmann::ordered_json::parse(text, nullptr, false);
  if (reply.is_discarded() || !reply.is_object()) return "the reply is no JSON object";
  static const char* const kMembers[] = {"code", "data", "func", "msg", "tag"};
  if (reply.size() != std::size(kMembers)) return "the reply does not have exactly five members";
  size_t index = 0;
  for (const auto& [name, value] : reply.items()) {
    if (name != kMembers[index++]) return "the reply's members are not code, data, func, msg, tag in order";
  }
  if (reply["code"] != 200 && reply["code"] != -1) return "code is neither 200 nor -1";
  if (!reply["data"].is_null() && !reply["data"].is_object()) return "data is neither an object nor null";
  if (!reply["func"].is_string() || !reply["msg"].is_string()) return "func or msg is not a string";
  if (!reply["tag"].is_number_integer()) return "tag is not an integer";
  return std::string();
}

std::string RunProblem(const CliReply& reply) {
  const std::string diagnostics = "\ndiagnostics: " + reply.run.err.substr(0, 2000);
  if (!reply.run.started) return "tarnwick-cli.exe did not start, error " + std::to_string(reply.run.startError);
  if (reply.run.hung) return "the command hung and was ended" + diagnostics;
  if (reply.run.exitCode != 0)
    return "tarnwick-cli.exe ended with code " + std::to_string(reply.run.exitCode) + diagnostics;
  const std::string form = ReplyFormProblem(reply.text);
  return form.empty() ? form : form + "\nreply: " + reply.text + diagnostics;
}

nlohmann::ordered_json ExpectedReply(int code, const nlohmann::ordered_json& data, const std::string& func,
                                     const std::string& msg) {
  return {{"code", code}, {"data", data}, {"func", func}, {"msg", msg}, {"tag", 1}};
}

void ForgetInstalledHypervisors() {
  for (const RegistryLocation& location : {kVmwareInstallLocation, kVirtualBoxInstallLocation})
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, location.subKey, location.valueName);
}

}  // namespace safety
