// Winsock 2 side of the TCP client socket. Every wait is a select() with the
// time left, so no call blocks longer than its caller allowed. The socket is
// blocking between calls; Connect and Send switch it to non-blocking only
// while they run, because Winsock has no per-call "don't wait" flag for send.
#include "platform/tcp_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <chrono>
#include <climits>
#include <mutex>
#include <utility>

namespace platform {

namespace {

constexpr intptr_t kInvalid = -1;

SOCKET Sock(intptr_t handle) { return static_cast<SOCKET>(handle); }

std::mutex& StartupMutex() {
  static std::mutex m;
  return m;
}
int startupCount = 0;

class Deadline {
 public:
  explicit Deadline(int timeoutMs)
      : unlimited_(timeoutMs < 0),
        end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs)) {}
  // Fills tv with the time left; returns nullptr (wait without limit) or &tv.
  timeval* Remaining(timeval* tv) const {
    if (unlimited_) return nullptr;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now()).count();
    if (left < 0) left = 0;
    tv->tv_sec = static_cast<long>(left / 1000);
    tv->tv_usec = static_cast<long>((left % 1000) * 1000);
    return tv;
  }

 private:
  bool unlimited_;
  std::chrono::steady_clock::time_point end_;
};

enum class Ready { kTimeout, kYes, kExcept, kError };

// Waits until the socket is readable (write=false) or writable (write=true),
// or reports an exceptional condition (a failed non-blocking connect).
Ready WaitFor(SOCKET s, bool write, const Deadline& deadline) {
  fd_set main;
  fd_set except;
  FD_ZERO(&main);
  FD_ZERO(&except);
  FD_SET(s, &main);
  FD_SET(s, &except);
  timeval tv{};
  int r = ::select(0, write ? nullptr : &main, write ? &main : nullptr, &except, deadline.Remaining(&tv));
  if (r == SOCKET_ERROR) return Ready::kError;
  if (r == 0) return Ready::kTimeout;
  if (FD_ISSET(s, &except)) return Ready::kExcept;
  return Ready::kYes;
}

bool SetNonBlocking(SOCKET s, bool on) {
  u_long mode = on ? 1 : 0;
  return ::ioctlsocket(s, FIONBIO, &mode) == 0;
}

}  // namespace

bool NetStartup() {
  std::lock_guard<std::mutex> lock(StartupMutex());
  if (startupCount == 0) {
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  }
  ++startupCount;
  return true;
}

void NetCleanup() {
  std::lock_guard<std::mutex> lock(StartupMutex());
  // An unmatched clean-up must not tear down somebody else's start-up.
  if (startupCount == 0) return;
  if (--startupCount == 0) ::WSACleanup();
}

uint32_t ParseIPv4(const char* text) {
  if (text == nullptr) return 0xFFFFFFFFu;
  NetStartup();
  uint32_t address = static_cast<uint32_t>(::inet_addr(text));
  NetCleanup();
  return address;
}

bool TcpSocket::Create() {
  Close();
  timedOut_ = false;
  if (!NetStartup()) {
    lastError_ = ::WSAGetLastError();
    return false;
  }
  SOCKET s = ::WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_OVERLAPPED);
  if (s == INVALID_SOCKET) {
    lastError_ = ::WSAGetLastError();
    NetCleanup();
    return false;
  }
  ::SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
  handle_ = static_cast<intptr_t>(s);
  return true;
}

bool TcpSocket::IsValid() const { return handle_ != kInvalid; }

void TcpSocket::ApplyPrinterOptions(int readTimeoutMs, int writeTimeoutMs) {
  if (!IsValid()) return;
  SOCKET s = Sock(handle_);
  BOOL on = TRUE;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  // The per-call select() waits are what bound our calls; these only back them
  // up for anybody who uses the handle directly.
  DWORD rcv = readTimeoutMs > 0 ? static_cast<DWORD>(readTimeoutMs) : 0;
  ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&rcv), sizeof rcv);
  DWORD snd = writeTimeoutMs > 0 ? static_cast<DWORD>(writeTimeoutMs) : 0;
  ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&snd), sizeof snd);
  BOOL dontLinger = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_DONTLINGER, reinterpret_cast<const char*>(&dontLinger), sizeof dontLinger);
  int sendBuffer = 4096;
  ::setsockopt(s, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&sendBuffer), sizeof sendBuffer);
}

bool TcpSocket::BindAnyLocal() {
  if (!IsValid()) {
    lastError_ = WSAENOTSOCK;
    return false;
  }
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = 0;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  if (::bind(Sock(handle_), reinterpret_cast<sockaddr*>(&local), sizeof local) == SOCKET_ERROR) {
    lastError_ = ::WSAGetLastError();
    return false;
  }
  return true;
}

bool TcpSocket::SetReceiveBufferSize(int bytes) {
  if (!IsValid()) {
    lastError_ = WSAENOTSOCK;
    return false;
  }
  if (::setsockopt(Sock(handle_), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof bytes) ==
      SOCKET_ERROR) {
    lastError_ = ::WSAGetLastError();
    return false;
  }
  return true;
}

