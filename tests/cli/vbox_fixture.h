#pragma once
// tarnwick-cli.exe against the stand-in VBoxManage.exe: settings, requests,
// and the stand-in itself for setting up machines and looking at them.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/cli/cli_fixture.h"

class VboxCliTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    UseStandins();
    toolEnvironment_ = {"STANDIN_STATE=" + ProgramFile("standin-state")};
  }

  // The stand-in run by the test: its lines stay out of StandinLog().
  testing_support::ChildResult VBox(const std::string& arguments) const {
    return testing_support::RunChild(tool_ + " " + arguments, "", toolEnvironment_);
  }

  // Registers a machine; `ansiName` is put in double quotes.
  void Register(const std::string& ansiName) const {
    ASSERT_EQ(VBox("createvm --name \"" + ansiName + "\" --register").exitCode, 0u) << ansiName;
  }

  // Settings as the page saves them (UTF-8), the stand-in as the tool.
  void SaveSettings(const std::string& prefix, const std::string& master = "master") const {
    SaveSettingsWithTool(tool_, prefix, master);
  }
  void SaveSettingsWithTool(const std::string& tool, const std::string& prefix, const std::string& master) const {
    nlohmann::ordered_json data = {{"InstallationPath", tool}, {"MasterName", master}, {"StoragePath", storage_},
                                   {"CloneTypy", "link"},      {"CloneNumber", 3},     {"NamePrefix", prefix},
                                   {"StartIntervalTime", 0}};
    ASSERT_EQ(Request("VboxPreferences", data)["code"], 200);
  }

  nlohmann::ordered_json Request(const std::string& func,
                                 const nlohmann::ordered_json& data = nlohmann::ordered_json::object()) const {
    const nlohmann::ordered_json request = {{"func", func}, {"tag", 9}, {"data", data}};
    return Reply(request.dump());
  }

  nlohmann::ordered_json Clone(int count) const { return Request("cloneVBox", {{"number", count}}); }

  // Runs a power or delete command on every clone (type 0) or one (type 1).
  nlohmann::ordered_json Power(const std::string& func, int type, int id = 0) const {
    return Request(func, {{"type", type}, {"id", id}});
  }

  // Clones made and their UUIDs read by the status list, ready for the power commands.
  void CloneAndRefresh(int count) {
    SaveSettings("vm");
    ASSERT_EQ(Clone(count)["code"], 200);
    const auto reply = Request("getStatusVBoxlist");
    ASSERT_EQ(reply["code"], 200);
    const auto list = nlohmann::ordered_json::parse(reply["data"]["Rsultvboxlist"].get<std::string>());
    uuids_.clear();
    for (const auto& record : list["data"]) uuids_.push_back(record["uuid"]);
    ASSERT_EQ(uuids_.size(), static_cast<size_t>(count));
    ForgetLog();
  }

  void ForgetLog() const { DeleteFileA(ProgramFile("standin.log").c_str()); }

  nlohmann::ordered_json CloneList() const {
    return nlohmann::ordered_json::parse(testing_support::ReadFileBytes(ProgramFile("vboxBootlist.json")), nullptr,
                                         false);
  }

  // The stand-in's word for the machine's power state ("running", "powered off"...).
  std::string StateOf(const std::string& machine) const {
    const std::string out = VBox("showvminfo " + machine).out;
    const size_t line = out.find("\r\nState:");
    if (line == std::string::npos) return "";
    const size_t start = out.find_first_not_of(' ', line + 8);
    return out.substr(start, out.find(" (since", start) - start);
  }

  const std::string tool_ = StandinTool("VBoxManage.exe");
  std::string storage_ = ProgramFile("clones\\");  // StoragePath of the settings
  std::vector<std::string> toolEnvironment_;
  std::vector<std::string> uuids_;  // of vm0, vm1, ... after CloneAndRefresh
};
