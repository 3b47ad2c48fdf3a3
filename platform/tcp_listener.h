#pragma once
// Listening IPv4 TCP socket, used by the virtual printer.
#include <cstdint>

#include "platform/tcp_socket.h"

namespace platform {

class TcpListener {
 public:
  TcpListener();
  ~TcpListener();
  TcpListener(const TcpListener&) = delete;
  TcpListener& operator=(const TcpListener&) = delete;

  // Port 0 picks a free port; Port() tells which.
  bool Listen(const char* ipv4Address, uint16_t port);
  uint16_t Port() const { return port_; }
  // Receive buffer size of the connections accepted from now on (they inherit
  // it from the listening socket, before the first window is offered).
  bool SetReceiveBufferSize(int bytes);
  // Waits up to timeoutMs for one connection; false on time-out or error.
  bool Accept(TcpSocket* connection, int timeoutMs);
  void Close();

 private:
  intptr_t handle_;
  uint16_t port_ = 0;
  bool started_ = false;
};

}  // namespace platform
