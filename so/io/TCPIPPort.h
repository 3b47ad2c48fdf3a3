#pragma once
// A network printer on one TCP connection (raw port, usually 9100). IPv4
// dotted addresses only; host names are not resolved.
#include <cstdint>

#include "platform/tcp_socket.h"
#include "so/io/CSystemPort.h"
#include "so/io/TCPIPPortSettings.h"

namespace QEL {
namespace IO {

class TCPIPPort : public CSystemPort {
 public:
  // Error code of a failed connect or reconnect.
  static constexpr int32_t kConnectFailed = 2501;
  static constexpr int kWritePasses = 3;
  // Reconnects one Write may make before it gives up: a printer that accepts
  // and drops every connection must not keep the caller in Write forever.
  static constexpr int kMaxReconnectsPerWrite = 3;
  static constexpr int kReadCalls = 5;
  // How long ReadAvailable lets data arrive: it takes what is there.
  static constexpr int kReadAvailableWaitMs = 10;
  // Slice of WaitForData's wait between looks at the stop signal.
  static constexpr int kWaitSliceMs = 20;

  explicit TCPIPPort(const TCPIPPortSettings& settings);
  ~TCPIPPort() override;

  int32_t Open() override;
  void Close() override;
  int32_t Write(const uint8_t* data, int32_t offset, int32_t count) override;
  // Waits without a time limit until `count` bytes (buffer holds count bytes)
  // came, the connection ends, or StopWaiting is called from another thread.
  // The callback gets (0, bytes, nullptr) when all `count` bytes came.
  void WaitForData(uint8_t* buffer, int32_t count, WaitCallback callback) override;
  void StopWaiting() override;
  int32_t Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
               int32_t waitForAll) override;
  int32_t ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                        int32_t* received) override;
  void RefreshDevicePath() override {}
  void ConfigureAfterOpen() override {}

  bool IsConnected() const { return connected_; }

 private:
  void CreateSocket();
  // Connects, with one more attempt on a fresh socket; on failure sets 2501
  // and "*Connect Fail! WSAGetLastError:<n>".
  bool Connect();
  void CloseSocket();

  TCPIPPortSettings settings_;
  platform::TcpSocket socket_;
  uint32_t remoteAddress_ = 0;
  uint16_t remotePort_ = 0;
  bool connected_ = false;
  bool netStarted_ = false;
};

}  // namespace IO
}  // namespace QEL
