#pragma once
// Winsock must be started (WSAStartup) before any socket call and stopped as
// often as it was started. Winsock counts the calls itself, so every owner of
// sockets simply holds one of these for as long as its sockets live.

class WinsockSession {
 public:
  WinsockSession();
  ~WinsockSession();

  WinsockSession(const WinsockSession&) = delete;
  WinsockSession& operator=(const WinsockSession&) = delete;
  WinsockSession(WinsockSession&& other) noexcept : started_(other.started_) { other.started_ = false; }
  WinsockSession& operator=(WinsockSession&& other) noexcept;

  // False when WSAStartup failed; no socket call will work then.
  bool started() const { return started_; }

 private:
  bool started_ = false;
};
