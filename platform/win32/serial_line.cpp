// Win32 side of the serial line set-up (DCB, COMMTIMEOUTS) and of the
// parallel driver's requests.
#include "platform/serial_line.h"

#include <windows.h>

namespace platform {

namespace {

// The parallel driver answers these requests (the serial time-out codes are
// its too).
constexpr DWORD kGetTimeouts = 0x1B0020;
constexpr DWORD kSetTimeouts = 0x1B001C;
constexpr DWORD kQueryParallelInfo = 0x160004;

HANDLE H(DeviceFile& device) { return reinterpret_cast<HANDLE>(device.NativeHandle()); }

bool Usable(DeviceFile& device) {
  if (device.IsOpen()) return true;
  ::SetLastError(ERROR_INVALID_HANDLE);
  return false;
}

bool LoadDcb(DeviceFile& device, DCB* dcb) {
  ZeroMemory(dcb, sizeof(*dcb));
  dcb->DCBlength = sizeof(DCB);  // 28
  return ::GetCommState(H(device), dcb) != FALSE;
}

void ReadState(const DCB& dcb, SerialLineState* state) {
  state->baudRate = dcb.BaudRate;
  state->binary = dcb.fBinary != 0;
  state->parityCheck = dcb.fParity != 0;
  state->ctsOutFlow = dcb.fOutxCtsFlow != 0;
  state->dsrOutFlow = dcb.fOutxDsrFlow != 0;
  state->dtrControl = static_cast<uint8_t>(dcb.fDtrControl);
  state->rtsControl = static_cast<uint8_t>(dcb.fRtsControl);
  state->xonXoffOut = dcb.fOutX != 0;
  state->xonXoffIn = dcb.fInX != 0;
  state->byteSize = dcb.ByteSize;
  state->parity = dcb.Parity;
  state->stopBits = dcb.StopBits;
}

COMMTIMEOUTS ToSystem(const PortTimeouts& t) {
  COMMTIMEOUTS c{};
  c.ReadIntervalTimeout = t.readInterval;
  c.ReadTotalTimeoutMultiplier = t.readTotalMultiplier;
  c.ReadTotalTimeoutConstant = t.readTotalConstant;
  c.WriteTotalTimeoutMultiplier = t.writeTotalMultiplier;
  c.WriteTotalTimeoutConstant = t.writeTotalConstant;
  return c;
}

}  // namespace

bool LoadSerialLine(DeviceFile& device, SerialLineState* state) {
  if (!Usable(device)) return false;
  DCB dcb;
  if (!LoadDcb(device, &dcb)) return false;
  ReadState(dcb, state);
  return true;
}

bool ApplySerialLine(DeviceFile& device, SerialLineState* state) {
  if (!Usable(device)) return false;
  // Every flag the state does not name keeps what the device reported; a
  // driver that cannot report its state gets the named fields on a zeroed
  // record (some serial emulations refuse a query but take a setting).
  DCB dcb;
  if (!LoadDcb(device, &dcb)) {
    ZeroMemory(&dcb, sizeof dcb);
    dcb.DCBlength = sizeof(DCB);
  }
  dcb.BaudRate = state->baudRate;
  dcb.fBinary = state->binary ? 1 : 0;
  dcb.fParity = state->parityCheck ? 1 : 0;
  dcb.fOutxCtsFlow = state->ctsOutFlow ? 1 : 0;
  dcb.fOutxDsrFlow = state->dsrOutFlow ? 1 : 0;
  dcb.fDtrControl = state->dtrControl;
  dcb.fRtsControl = state->rtsControl;
  dcb.fOutX = state->xonXoffOut ? 1 : 0;
  dcb.fInX = state->xonXoffIn ? 1 : 0;
  dcb.ByteSize = state->byteSize;
  dcb.Parity = state->parity;
  dcb.StopBits = state->stopBits;
  if (!::SetCommState(H(device), &dcb)) return false;
  return LoadSerialLine(device, state);
}

bool SetupSerialQueues(DeviceFile& device, uint32_t inBytes, uint32_t outBytes) {
  if (!Usable(device)) return false;
  BOOL sized = ::SetupComm(H(device), inBytes, outBytes);
  BOOL purged = ::PurgeComm(H(device), PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
  return sized && purged;
}

bool GetSerialTimeouts(DeviceFile& device, PortTimeouts* timeouts) {
  if (!Usable(device)) return false;
  COMMTIMEOUTS c{};
  if (!::GetCommTimeouts(H(device), &c)) return false;
  timeouts->readInterval = c.ReadIntervalTimeout;
  timeouts->readTotalMultiplier = c.ReadTotalTimeoutMultiplier;
  timeouts->readTotalConstant = c.ReadTotalTimeoutConstant;
  timeouts->writeTotalMultiplier = c.WriteTotalTimeoutMultiplier;
  timeouts->writeTotalConstant = c.WriteTotalTimeoutConstant;
  return true;
}

bool SetSerialTimeouts(DeviceFile& device, const PortTimeouts& timeouts) {
  if (!Usable(device)) return false;
  COMMTIMEOUTS c = ToSystem(timeouts);
  return ::SetCommTimeouts(H(device), &c) != FALSE;
}

bool SetParallelTimeouts(DeviceFile& device, const PortTimeouts& timeouts) {
  if (!Usable(device)) return false;
  COMMTIMEOUTS current{};
  DWORD got = 0;
  // Read first, as the driver expects a caller to know what it replaces.
  ::DeviceIoControl(H(device), kGetTimeouts, nullptr, 0, &current, sizeof(current), &got, nullptr);
  COMMTIMEOUTS wanted = ToSystem(timeouts);
  return ::DeviceIoControl(H(device), kSetTimeouts, &wanted, sizeof(wanted), nullptr, 0, &got,
                           nullptr) != FALSE;
}

bool QueryParallelStatus(DeviceFile& device, uint8_t* status) {
  if (!Usable(device)) return false;
  UCHAR value = 0;
  DWORD got = 0;
  if (!::DeviceIoControl(H(device), kQueryParallelInfo, nullptr, 0, &value, 1, &got, nullptr) ||
      got < 1) {
    return false;
  }
  *status = value;
  return true;
}

}  // namespace platform
