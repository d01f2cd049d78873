#include "commands/vbox_commands.h"

#include "commands/installed_tool.h"
#include "commands/result_texts.h"
#include "support/text_encoding.h"
#include "support/vboxmanage_words.h"
#include "vbox/vbox_prefs.h"

namespace VboxCommands {

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

}  // namespace VboxCommands
