// Winsock 2 side of the listening socket.
#include "platform/tcp_listener.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

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
  if (!started_) return false;
  SOCKET s = ::WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_OVERLAPPED);
  if (s == INVALID_SOCKET) {
    Close();
    return false;
  }
  handle_ = static_cast<intptr_t>(s);
  ::SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
  // Non-blocking, so that a client that gives up between the readiness wait
  // and accept() cannot leave Accept hanging past its time-out.
  u_long nonBlocking = 1;
  ::ioctlsocket(s, FIONBIO, &nonBlocking);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  local.sin_addr.s_addr = address;
  if (::bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) == SOCKET_ERROR ||
      ::listen(s, 8) == SOCKET_ERROR) {
    Close();
    return false;
  }
  sockaddr_in bound{};
  int len = sizeof bound;
  if (::getsockname(s, reinterpret_cast<sockaddr*>(&bound), &len) == SOCKET_ERROR) {
    Close();
    return false;
  }
  port_ = ntohs(bound.sin_port);
  return true;
}

bool TcpListener::SetReceiveBufferSize(int bytes) {
  if (handle_ == kInvalid) return false;
  return ::setsockopt(static_cast<SOCKET>(handle_), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes),
                      sizeof bytes) == 0;
}

bool TcpListener::Accept(TcpSocket* connection, int timeoutMs) {
  if (handle_ == kInvalid || connection == nullptr) return false;
  SOCKET s = static_cast<SOCKET>(handle_);
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    timeval tv{};
    timeval* wait = nullptr;
    long long left = 0;
    if (timeoutMs >= 0) {
      left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count();
      if (left < 0) left = 0;
      tv.tv_sec = static_cast<long>(left / 1000);
      tv.tv_usec = static_cast<long>((left % 1000) * 1000);
      wait = &tv;
    }
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    int r = ::select(0, &readable, nullptr, nullptr, wait);
    if (r <= 0) return false;
    SOCKET accepted = ::accept(s, nullptr, nullptr);
    if (accepted != INVALID_SOCKET) {
      // Accepted sockets inherit the listener's non-blocking mode; the client
      // socket class expects a blocking one.
      u_long blocking = 0;
      ::ioctlsocket(accepted, FIONBIO, &blocking);
      ::SetHandleInformation(reinterpret_cast<HANDLE>(accepted), HANDLE_FLAG_INHERIT, 0);
      *connection = TcpSocket::Adopt(static_cast<intptr_t>(accepted));
      return true;
    }
    int error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK || error == WSAECONNRESET || error == WSAEINTR) {
      if (timeoutMs >= 0 && left == 0) return false;
      continue;
    }
    return false;
  }
}

void TcpListener::Close() {
  if (handle_ != kInvalid) {
    ::closesocket(static_cast<SOCKET>(handle_));
    handle_ = kInvalid;
  }
  port_ = 0;
  if (started_) {
    NetCleanup();
    started_ = false;
  }
}

}  // namespace platform
