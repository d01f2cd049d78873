#include "commands/shell_commands.h"

#include <io.h>

#include "commands/installed_tool.h"
#include "commands/result_texts.h"
#include "commands/shell_choosers.h"
#include "support/console_texts.h"
#include "support/diagnostics.h"
#include "support/text_encoding.h"
#include "support/vmrun_words.h"
#include "support/vboxmanage_words.h"
#include "vbox/vbox_prefs.h"
#include "vmware/vmware_prefs.h"

namespace ShellCommands {

namespace {

constexpr char kVersionNumber[] = "1.0.1 Standard";

ShellChoosers& Choosers(CommandEnvironment& environment) {
  return environment.choosers ? *environment.choosers : SystemShellChoosers();
}

// A folder chooser's reply: the chosen folder made into the member's text
// (ANSI, then UTF-8), or -1 with the console note when cancelled.
template <class MakeText>
void AnswerFolder(CommandEnvironment& environment, ScriptReply& reply, const char* member, const char* cancelNote,
                  MakeText makeText) {
  std::string folder;
  if (!Choosers(environment).ChooseFolder(folder)) {
    Diagnostic("%s\n", cancelNote);
    return;  // code -1, empty msg, no data
  }
  reply.data[member] = AnsiToUtf8(makeText(folder));
  reply.Succeed(ResultText::kOk);
}

}  // namespace

void ChooseVmrunFolder(const LenientValue&, ScriptReply& reply, CommandEnvironment& environment) {
  AnswerFolder(environment, reply, "installpath", ConsoleText::kNoFolderChosen,
               [](const std::string& folder) { return "\"" + folder + "\\" + std::string(VmrunWords::kToolFileName) + "\""; });
}

void ChooseVBoxManageFolder(const LenientValue&, ScriptReply& reply, CommandEnvironment& environment) {
  AnswerFolder(environment, reply, "InstallationPath", ConsoleText::kNoFolderChosen, [](const std::string& folder) {
    return "\"" + folder + "\\" + VBoxManageWords::kToolFileName + "\"";
  });
}

void ChooseStorageFolder(const LenientValue&, ScriptReply& reply, CommandEnvironment& environment) {
  // A drive root already ends in a backslash and gets a second one, which
  // the file system takes as one.
  AnswerFolder(environment, reply, "StoragePath", ConsoleText::kNoStorageFolderChosen,
               [](const std::string& folder) { return folder + "\\"; });
}

void ChooseMasterFile(const LenientValue&, ScriptReply& reply, CommandEnvironment& environment) {
  std::string path;
  if (Choosers(environment).ChooseVmxFile(path)) Diagnostic("%s\n", path.c_str());
  reply.data["file"] = AnsiToUtf8(path);
  reply.Succeed(ResultText::kOk);
}

void OpenUrl(const LenientValue& data, ScriptReply&, CommandEnvironment& environment) {
  // The shell takes ANSI text; the reply says nothing either way.
  Choosers(environment).OpenInShell(Utf8ToAnsi(data["url"].AsString()));
}

void GetVersion(const LenientValue& data, ScriptReply& reply, CommandEnvironment&) {
  // Settings files are made here only for an installed hypervisor that has
  // none yet, from the page's defaults; an existing file is never touched.
  std::string toolCommand;
  if (_access(VboxBackend::PrefsPath().c_str(), 0) != 0 &&
      InstalledToolCommand(kVirtualBoxInstallLocation, VBoxManageWords::kToolFileName, toolCommand)) {
    VboxBackend::SavePrefs(toolCommand, data["MasterName"].AsString(), data["StoragePath"].AsString(),
                           data["CloneTypy"].AsString(), data["CloneNumber"].AsInt(), data["NamePrefix"].AsString(),
                           data["StartIntervalTime"].AsInt());
  }
  if (_access(VmwareBackend::PrefsPath().c_str(), 0) != 0 &&
      InstalledToolCommand(kVmwareInstallLocation, VmrunWords::kToolFileName, toolCommand)) {
    VmwareBackend::SavePrefs(toolCommand, data["MasterPath"].AsString(), data["StoragePath"].AsString(),
                             data["BootTask"].AsString(), data["CloneType"].AsString(), data["CloneNumber"].AsInt(),
                             data["NamePrefix"].AsString(), data["StartIntervalTime"].AsInt());
  }
  reply.data["VersionNumber"] = kVersionNumber;
  reply.Succeed(ResultText::kVersion);
}

}  // namespace ShellCommands
