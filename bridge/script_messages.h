#pragma once
// Names of the process messages between the page side and the browser side.

namespace ScriptMessage {

// Page to browser: [0] callback id (0: no callback), [1..] the call's arguments.
inline constexpr char kCrossCall[] = "js_api_cross_call";
// Browser to page: [0] callback id, [1] reply text.
inline constexpr char kReply[] = "cross_call";
// Browser to page: [0] script text.
inline constexpr char kEvalScript[] = "EvalJS";

}  // namespace ScriptMessage
