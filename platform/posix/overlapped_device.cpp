// POSIX side of OverlappedDevice: a non-blocking descriptor with an exclusive
// flock, and poll for the waits.
#include "platform/overlapped_device.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>

#include "platform/posix/utf8_path.h"

namespace platform {

namespace {

constexpr intptr_t kInvalid = -1;

using SteadyClock = std::chrono::steady_clock;

// Milliseconds left until `deadline`, never negative.
int Remaining(SteadyClock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// True when the descriptor became ready for `events` before the deadline.
bool WaitFor(int fd, short events, SteadyClock::time_point deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    int r = ::poll(&entry, 1, Remaining(deadline));
    if (r > 0) return true;
    if (r == 0) return false;
    if (errno != EINTR) return false;
  }
}

}  // namespace

OverlappedDevice::OverlappedDevice() : handle_(kInvalid), event_(kInvalid) {}

OverlappedDevice::~OverlappedDevice() { Close(); }

bool OverlappedDevice::OpenExisting(const std::u16string& path) {
  Close();
  std::string name;
  if (path.empty() || path.find(u'\0') != std::u16string::npos || !PathToUtf8(path, &name)) {
    errno = EINVAL;
    return false;
  }
  int fd;
  do {
    fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  int locked;
  do {
    locked = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    int error = errno;
    ::close(fd);
    errno = error;
    return false;
  }
  handle_ = fd;
  return true;
}

bool OverlappedDevice::IsOpen() const { return handle_ != kInvalid; }

bool OverlappedDevice::Write(const uint8_t* data, size_t n, uint32_t timeoutMs, size_t* written) {
  size_t done = 0;
  if (written) *written = 0;
  if (!IsOpen()) {
    errno = EBADF;
    return false;
  }
  int fd = static_cast<int>(handle_);
  auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  while (done < n) {
    ssize_t r = ::write(fd, data + done, n - done);
    if (r > 0) {
      done += static_cast<size_t>(r);
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      if (written) *written = done;
      return false;
    }
    // The device is full: what it has not taken by the deadline stays unsent,
    // which the caller sees as a short count.
    if (!WaitFor(fd, POLLOUT, deadline)) break;
  }
  if (written) *written = done;
  return true;
}

bool OverlappedDevice::Read(uint8_t* buffer, size_t n, uint32_t timeoutMs, size_t* received) {
  if (received) *received = 0;
  if (!IsOpen()) {
    errno = EBADF;
    return false;
  }
  if (n == 0) return false;
  int fd = static_cast<int>(handle_);
  auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    ssize_t r = ::read(fd, buffer, n);
    if (r > 0) {
      if (received) *received = static_cast<size_t>(r);
      return true;
    }
    if (r < 0 && errno == EINTR) continue;
    // End of data (a file read to its end, a pipe without a writer) is an
    // empty read at once, as on an overlapped handle.
    if (r == 0) return false;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
    if (!WaitFor(fd, POLLIN, deadline)) return false;
  }
}

void OverlappedDevice::Close() {
  if (!IsOpen()) return;
  int saved = errno;
  ::close(static_cast<int>(handle_));
  handle_ = kInvalid;
  errno = saved;
}

}  // namespace platform
