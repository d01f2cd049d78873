#include "engine/launch/lifeline.h"

#include "engine/launch/loopback_socket.h"

bool Lifeline::Open() {
  Close();
  // One pending connection: the wrapper's.
  listener_ = ListenOnLoopback(1, &port_);
  return IsOpen();
}

void Lifeline::Close() {
  listener_.Close();
  port_ = 0;
}
