#include "tests/cli/vmware_clones_fixture.h"

#include <windows.h>

#include "support/text_encoding.h"

namespace {

// Characters beyond ASCII the ANSI code page holds (Chinese under 936,
// Latin-1 under 1252), in UTF-8.
std::string LocalWordUtf8() {
  if (GetACP() == 936) return "\xE5\x85\x8B\xE9\x9A\x86";  // 克隆
  return "clon\xC3\xA9s";                                 // clonés
}

}  // namespace

void VmwareClonesTest::SetUp() {
  CliTest::SetUp();
  UseStandins();
  CreateDirectoryA(ProgramFile("master").c_str(), nullptr);
  testing_support::WriteFileBytes(master_, "config.version = \"8\"\n");
  storageUtf8_ = AnsiToUtf8(folder_.path()) + LocalWordUtf8() + " dir\\";
  storage_ = Utf8ToAnsi(storageUtf8_);
}

void VmwareClonesTest::SaveSettings(int count, int intervalSeconds, const std::string& prefix) {
  const nlohmann::ordered_json data = {
      {"InstallationPath", tool_}, {"MasterPath", AnsiToUtf8(master_)}, {"StoragePath", storageUtf8_},
      {"CloneType", "linked"},     {"CloneNumber", count},              {"NamePrefix", prefix},
      {"StartIntervalTime", intervalSeconds}};
  ASSERT_EQ(Send("Vm_Clone_Settings", data)["code"], 200);
}

void VmwareClonesTest::Clone(int count) { ASSERT_EQ(Send("Vm_Start_Cloning", {{"number", count}})["code"], 200); }

nlohmann::ordered_json VmwareClonesTest::Send(const std::string& func, const nlohmann::ordered_json& data) const {
  nlohmann::ordered_json request = {{"func", func}, {"tag", 1}};
  if (!data.is_null()) request["data"] = data;
  return Reply(request.dump());
}

nlohmann::ordered_json VmwareClonesTest::RefreshedList() const {
  const auto reply = Send("getlists");
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], kSuccessText);
  const std::string text = reply["data"].value("reslist", "");
  return nlohmann::ordered_json::parse(text, nullptr, false);
}

nlohmann::ordered_json VmwareClonesTest::ListFile() const {
  const std::string text = testing_support::ReadFileBytes(ProgramFile("bootlist.json"));
  if (text.empty()) return nullptr;
  return nlohmann::ordered_json::parse(text, nullptr, false);
}

std::string VmwareClonesTest::ClonePath(int i) const {
  const std::string n = std::to_string(i);
  return storage_ + n + "\\" + n + ".vmx";
}

std::string VmwareClonesTest::ClonePathUtf8(int i) const { return AnsiToUtf8(ClonePath(i)); }

std::string VmwareClonesTest::PowerLine(const std::string& verb, int i, const std::string& lastWord) const {
  std::string line = tool_ + " -T ws " + verb + " \"" + ClonePath(i) + "\"";
  if (!lastWord.empty()) line += " " + lastWord;
  return line + "\n";
}
