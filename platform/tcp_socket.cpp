// What a socket object does the same way on every system: ownership of the
// handle. The system calls live in posix/ and win32/.
#include "platform/tcp_socket.h"

#include <utility>

namespace platform {

namespace {
constexpr intptr_t kInvalid = -1;
}  // namespace

TcpSocket::TcpSocket() : handle_(kInvalid) {}

TcpSocket::~TcpSocket() { Close(); }

TcpSocket::TcpSocket(TcpSocket&& other) noexcept
    : handle_(std::exchange(other.handle_, kInvalid)), lastError_(other.lastError_), timedOut_(other.timedOut_) {}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kInvalid);
    lastError_ = other.lastError_;
    timedOut_ = other.timedOut_;
  }
  return *this;
}

}  // namespace platform
