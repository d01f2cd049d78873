#pragma once
// The DevTools protocol over one WebSocket: commands with ids and their
// answers, events, and flattened target sessions (a sessionId on each
// message). Everything runs on the UI thread.
//
// Nothing is handled from inside a call: answers and events that arrive while
// Call waits are kept and handed out, in arrival order, by DispatchPending.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "engine/net/websocket_client.h"

class CdpConnection {
 public:
  using Json = nlohmann::json;
  // The answer of a command: its result, or nullptr error when there was none.
  using AnswerHandler = std::function<void(const Json& result, const Json* error)>;
  using EventHandler = std::function<void(const std::string& method, const Json& params, const std::string& sessionId)>;

  explicit CdpConnection(std::unique_ptr<WebSocketClient> socket);

  void SetEventHandler(EventHandler handler) { eventHandler_ = std::move(handler); }

  // Sends a command; the handler, if any, runs from DispatchPending.
  void Send(const std::string& method, Json params = Json::object(), const std::string& sessionId = {},
            AnswerHandler handler = {});

  // Sends a command and waits for its answer. nullopt when the answer is an
  // error, the connection is lost, or timeoutMs passes.
  std::optional<Json> Call(const std::string& method, Json params = Json::object(),
                           const std::string& sessionId = {}, int timeoutMs = 10000);

  // Reads what has arrived without waiting and hands out every answer and
  // event held. Returns false once the connection is gone.
  bool DispatchPending();

  // True when something is held that DispatchPending would hand out.
  bool HasPending() const { return !inbox_.empty(); }

  bool IsOpen() const { return socket_->IsOpen(); }
  SOCKET socket() const { return socket_->socket(); }
  void Close() { socket_->Close(); }

 private:
  int64_t SendCommand(const std::string& method, Json params, const std::string& sessionId);
  bool Receive(int timeoutMs);  // reads into inbox_; false when the connection is gone

  std::unique_ptr<WebSocketClient> socket_;
  int64_t nextId_ = 1;
  std::map<int64_t, AnswerHandler> waiting_;  // sent with Send and not answered yet
  std::deque<Json> inbox_;                    // parsed, not handed out yet
  EventHandler eventHandler_;
  std::vector<std::string> received_;         // reused buffer of raw messages
};
