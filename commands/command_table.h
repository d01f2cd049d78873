#pragma once

#include <span>

#include "commands/script_call.h"

struct CommandRow {
  const char* name;  // the request's func, compared byte for byte
  CommandHandler handler;
};

// Every command the page can send, in the order names are compared.
std::span<const CommandRow> CommandTable();
