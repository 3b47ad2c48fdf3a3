// termios side of the serial line set-up, and the lp driver's status for the
// parallel port.
#include "platform/serial_line.h"

#include <errno.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <linux/lp.h>

namespace platform {

namespace {

int Fd(DeviceFile& device) { return static_cast<int>(device.NativeHandle()); }

struct BaudCode {
  uint32_t rate;
  speed_t code;
};

constexpr BaudCode kBaudCodes[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool CodeOfRate(uint32_t rate, speed_t* code) {
  for (const BaudCode& b : kBaudCodes) {
    if (b.rate == rate) {
      *code = b.code;
      return true;
    }
  }
  return false;
}

uint32_t RateOfCode(speed_t code) {
  for (const BaudCode& b : kBaudCodes) {
    if (b.code == code) return b.rate;
  }
  return 0;
}

bool GetAttributes(DeviceFile& device, termios* t) {
  if (!device.IsOpen()) {
    errno = EBADF;
    return false;
  }
  return ::tcgetattr(Fd(device), t) == 0;
}

void ReadState(const termios& t, SerialLineState* state) {
  state->baudRate = RateOfCode(::cfgetospeed(&t));
  // Binary: no byte is changed or swallowed on the way in or out.
  state->binary = (t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP)) == 0 && (t.c_oflag & OPOST) == 0 &&
                  (t.c_lflag & ICANON) == 0;
  state->parityCheck = (t.c_iflag & INPCK) != 0;
  state->ctsOutFlow = (t.c_cflag & CRTSCTS) != 0;
  state->dsrOutFlow = false;
  state->dtrControl = 0;
  state->rtsControl = (t.c_cflag & CRTSCTS) != 0 ? 2 : 0;
  state->xonXoffOut = (t.c_iflag & IXON) != 0;
  state->xonXoffIn = (t.c_iflag & IXOFF) != 0;
  switch (t.c_cflag & CSIZE) {
    case CS5: state->byteSize = 5; break;
    case CS6: state->byteSize = 6; break;
    case CS7: state->byteSize = 7; break;
    default: state->byteSize = 8; break;
  }
  state->parity = (t.c_cflag & PARENB) == 0 ? 0 : ((t.c_cflag & PARODD) != 0 ? 1 : 2);
  state->stopBits = (t.c_cflag & CSTOPB) != 0 ? 2 : 0;
}

}  // namespace

bool LoadSerialLine(DeviceFile& device, SerialLineState* state) {
  termios t{};
  if (!GetAttributes(device, &t)) return false;
  ReadState(t, state);
  return true;
}

bool ApplySerialLine(DeviceFile& device, SerialLineState* state) {
  termios t{};
  if (!GetAttributes(device, &t)) return false;
  if (state->binary) ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;  // no modem lines: a printer cable often has none
  t.c_iflag = state->parityCheck ? (t.c_iflag | INPCK) : (t.c_iflag & ~static_cast<tcflag_t>(INPCK));
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  if (state->xonXoffOut) t.c_iflag |= IXON;
  if (state->xonXoffIn) t.c_iflag |= IXOFF;
  t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
  if (state->ctsOutFlow) t.c_cflag |= CRTSCTS;
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE);
  switch (state->byteSize) {
    case 5: t.c_cflag |= CS5; break;
    case 6: t.c_cflag |= CS6; break;
    case 7: t.c_cflag |= CS7; break;
    default: t.c_cflag |= CS8; break;
  }
  t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD | CSTOPB);
  if (state->parity == 1) t.c_cflag |= PARENB | PARODD;
  if (state->parity == 2) t.c_cflag |= PARENB;
  if (state->stopBits != 0) t.c_cflag |= CSTOPB;
  speed_t code;
  if (!CodeOfRate(state->baudRate, &code)) {
    errno = EINVAL;
    return false;
  }
  ::cfsetispeed(&t, code);
  ::cfsetospeed(&t, code);
  if (::tcsetattr(Fd(device), TCSANOW, &t) != 0) return false;
  return LoadSerialLine(device, state);
}

bool SetupSerialQueues(DeviceFile& device, uint32_t, uint32_t) {
  // The tty driver's queues have a fixed size; only the purge applies.
  if (!device.IsOpen()) {
    errno = EBADF;
    return false;
  }
  return ::tcflush(Fd(device), TCIOFLUSH) == 0;
}

bool GetSerialTimeouts(DeviceFile& device, PortTimeouts* timeouts) {
  termios t{};
  if (!GetAttributes(device, &t)) return false;
  *timeouts = PortTimeouts{};
  timeouts->readInterval = static_cast<uint32_t>(t.c_cc[VTIME]) * 100;
  timeouts->readTotalConstant = timeouts->readInterval;
  return true;
}

bool SetSerialTimeouts(DeviceFile& device, const PortTimeouts& timeouts) {
  termios t{};
  if (!GetAttributes(device, &t)) return false;
  // A read returns what came once the line stayed quiet this long, or nothing
  // after it when nothing came: the closest termios has to an interval and
  // total constant.
  uint32_t ms = timeouts.readTotalConstant > timeouts.readInterval ? timeouts.readTotalConstant
                                                                   : timeouts.readInterval;
  uint32_t tenths = (ms + 99) / 100;
  if (tenths > 255) tenths = 255;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = static_cast<cc_t>(tenths);
  return ::tcsetattr(Fd(device), TCSANOW, &t) == 0;
}

bool SetParallelTimeouts(DeviceFile& device, const PortTimeouts&) {
  // The lp driver keeps its own time-outs.
  errno = device.IsOpen() ? ENOTTY : EBADF;
  return false;
}

bool QueryParallelStatus(DeviceFile& device, uint8_t* status) {
  if (!device.IsOpen()) {
    errno = EBADF;
    return false;
  }
  int lines = 0;
  if (::ioctl(Fd(device), LPGETSTATUS, &lines) != 0) return false;
  // The lp status register says "paper out" in its own bit.
  *status = (lines & LP_POUTPA) != 0 ? kParallelPaperEmpty : 0;
  return true;
}

}  // namespace platform
