#include "tests/fuzz/reply_check.h"

#include <climits>
#include <initializer_list>

#include <nlohmann/json.hpp>

#include "commands/command_table.h"
#include "commands/dispatcher.h"
#include "commands/lenient_value.h"
#include "commands/request_reader.h"
#include "commands/result_texts.h"
#include "support/json_document.h"

namespace {

using JsonValue = nlohmann::ordered_json;

bool IsCommand(const std::string& func) {
  for (const CommandRow& row : CommandTable()) {
    if (func == row.name) return true;
  }
  return false;
}

bool IsOneOf(const std::string& text, std::initializer_list<const char*> texts) {
  for (const char* candidate : texts) {
    if (text == candidate) return true;
  }
  return false;
}

// The result texts and their codes: the success texts go with 200, every
// other text (and none) with -1.
bool IsSuccessText(const std::string& msg) {
  return IsOneOf(msg, {ResultText::kOk, ResultText::kCloneOk, ResultText::kVersion});
}
bool IsFailureText(const std::string& msg) {
  return IsOneOf(msg, {"", ResultText::kCloneFailed, ResultText::kExecFailed, ResultText::kNoConfig,
                       ResultText::kNoVboxPrefs, ResultText::kNoVboxList, ResultText::kSaveFailed});
}

std::string TextProblem(const std::string& text) {
  if (text.empty() || text.back() != '\n') return "the reply text does not end in a line feed";
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return "the reply text is not plain ASCII";
  }
  // What the browser gets: one UTF-16 unit per character.
  if (ReplyTextToUtf16(text).size() != text.size()) return "the reply text does not convert to UTF-16 whole";
  return "";
}

std::string MembersProblem(const JsonValue& reply) {
  if (!reply.is_object()) return "the reply is not an object";
  const char* const kNames[] = {"code", "data", "func", "msg", "tag"};
  if (reply.size() != std::size(kNames)) return "the reply has " + std::to_string(reply.size()) + " members";
  size_t i = 0;
  for (const auto& [name, value] : reply.items()) {
    if (name != kNames[i++]) return "member \"" + name + "\" where \"" + kNames[i - 1] + "\" belongs";
  }
  if (!reply["code"].is_number_integer()) return "code is not an integer";
  if (!reply["data"].is_null() && !reply["data"].is_object()) return "data is neither null nor an object";
  if (!reply["func"].is_string()) return "func is not a string";
  if (!reply["msg"].is_string()) return "msg is not a string";
  if (!reply["tag"].is_number_integer()) return "tag is not an integer";
  return "";
}

std::string ContentProblem(const JsonValue& reply, const std::string& func, int tag) {
  const int64_t code = reply["code"].get<int64_t>();
  const std::string msg = reply["msg"].get<std::string>();
  if (code != 200 && code != -1) return "code " + std::to_string(code);
  if (!IsSuccessText(msg) && !IsFailureText(msg)) return "msg \"" + msg + "\" is no result text";
  if ((code == 200) != IsSuccessText(msg)) return "code " + std::to_string(code) + " with msg \"" + msg + "\"";
  if (reply["tag"].get<int64_t>() != tag) return "tag " + reply["tag"].dump() + " for " + std::to_string(tag);
  // A func that is not UTF-8 comes back with U+FFFD in place of its bad bytes.
  if (Json::IsValidUtf8(func) && reply["func"].get<std::string>() != func) return "func comes back changed";
  if (!IsCommand(func) && (code != -1 || !msg.empty() || !reply["data"].is_null())) {
    return "an unknown command got an answer";
  }
  if (func == "openUrl" && (code != -1 || !msg.empty())) return "openUrl answered other than -1 and no text";
  return "";
}

}  // namespace

RequestRead ReadLikeTheDispatcher(const std::string* requestText) {
  std::optional<JsonValue> request;
  if (requestText) request = ParseRequestText(*requestText);
  const LenientValue root(request ? &*request : nullptr);
  return {root["func"].AsString(), root["tag"].AsInt()};
}

std::string ReplyProblem(int callbackId, const RequestRead& request, const std::optional<std::string>& reply) {
  if (callbackId == 0) return reply ? "a reply although the callback id is 0" : "";
  if (!reply) return "no reply";
  if (std::string problem = TextProblem(*reply); !problem.empty()) return problem;
  const JsonValue parsed = JsonValue::parse(*reply, nullptr, false);
  if (parsed.is_discarded()) return "the reply is not JSON";
  if (std::string problem = MembersProblem(parsed); !problem.empty()) return problem;
  return ContentProblem(parsed, request.func, request.tag);
}
