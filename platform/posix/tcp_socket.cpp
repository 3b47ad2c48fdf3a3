// BSD-socket side of the TCP client socket. Every wait is a poll() with the
// time left, so no call blocks longer than its caller allowed; the socket
// itself stays blocking (sends and receives use MSG_DONTWAIT).
#include "platform/tcp_socket.h"

#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <utility>

namespace platform {

namespace {

constexpr intptr_t kInvalid = -1;

int Fd(intptr_t handle) { return static_cast<int>(handle); }

// Milliseconds left until deadline for poll(); -1 (no limit) stays -1.
class Deadline {
 public:
  explicit Deadline(int timeoutMs)
      : unlimited_(timeoutMs < 0),
        end_(std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs)) {}
  int Remaining() const {
    if (unlimited_) return -1;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end_ - std::chrono::steady_clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
  }

 private:
  bool unlimited_;
  std::chrono::steady_clock::time_point end_;
};

// Waits for events on fd until the deadline. Returns the revents (0 on
// time-out) or -1 on a poll failure (errno set). EINTR restarts the wait.
int WaitFor(int fd, short events, const Deadline& deadline) {
  for (;;) {
    pollfd p{};
    p.fd = fd;
    p.events = events;
    int r = ::poll(&p, 1, deadline.Remaining());
    if (r > 0) return p.revents;
    if (r == 0) return 0;
    if (errno != EINTR) return -1;
  }
}

bool SetNonBlocking(int fd, bool on) {
  int flags = ::fcntl(fd, F_GETFL, 0);
  if (flags < 0) return false;
  flags = on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
  return ::fcntl(fd, F_SETFL, flags) == 0;
}

timeval ToTimeval(int ms) {
  timeval tv{};
  if (ms > 0) {
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
  }
  return tv;
}

}  // namespace

bool NetStartup() { return true; }
void NetCleanup() {}

uint32_t ParseIPv4(const char* text) {
  if (text == nullptr) return 0xFFFFFFFFu;
  return static_cast<uint32_t>(::inet_addr(text));
}

bool TcpSocket::Create() {
  Close();
  timedOut_ = false;
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
  if (fd < 0) {
    lastError_ = errno;
    return false;
  }
  handle_ = fd;
  return true;
}

bool TcpSocket::IsValid() const { return handle_ != kInvalid; }

void TcpSocket::ApplyPrinterOptions(int readTimeoutMs, int writeTimeoutMs) {
  if (!IsValid()) return;
  int fd = Fd(handle_);
  int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  // The per-call poll() waits are what bound our calls; these only back them up
  // for anybody who uses the handle directly.
  timeval rcv = ToTimeval(readTimeoutMs);
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &rcv, sizeof rcv);
  timeval snd = ToTimeval(writeTimeoutMs);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &snd, sizeof snd);
  linger noLinger{};
  noLinger.l_onoff = 0;
  ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger);
  int sendBuffer = 4096;
  ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
}

bool TcpSocket::BindAnyLocal() {
  if (!IsValid()) {
    lastError_ = EBADF;
    return false;
  }
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = 0;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  if (::bind(Fd(handle_), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    lastError_ = errno;
    return false;
  }
  return true;
}

bool TcpSocket::SetReceiveBufferSize(int bytes) {
  if (!IsValid()) {
    lastError_ = EBADF;
    return false;
  }
  if (::setsockopt(Fd(handle_), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) != 0) {
    lastError_ = errno;
    return false;
  }
  return true;
}

bool TcpSocket::Connect(uint32_t addressNetworkOrder, uint16_t port, int timeoutMs) {
  timedOut_ = false;
  if (!IsValid()) {
    lastError_ = EBADF;
    return false;
  }
  int fd = Fd(handle_);
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(port);
  remote.sin_addr.s_addr = addressNetworkOrder;

  Deadline deadline(timeoutMs);
  if (!SetNonBlocking(fd, true)) {
    lastError_ = errno;
    return false;
  }
  int error = 0;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
    error = errno;
    if (error == EINPROGRESS || error == EINTR) {
      int revents = WaitFor(fd, POLLOUT, deadline);
      if (revents < 0) {
        error = errno;
      } else if (revents == 0) {
        error = ETIMEDOUT;
        timedOut_ = true;
      } else {
        socklen_t len = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0) error = errno;
      }
    }
  }
  SetNonBlocking(fd, false);
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
    lastError_ = EBADF;
    return false;
  }
  int fd = Fd(handle_);
  Deadline deadline(timeoutMs);
  while (done < n) {
    ssize_t r = ::send(fd, data + done, n - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (r > 0) {
      done += static_cast<size_t>(r);
      if (sent) *sent = done;
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      lastError_ = errno;
      return false;
    }
    // The send buffer is full: wait for room (an error or hang-up wakes the
    // wait too, and the next send reports it).
    int revents = WaitFor(fd, POLLOUT, deadline);
    if (revents < 0) {
      lastError_ = errno;
      return false;
    }
    if (revents == 0) {
      lastError_ = ETIMEDOUT;
      timedOut_ = true;
      return true;
    }
  }
  return true;
}

bool TcpSocket::Receive(uint8_t* buffer, size_t n, int timeoutMs, size_t* received) {
  if (received) *received = 0;
  timedOut_ = false;
  if (!IsValid()) {
    lastError_ = EBADF;
    return false;
  }
  if (n == 0) return true;
  int fd = Fd(handle_);
  Deadline deadline(timeoutMs);
  for (;;) {
    int revents = WaitFor(fd, POLLIN, deadline);
    if (revents < 0) {
      lastError_ = errno;
      return false;
    }
    if (revents == 0) {
      lastError_ = ETIMEDOUT;
      timedOut_ = true;
      return false;
    }
    ssize_t r = ::recv(fd, buffer, n, MSG_DONTWAIT);
    if (r > 0) {
      if (received) *received = static_cast<size_t>(r);
      return true;
    }
    if (r == 0) {
      lastError_ = ENOTCONN;
      return false;
    }
    if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
    lastError_ = errno;
    return false;
  }
}

bool TcpSocket::PeerHasClosed() {
  if (!IsValid()) return true;
  int fd = Fd(handle_);
  pollfd p{};
  p.fd = fd;
  p.events = POLLIN;
  int r;
  do {
    r = ::poll(&p, 1, 0);
  } while (r < 0 && errno == EINTR);
  if (r <= 0) return false;
  uint8_t probe;
  ssize_t got;
  do {
    got = ::recv(fd, &probe, 1, MSG_PEEK | MSG_DONTWAIT);
  } while (got < 0 && errno == EINTR);
  if (got > 0) return false;
  if (got == 0) return true;
  if (errno == EAGAIN || errno == EWOULDBLOCK) return false;
  lastError_ = errno;
  return true;
}

void TcpSocket::Close() {
  if (!IsValid()) return;
  int fd = Fd(handle_);
  ::shutdown(fd, SHUT_RDWR);
  ::close(fd);
  handle_ = kInvalid;
}

TcpSocket TcpSocket::Adopt(intptr_t nativeHandle) {
  TcpSocket s;
  s.handle_ = nativeHandle < 0 ? kInvalid : nativeHandle;
  return s;
}

}  // namespace platform
