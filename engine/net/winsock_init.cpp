#include "engine/net/winsock_init.h"

#include <winsock2.h>

WinsockSession::WinsockSession() {
  WSADATA data;
  started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockSession::~WinsockSession() {
  if (started_) WSACleanup();
}

WinsockSession& WinsockSession::operator=(WinsockSession&& other) noexcept {
  if (this != &other) {
    if (started_) WSACleanup();
    started_ = other.started_;
    other.started_ = false;
  }
  return *this;
}
