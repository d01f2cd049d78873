#include "commands/vmware_commands.h"

#include "commands/installed_tool.h"
#include "commands/result_texts.h"
#include "support/registry.h"
#include "support/vmrun_words.h"
#include "vmware/vmware_clone.h"
#include "vmware/vmware_delete.h"
#include "vmware/vmware_list.h"
#include "vmware/vmware_power.h"
#include "vmware/vmware_prefs.h"

namespace VmwareCommands {

void SaveSettings(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment) {
  // An installed Workstation names its own vmrun.exe; the page's path is only
  // used when the registry has none.
  std::string toolCommand;
  if (!InstalledToolCommand(kVmwareInstallLocation, VmrunWords::kToolFileName, toolCommand))
    toolCommand = data["InstallationPath"].AsString();
  const bool saved = VmwareBackend::SavePrefs(
      toolCommand, data["MasterPath"].AsString(), data["StoragePath"].AsString(), data["BootTask"].AsString(),
      data["CloneType"].AsString(), data["CloneNumber"].AsInt(), data["NamePrefix"].AsString(),
      data["StartIntervalTime"].AsInt());
  reply.data["launch_time"] = environment.launchTime;
  reply.Answer(saved, ResultText::kOk, ResultText::kSaveFailed);
}

void CloneMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  const bool cloned = VmwareBackend::CloneVms(data["number"].AsInt());
  reply.data["state"] = cloned;
  reply.Answer(cloned, ResultText::kCloneOk, ResultText::kCloneFailed);
}

namespace {

// The power and delete commands answer alike: the operation's result as state.
void AnswerOperation(bool done, ScriptReply& reply) {
  reply.data["state"] = done;
  reply.Answer(done, ResultText::kOk, ResultText::kExecFailed);
}

}  // namespace

void StartMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  AnswerOperation(VmwareBackend::StartVms(data["type"].AsInt(), data["VmxId"].AsInt()), reply);
}

void ResetMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  AnswerOperation(
      VmwareBackend::ResetVms(data["type"].AsInt(), data["VmxId"].AsInt(), data["Restart_Type"].AsInt()), reply);
}

void SuspendMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  AnswerOperation(VmwareBackend::SuspendVms(data["type"].AsInt(), data["VmxId"].AsInt()), reply);
}

void UnpauseMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  AnswerOperation(VmwareBackend::UnpauseVms(data["type"].AsInt(), data["VmxId"].AsInt()), reply);
}

void StopMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  AnswerOperation(VmwareBackend::StopVms(data["type"].AsInt(), data["VmxId"].AsInt(), data["off_Type"].AsInt()),
                  reply);
}

void DeleteMachines(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  AnswerOperation(VmwareBackend::DeleteVms(data["type"].AsInt(), data["VmxId"].AsInt()), reply);
}

void RefreshCloneList(const LenientValue&, ScriptReply& reply, CommandEnvironment&) {
  const bool refreshed = VmwareBackend::RefreshList();
  // The list goes to the page as the text it is, not as a member tree.
  reply.data["reslist"] = refreshed ? VmwareBackend::LoadBootListText() : std::string();
  reply.Answer(refreshed, ResultText::kOk, ResultText::kNoConfig);
}

void LoadSettingsText(const LenientValue&, ScriptReply& reply, CommandEnvironment&) {
  const std::string text = VmwareBackend::LoadPrefsText();
  reply.data["resultjson"] = text;
  reply.Answer(text != "false", ResultText::kOk, ResultText::kNoConfig);
}

}  // namespace VmwareCommands
