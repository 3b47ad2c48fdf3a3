// BSD-socket side of the listening socket.
#include "platform/tcp_listener.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace platform {

namespace {
constexpr intptr_t kInvalid = -1;
}

TcpListener::TcpListener() : handle_(kInvalid) {}

TcpListener::~TcpListener() { Close(); }

bool TcpListener::Listen(const char* ipv4Address, uint16_t port) {
  Close();
  uint32_t address = ParseIPv4(ipv4Address);
  if (address == 0xFFFFFFFFu) return false;
  started_ = NetStartup();
  // Non-blocking, so that a client that gives up between the readiness wait
  // and accept() cannot leave Accept hanging past its time-out.
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_TCP);
  if (fd < 0) {
    Close();
    return false;
  }
  handle_ = fd;
  // A restarted virtual printer must get its fixed port back at once, even
  // while the previous run's connections linger in TIME_WAIT.
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  local.sin_addr.s_addr = address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 || ::listen(fd, 8) != 0) {
    Close();
    return false;
  }
  sockaddr_in bound{};
  socklen_t len = sizeof bound;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &len) != 0) {
    Close();
    return false;
  }
  port_ = ntohs(bound.sin_port);
  return true;
}

bool TcpListener::SetReceiveBufferSize(int bytes) {
  if (handle_ == kInvalid) return false;
  return ::setsockopt(static_cast<int>(handle_), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) == 0;
}

bool TcpListener::Accept(TcpSocket* connection, int timeoutMs) {
  if (handle_ == kInvalid || connection == nullptr) return false;
  int fd = static_cast<int>(handle_);
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    int wait = -1;
    if (timeoutMs >= 0) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
      wait = left > 0 ? static_cast<int>(left) : 0;
    }
    pollfd p{};
    p.fd = fd;
    p.events = POLLIN;
    int r = ::poll(&p, 1, wait);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    int accepted = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (accepted >= 0) {
      *connection = TcpSocket::Adopt(accepted);
      return true;
    }
    // A client that gave up between poll and accept is no reason to stop
    // waiting for the next one.
    if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK || errno == ECONNABORTED) {
      if (wait == 0) return false;
      continue;
    }
    return false;
  }
}

void TcpListener::Close() {
  if (handle_ != kInvalid) {
    ::close(static_cast<int>(handle_));
    handle_ = kInvalid;
  }
  port_ = 0;
  if (started_) {
    NetCleanup();
    started_ = false;
  }
}

}  // namespace platform