bool TcpSocket::Connect(uint32_t addressNetworkOrder, uint16_t port, int timeoutMs) {
  timedOut_ = false;
  if (!IsValid()) {
    lastError_ = WSAENOTSOCK;
    return false;
  }
  SOCKET s = Sock(handle_);
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(port);
  remote.sin_addr.s_addr = addressNetworkOrder;

  Deadline deadline(timeoutMs);
  if (!SetNonBlocking(s, true)) {
    lastError_ = ::WSAGetLastError();
    return false;
  }
  int error = 0;
  if (::connect(s, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == SOCKET_ERROR) {
    error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      // A refused connect shows up in the exception set, not the write set.
      switch (WaitFor(s, true, deadline)) {
        case Ready::kYes:
          error = 0;
          break;
        case Ready::kTimeout:
          error = WSAETIMEDOUT;
          timedOut_ = true;
          break;
        case Ready::kExcept: {
          int soError = 0;
          int len = sizeof soError;
          if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &len) == SOCKET_ERROR)
            soError = ::WSAGetLastError();
          error = soError != 0 ? soError : WSAECONNREFUSED;
          break;
        }
        case Ready::kError:
          error = ::WSAGetLastError();
          break;
      }
    }
  }
  SetNonBlocking(s, false);
  if (error != 0) {
    lastError_ = error;
    return false;
  }
  return true;
}

bool TcpSocket::Send(const uint8_t* data, size_t n, int timeoutMs, size_t* sent) {
  size_t done = 0;
  if (sent) *sent = 0;
  timedOut_ = false;
  if (!IsValid()) {
    lastError_ = WSAENOTSOCK;
    return false;
  }
  SOCKET s = Sock(handle_);
  Deadline deadline(timeoutMs);
  if (!SetNonBlocking(s, true)) {
    lastError_ = ::WSAGetLastError();
    return false;
  }
  bool ok = true;
  while (done < n) {
    size_t chunk = n - done;
    if (chunk > static_cast<size_t>(INT_MAX)) chunk = INT_MAX;
    int r = ::send(s, reinterpret_cast<const char*>(data + done), static_cast<int>(chunk), 0);
    if (r > 0) {
      done += static_cast<size_t>(r);
      if (sent) *sent = done;
      continue;
    }
    int error = ::WSAGetLastError();
    if (r == SOCKET_ERROR && error != WSAEWOULDBLOCK) {
      lastError_ = error;
      ok = false;
      break;
    }
    Ready ready = WaitFor(s, true, deadline);
    if (ready == Ready::kError) {
      lastError_ = ::WSAGetLastError();
      ok = false;
      break;
    }
    if (ready == Ready::kTimeout) {
      lastError_ = WSAETIMEDOUT;
      timedOut_ = true;
      break;
    }
    // kExcept: the next send reports the failure.
  }
  SetNonBlocking(s, false);
  return ok;
}

bool TcpSocket::Receive(uint8_t* buffer, size_t n, int timeoutMs, size_t* received) {
  if (received) *received = 0;
  timedOut_ = false;
  if (!IsValid()) {
    lastError_ = WSAENOTSOCK;
    return false;
  }
  if (n == 0) return true;
  SOCKET s = Sock(handle_);
  Deadline deadline(timeoutMs);
  if (n > static_cast<size_t>(INT_MAX)) n = INT_MAX;
  for (;;) {
    Ready ready = WaitFor(s, false, deadline);
    if (ready == Ready::kError) {
      lastError_ = ::WSAGetLastError();
      return false;
    }
    if (ready == Ready::kTimeout) {
      lastError_ = WSAETIMEDOUT;
      timedOut_ = true;
      return false;
    }
    int r = ::recv(s, reinterpret_cast<char*>(buffer), static_cast<int>(n), 0);
    if (r > 0) {
      if (received) *received = static_cast<size_t>(r);
      return true;
    }
    if (r == 0) {
      lastError_ = WSAENOTCONN;
      return false;
    }
    int error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK || error == WSAEINTR) continue;
    lastError_ = error;
    return false;
  }
}

bool TcpSocket::PeerHasClosed() {
  if (!IsValid()) return true;
  SOCKET s = Sock(handle_);
  Deadline now(0);
  Ready ready = WaitFor(s, false, now);
  if (ready == Ready::kTimeout) return false;
  if (ready == Ready::kError) {
    lastError_ = ::WSAGetLastError();
    return true;
  }
  // Readable: either data, an orderly close (peek gives 0) or a reset. The
  // socket is blocking, but a readable socket answers a peek at once.
  char probe;
  int r = ::recv(s, &probe, 1, MSG_PEEK);
  if (r > 0) return false;
  if (r == 0) return true;
  int error = ::WSAGetLastError();
  if (error == WSAEWOULDBLOCK) return false;
  lastError_ = error;
  return true;
}

void TcpSocket::Close() {
  if (!IsValid()) return;
  SOCKET s = Sock(handle_);
  ::CancelIo(reinterpret_cast<HANDLE>(s));
  ::shutdown(s, SD_BOTH);
  ::closesocket(s);
  handle_ = kInvalid;
  NetCleanup();
}

TcpSocket TcpSocket::Adopt(intptr_t nativeHandle) {
  TcpSocket s;
  if (nativeHandle != kInvalid) {
    NetStartup();
    s.handle_ = nativeHandle;
  }
  return s;
}

}  // namespace platform
