// POSIX side of DeviceFile: open() without O_CREAT, then an exclusive flock so
// that a second opener is refused the way a Windows open without sharing is.
#include "platform/device_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/posix/utf8_path.h"

namespace platform {

namespace {

constexpr intptr_t kInvalid = -1;

}  // namespace

DeviceFile::DeviceFile() : handle_(kInvalid) {}

DeviceFile::~DeviceFile() { Close(); }

bool DeviceFile::OpenExisting(const std::u16string& path) {
  Close();
  std::string name;
  if (path.empty() || path.find(u'\0') != std::u16string::npos || !PathToUtf8(path, &name)) {
    errno = EINVAL;
    return false;
  }
  // O_NONBLOCK only for the open itself: a serial line without carrier would
  // otherwise block here. The descriptor is made blocking again at once.
  int fd;
  do {
    fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  int flags = ::fcntl(fd, F_GETFL, 0);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    int error = errno;
    ::close(fd);
    errno = error;
    return false;
  }
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

bool DeviceFile::IsOpen() const { return handle_ != kInvalid; }

bool DeviceFile::Write(const uint8_t* data, size_t n, size_t* written) {
  if (written) *written = 0;
  if (!IsOpen()) {
    errno = EBADF;
    return false;
  }
  ssize_t r;
  do {
    r = ::write(static_cast<int>(handle_), data, n);
  } while (r < 0 && errno == EINTR);
  if (r < 0) return false;
  if (written) *written = static_cast<size_t>(r);
  return true;
}

bool DeviceFile::Read(uint8_t* buffer, size_t n, size_t* received) {
  if (received) *received = 0;
  if (!IsOpen()) {
    errno = EBADF;
    return false;
  }
  ssize_t r;
  do {
    r = ::read(static_cast<int>(handle_), buffer, n);
  } while (r < 0 && errno == EINTR);
  if (r < 0) return false;
  if (received) *received = static_cast<size_t>(r);
  return true;
}

void DeviceFile::Flush() {
  if (!IsOpen()) return;
  int saved = errno;
  ::fsync(static_cast<int>(handle_));
  errno = saved;
}

void DeviceFile::Close() {
  if (!IsOpen()) return;
  int saved = errno;
  // Closing the descriptor also drops the flock.
  ::close(static_cast<int>(handle_));
  handle_ = kInvalid;
  errno = saved;
}

}  // namespace platform
