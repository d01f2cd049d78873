#pragma once
// VBoxManage's command line: <command> <words>.

#include <string>
#include <vector>

#include "tools/standins/vboxmanage/vbox_support.h"

namespace standins {

CommandResult RunVboxCommand(const std::vector<std::string>& arguments, VboxContext& context);

}  // namespace standins
