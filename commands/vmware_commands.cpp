#include "commands/vmware_commands.h"

#include "commands/installed_tool.h"
#include "commands/result_texts.h"
#include "support/registry.h"
#include "vmware/vmware_clone.h"
#include "vmware/vmware_prefs.h"

namespace VmwareCommands {

void SaveSettings(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment) {
  // An installed Workstation names its own vmrun.exe; the page's path is only
  // used when the registry has none.
  std::string toolCommand;
  if (!InstalledToolCommand(kVmwareInstallLocation, "vmrun.exe", toolCommand))
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

void LoadSettingsText(const LenientValue&, ScriptReply& reply, CommandEnvironment&) {
  const std::string text = VmwareBackend::LoadPrefsText();
  reply.data["resultjson"] = text;
  reply.Answer(text != "false", ResultText::kOk, ResultText::kNoConfig);
}

}  // namespace VmwareCommands
