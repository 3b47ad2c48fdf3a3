// posix_openpt master. Linux reports POLLHUP on the master while no client
// has the slave open (once one had it), after the data it left is read.
#include "platform/pseudo_terminal.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace platform {

namespace {

int Fd(intptr_t handle) { return static_cast<int>(handle); }

// Raw mode on the slave, set through a short-lived opener of our own.
bool MakeSlaveRaw(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  termios t{};
  bool ok = ::tcgetattr(fd, &t) == 0;
  if (ok) {
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    ok = ::tcsetattr(fd, TCSANOW, &t) == 0;
  }
  ::close(fd);
  return ok;
}

int PollOnce(int fd, short events, int timeoutMs, short* revents) {
  pollfd p{fd, events, 0};
  int r;
  do {
    r = ::poll(&p, 1, timeoutMs);
  } while (r < 0 && errno == EINTR);
  *revents = p.revents;
  return r;
}

}  // namespace

PseudoTerminal::PseudoTerminal() : master_(-1) {}

PseudoTerminal::~PseudoTerminal() { Close(); }

bool PseudoTerminal::Available() { return true; }

bool PseudoTerminal::Open() {
  Close();
  int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (fd < 0) return false;
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  char name[128];
  if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0 || ::ptsname_r(fd, name, sizeof name) != 0 ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL, 0) | O_NONBLOCK) != 0) {
    ::close(fd);
    return false;
  }
  master_ = fd;
  slavePath_ = name;
  if (!MakeSlaveRaw(slavePath_)) {
    Close();
    return false;
  }
  return true;
}

bool PseudoTerminal::IsOpen() const { return master_ >= 0; }

bool PseudoTerminal::WaitForClient(int timeoutMs) {
  if (!IsOpen()) return false;
  // With nobody on the slave the master reports a hang-up at once, so the
  // wait goes in short steps instead of one poll.
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    short revents = 0;
    int r = PollOnce(Fd(master_), POLLIN, 0, &revents);
    if (r > 0 && (revents & POLLIN) != 0) return true;
    if (r < 0 || std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

bool PseudoTerminal::Receive(uint8_t* buffer, size_t n, int timeoutMs, size_t* received) {
  if (received) *received = 0;
  timedOut_ = false;
  if (!IsOpen()) {
    errno = EBADF;
    return false;
  }
  if (n == 0) return true;
  short revents = 0;
  int r = PollOnce(Fd(master_), POLLIN, timeoutMs, &revents);
  if (r < 0) return false;
  if (r == 0) {
    timedOut_ = true;
    return false;
  }
  if ((revents & POLLIN) == 0) return false;  // hung up, nothing left to read
  ssize_t got;
  do {
    got = ::read(Fd(master_), buffer, n);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    if (errno == EAGAIN) {
      timedOut_ = true;
    }
    return false;  // EIO: the last client closed
  }
  if (received) *received = static_cast<size_t>(got);
  return got > 0;
}

bool PseudoTerminal::Send(const uint8_t* data, size_t n, int timeoutMs, size_t* sent) {
  if (sent) *sent = 0;
  if (!IsOpen()) {
    errno = EBADF;
    return false;
  }
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  size_t done = 0;
  bool failed = false;
  while (done < n) {
    ssize_t w = ::write(Fd(master_), data + done, n - done);
    if (w > 0) {
      done += static_cast<size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN) {
      failed = true;
      break;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    short revents = 0;
    if (PollOnce(Fd(master_), POLLOUT, static_cast<int>(left.count()), &revents) <= 0) break;
  }
  if (sent) *sent = done;
  // A time-out is success with fewer bytes, as on a socket.
  return !failed;
}

void PseudoTerminal::Close() {
  if (!IsOpen()) return;
  ::close(Fd(master_));
  master_ = -1;
  slavePath_.clear();
}

}  // namespace platform
