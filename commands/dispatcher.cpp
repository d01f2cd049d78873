#include "commands/dispatcher.h"

#include <cstring>
#include <vector>

#include "commands/command_table.h"
#include "commands/reply_writer.h"
#include "commands/result_texts.h"
#include "commands/request_reader.h"
#include "support/diagnostics.h"
#include "support/text_encoding.h"

namespace {

std::string ReplyText(const std::string& func, int tag, const ScriptReply& reply) {
  nlohmann::ordered_json root = nlohmann::ordered_json::object();
  root["code"] = reply.code;
  root["data"] = reply.data;
  root["func"] = func;
  root["msg"] = reply.msg;
  root["tag"] = tag;
  return WriteStyledReply(root);
}

}  // namespace

std::optional<std::string> RunScriptCall(int callbackId, const std::string* requestText,
                                         CommandEnvironment& environment) {
  std::string func;
  int tag = 0;
  ScriptReply reply;
  if (requestText) {
    Diagnostic("%s\n", requestText->c_str());
    // A text that does not parse leaves no func and so answers as an unknown command.
    const std::optional<nlohmann::ordered_json> request = ParseRequestText(*requestText);
    const LenientValue root(request ? &*request : nullptr);
    func = root["func"].AsString();
    tag = root["tag"].AsInt();
    for (const CommandRow& row : CommandTable()) {
      if (func != row.name) continue;
      try {
        row.handler(root["data"], reply, environment);
      } catch (...) {
        // Nothing a handler does may take the page's call down with it.
        reply = ScriptReply{};
        reply.Fail(ResultText::kExecFailed);
      }
      break;
    }
  }
  if (callbackId == 0) return std::nullopt;
  return ReplyText(func, tag, reply);
}

std::wstring ReplyTextToUtf16(const std::string& replyText) {
  if (replyText.empty()) return std::wstring();
  std::vector<wchar_t> units(replyText.size() + 2);
  const int length = Utf8ToUtf16Units(units.data(), static_cast<unsigned>(units.size()), replyText.c_str());
  return std::wstring(units.data(), static_cast<size_t>(length));
}
