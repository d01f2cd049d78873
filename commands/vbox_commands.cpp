#include "commands/vbox_commands.h"

#include "commands/installed_tool.h"
#include "commands/result_texts.h"
#include "support/text_encoding.h"
#include "support/vboxmanage_words.h"
#include "vbox/vbox_clone.h"
#include "vbox/vbox_power.h"
#include "vbox/vbox_prefs.h"
#include "vbox/vbox_selection.h"
#include "vbox/vbox_status.h"

namespace VboxCommands {

namespace {

using PowerOperation = int (*)(int type, int id);

// The result goes back under the command's own name; only -1 is a failure.
void RunPowerOperation(PowerOperation operation, const char* func, const LenientValue& data, ScriptReply& reply) {
  const int result = operation(data["type"].AsInt(), data["id"].AsInt());
  reply.data[func] = result;
  reply.Answer(result != -1, ResultText::kOk, ResultText::kNoVboxList);
}

}  // namespace

void SaveSettings(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  // An installed VirtualBox names its own VBoxManage.exe; the page's path is
  // only used when the registry has none.
  std::string toolCommand;
  if (!InstalledToolCommand(kVirtualBoxInstallLocation, VBoxManageWords::kToolFileName, toolCommand))
    toolCommand = data["InstallationPath"].AsString();
  const bool saved = VboxBackend::SavePrefs(toolCommand, data["MasterName"].AsString(), data["StoragePath"].AsString(),
                                            data["CloneTypy"].AsString(), data["CloneNumber"].AsInt(),
                                            data["NamePrefix"].AsString(), data["StartIntervalTime"].AsInt());
  reply.data["state"] = saved;
  reply.Answer(saved, ResultText::kOk, ResultText::kNoConfig);
}

void LoadSettingsText(const LenientValue&, ScriptReply& reply, CommandEnvironment&) {
  const std::string text = VboxBackend::LoadPrefsText();
  reply.data["RsultBoxPrefs"] = AnsiToUtf8(text);
  reply.Answer(text != "-1", ResultText::kOk, ResultText::kNoVboxPrefs);
}

void RefreshStates(const LenientValue&, ScriptReply& reply, CommandEnvironment&) {
  const std::string text = VboxBackend::RefreshStates();  // already UTF-8
  reply.data["Rsultvboxlist"] = text;
  reply.Answer(text != "-1", ResultText::kOk, ResultText::kNoVboxList);
}

void ListSelectable(const LenientValue&, ScriptReply& reply, CommandEnvironment&) {
  const std::string text = VboxBackend::ListSelectableVms();
  reply.data["RsultseLectlist"] = AnsiToUtf8(text);
  reply.Answer(text != "-1", ResultText::kOk, ResultText::kCloneFailed);
}

void CloneMaster(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  const int result = VboxBackend::CloneFromMaster(data["number"].AsInt());
  reply.data["RsultseLectlist"] = result;
  reply.Answer(result != -1, ResultText::kCloneOk, ResultText::kCloneFailed);
}

void Start(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  RunPowerOperation(VboxBackend::StartVms, "startVBox", data, reply);
}

void PowerOff(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  RunPowerOperation(VboxBackend::PowerOffVms, "offVBox", data, reply);
}

void Reset(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  RunPowerOperation(VboxBackend::ResetVms, "restVBox", data, reply);
}

void Delete(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  RunPowerOperation(VboxBackend::DeleteVms, "delVBox", data, reply);
}

void Pause(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  RunPowerOperation(VboxBackend::PauseVms, "unpauseVBox", data, reply);
}

void Resume(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  RunPowerOperation(VboxBackend::ResumeVms, "repauseVBox", data, reply);
}

}  // namespace VboxCommands
