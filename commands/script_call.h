#pragma once
// What a command handler gets and gives.

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "commands/lenient_value.h"

class ShellChoosers;
class WindowControl;

// What the dispatcher needs from the program around it.
struct CommandEnvironment {
  int64_t launchTime = 0;             // seconds since 1970-01-01 UTC, taken at start-up
  WindowControl* window = nullptr;    // none in tarnwick-cli
  ShellChoosers* choosers = nullptr;  // none: the system's dialogs
};

// The reply a handler fills in: code -1, empty msg and null data until it says otherwise.
struct ScriptReply {
  int code = -1;
  std::string msg;
  nlohmann::ordered_json data;  // null, or an object of result members

  void Succeed(const char* text) {
    code = 200;
    msg = text;
  }
  void Fail(const char* text) {
    code = -1;
    msg = text;
  }
  void Answer(bool ok, const char* okText, const char* failText) { ok ? Succeed(okText) : Fail(failText); }
};

using CommandHandler = void (*)(const LenientValue& data, ScriptReply& reply, CommandEnvironment& environment);
