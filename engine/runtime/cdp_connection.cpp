#include "engine/runtime/cdp_connection.h"

#include <windows.h>
#include <cstdio>
#include <cstdlib>

CdpConnection::CdpConnection(std::unique_ptr<WebSocketClient> socket) : socket_(std::move(socket)) {}

int64_t CdpConnection::SendCommand(const std::string& method, Json params, const std::string& sessionId) {
  const int64_t id = nextId_++;
  Json message = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!sessionId.empty()) message["sessionId"] = sessionId;
  const std::string text = message.dump(-1, ' ', false, Json::error_handler_t::replace);
  if (getenv("TARNWICK_CDP_LOG")) fprintf(stderr, ">> %.300s\n", text.c_str());
  socket_->SendText(text);
  return id;
}

void CdpConnection::Send(const std::string& method, Json params, const std::string& sessionId,
                         AnswerHandler handler) {
  const int64_t id = SendCommand(method, std::move(params), sessionId);
  // Answers without a handler are dropped when they arrive.
  waiting_.emplace(id, std::move(handler));
}

bool CdpConnection::Receive(int timeoutMs) {
  received_.clear();
  const bool open = timeoutMs > 0 ? socket_->WaitForMessages(received_, timeoutMs) : socket_->ReadAvailable(received_);
  for (const std::string& text : received_) {
    if (getenv("TARNWICK_CDP_LOG")) fprintf(stderr, "<< %.300s\n", text.c_str());
    Json message = Json::parse(text, nullptr, false);
    if (!message.is_discarded() && message.is_object()) inbox_.push_back(std::move(message));
  }
  return open;
}

std::optional<CdpConnection::Json> CdpConnection::Call(const std::string& method, Json params,
                                                       const std::string& sessionId, int timeoutMs) {
  if (!socket_->IsOpen()) return std::nullopt;
  const int64_t id = SendCommand(method, std::move(params), sessionId);
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  size_t scanned = 0;
  for (;;) {
    for (; scanned < inbox_.size(); ++scanned) {
      Json& message = inbox_[scanned];
      const auto found = message.find("id");
      if (found == message.end() || !found->is_number_integer() || found->get<int64_t>() != id) continue;
      std::optional<Json> result;
      if (!message.contains("error")) result = message.contains("result") ? std::move(message["result"]) : Json::object();
      inbox_.erase(inbox_.begin() + static_cast<std::ptrdiff_t>(scanned));
      return result;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return std::nullopt;
    if (!Receive(static_cast<int>(deadline - now)) && inbox_.size() == scanned) return std::nullopt;
  }
}

bool CdpConnection::DispatchPending() {
  const bool open = Receive(0);
  // Handlers may send and call; what they receive is kept for the next round.
  size_t count = inbox_.size();
  while (count-- > 0 && !inbox_.empty()) {
    Json message = std::move(inbox_.front());
    inbox_.pop_front();
    const auto id = message.find("id");
    if (id != message.end() && id->is_number_integer()) {
      const auto handler = waiting_.find(id->get<int64_t>());
      if (handler == waiting_.end()) continue;
      AnswerHandler run = std::move(handler->second);
      waiting_.erase(handler);
      if (!run) continue;
      const auto error = message.find("error");
      static const Json kEmpty = Json::object();
      const auto result = message.find("result");
      run(result != message.end() ? *result : kEmpty, error != message.end() ? &*error : nullptr);
      continue;
    }
    const auto method = message.find("method");
    if (method == message.end() || !method->is_string() || !eventHandler_) continue;
    const auto session = message.find("sessionId");
    static const Json kNoParams = Json::object();
    const auto params = message.find("params");
    eventHandler_(method->get<std::string>(), params != message.end() ? *params : kNoParams,
                  session != message.end() && session->is_string() ? session->get<std::string>() : std::string());
  }
  return open && socket_->IsOpen();
}
