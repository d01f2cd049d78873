#include "tools/standins/vboxmanage/vbox_support.h"

#include "tools/standins/common/uuid.h"

namespace standins {

CommandResult VboxFailure(const std::string& message, int exitCode) {
  return CommandResult{exitCode, "", "VBoxManage.exe: error: " + message + "\r\n"};
}

CommandResult MachineNotFound(const std::string& uuidOrName) {
  const std::string uuid = CanonicalUuid(uuidOrName);
  if (!uuid.empty()) return VboxFailure("Could not find a registered machine with UUID {" + uuid + "}");
  return VboxFailure("Could not find a registered machine named '" + uuidOrName + "'");
}

}  // namespace standins
