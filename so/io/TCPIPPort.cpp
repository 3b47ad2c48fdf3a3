#include "so/io/TCPIPPort.h"

#include <algorithm>

#include "platform/system_error.h"

namespace QEL {
namespace IO {

TCPIPPort::TCPIPPort(const TCPIPPortSettings& settings)
    : CSystemPort(&settings_), settings_(settings) {
  // Informational only: the address is what a reader of the port wants to see.
  SetDevicePath(settings_.ToString());
}

TCPIPPort::~TCPIPPort() { Close(); }

void TCPIPPort::CreateSocket() {
  if (socket_.Create()) {
    socket_.ApplyPrinterOptions(settings_.GetReadTimeout(), settings_.GetWriteTimeout());
  }
}

bool TCPIPPort::Connect() {
  // The connect wait is bounded by the write timeout: an unreachable printer
  // should fail the open within seconds, not after the system's minute.
  const int timeoutMs = settings_.GetWriteTimeout();
  if (!socket_.IsValid()) CreateSocket();
  bool ok = socket_.BindAnyLocal() && socket_.Connect(remoteAddress_, remotePort_, timeoutMs);
  if (!ok) {
    CloseSocket();
    CreateSocket();
    ok = socket_.BindAnyLocal() && socket_.Connect(remoteAddress_, remotePort_, timeoutMs);
  }
  if (!ok) {
    int error = socket_.LastError();
    SetError(kConnectFailed, TextWithNumber("*Connect Fail! WSAGetLastError:", error));
    CloseSocket();
    return false;
  }
  connected_ = true;
  return true;
}

void TCPIPPort::CloseSocket() {
  connected_ = false;
  socket_.Close();
}

int32_t TCPIPPort::Open() {
  if (IsOpen()) Close();
  platform::SetLastSystemError(0);
  if (!netStarted_) netStarted_ = platform::NetStartup();
  remoteAddress_ = platform::ParseIPv4(settings_.GetAddress().c_str());
  remotePort_ = settings_.GetTcpPort();
  CreateSocket();
  if (!Connect()) {
    // A port that did not open holds nothing: the caller need not Close it.
    if (netStarted_) {
      platform::NetCleanup();
      netStarted_ = false;
    }
    return 0;
  }
  SetReady(true);
  SetOpenFlag(true);
  return 1;
}

void TCPIPPort::Close() {
  platform::SetLastSystemError(0);
  CloseSocket();
  if (netStarted_) {
    platform::NetCleanup();
    netStarted_ = false;
  }
  SetReady(false);
  SetOpenFlag(false);
}

int32_t TCPIPPort::Write(const uint8_t* data, int32_t offset, int32_t count) {
  const int timeoutMs = settings_.GetWriteTimeout();
  platform::SetLastSystemError(0);
  if (CancelRequested()) return 0;
  // A closed port does not connect by itself; only an open one reconnects.
  if (!IsOpen() || data == nullptr || offset < 0 || count <= 0) return 0;
  const uint8_t* at = data + offset;
  size_t remaining = static_cast<size_t>(count);
  int passes = 0;
  int reconnects = 0;
  while (passes < kWritePasses) {
    size_t sent = 0;
    bool ok;
    int sendError = 0;
    if (socket_.PeerHasClosed()) {
      // The printer dropped the connection since the last write. A send now
      // would be accepted by our side and lost; treat it as the send error it
      // would become, with the system's own "not connected" code (a zero-wait
      // receive on the closed connection reports it and consumes nothing).
      uint8_t probe;
      size_t none = 0;
      socket_.Receive(&probe, 1, 0, &none);
      sendError = socket_.LastError();
      ok = false;
    } else {
      ok = socket_.Send(at, remaining, timeoutMs, &sent);
      if (!ok) sendError = socket_.LastError();
    }
    if (!ok) {
      if (reconnects >= kMaxReconnectsPerWrite || !Connect()) {
        SetError(kConnectFailed, TextWithNumber("WriteData reconnect Fail! WSAGetLastError:", sendError));
        return 0;
      }
      ++reconnects;
      SetErrorText(std::u16string());
      continue;  // the same pass again, on the new connection
    }
    if (sent >= remaining) return 1;
    at += sent;
    remaining -= sent;
    ++passes;
    if (CancelRequested()) return 0;
  }
  return 0;
}

int32_t TCPIPPort::Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
                        int32_t waitForAll) {
  const int timeoutMs = settings_.GetReadTimeout();
  int32_t ignored = 0;
  if (received == nullptr) received = &ignored;
  platform::SetLastSystemError(0);
  *received = 0;
  bool cancel = CancelRequested();
  if (buffer == nullptr || offset < 0 || count <= 0) return 0;
  uint8_t* at = buffer + offset;
  int calls = 0;
  while (calls < kReadCalls && !cancel) {
    size_t chunk = static_cast<size_t>(std::min(count - *received, kReadChunk));
    size_t got = 0;
    bool ok = socket_.Receive(at, chunk, timeoutMs, &got) && got > 0;
    ReadEvent().Reset();
    if (ok) {
      *received += static_cast<int32_t>(got);
      at += got;
      if (!waitForAll || *received >= count) return 1;
      // A call that brought data weighs double: a printer that trickles its
      // reply cannot hold the caller for more than a few calls.
      calls += 2;
    } else {
      if (!waitForAll) return 0;
      calls += 1;
    }
    cancel = CancelRequested();
  }
  return 0;
}

int32_t TCPIPPort::ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                                 int32_t* received) {
  int32_t ignored = 0;
  if (received == nullptr) received = &ignored;
  platform::SetLastSystemError(0);
  *received = 0;
  ReadEvent().Reset();
  if (buffer == nullptr || offset < 0 || count <= 0) return 0;
  size_t got = 0;
  bool ok = socket_.Receive(buffer + offset, static_cast<size_t>(count), kReadAvailableWaitMs, &got);
  *received = static_cast<int32_t>(got);
  return (ok && got > 0) ? 1 : 0;
}

void TCPIPPort::WaitForData(uint8_t* buffer, int32_t count, WaitCallback callback) {
  if (buffer == nullptr || count <= 0) return;
  size_t total = 0;
  const size_t wanted = static_cast<size_t>(count);
  // A stop signalled before the wait began ends it at once: StopWaiting must
  // not be lost to a race with the start of the wait.
  while (total < wanted && !ReadEvent().IsSet()) {
    size_t chunk = std::min(wanted - total, static_cast<size_t>(kReadChunk));
    size_t got = 0;
    if (socket_.Receive(buffer + total, chunk, kWaitSliceMs, &got)) {
      total += got;
      continue;
    }
    // Anything but "nothing yet" (closed, reset, no socket) means no data
    // will ever come on this connection.
    if (!socket_.TimedOut()) break;
  }
  if (total >= wanted && callback != nullptr) callback(0, static_cast<uint32_t>(total), nullptr);
  ReadEvent().Reset();
}

void TCPIPPort::StopWaiting() { ReadEvent().Set(); }

}  // namespace IO
}  // namespace QEL
