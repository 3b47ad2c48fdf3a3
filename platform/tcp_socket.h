#pragma once
// IPv4 TCP client socket. The Win32 side is Winsock 2, the POSIX side BSD
// sockets; time-outs are applied per call with the system's readiness wait so
// that no call can block longer than asked. A negative time-out waits without
// limit; 0 only looks at what is possible right now.
//
// Every valid socket holds one NetStartup reference of its own, released when
// it is closed, so a socket works even if its owner never called NetStartup.
#include <cstddef>
#include <cstdint>

namespace platform {

// Reference-counted network start-up (WSAStartup/WSACleanup on Windows,
// nothing on POSIX). Every successful NetStartup needs one NetCleanup.
bool NetStartup();
void NetCleanup();

// inet_addr semantics: dotted IPv4 text to an address in network byte order;
// 0xFFFFFFFF when the text is not an address.
uint32_t ParseIPv4(const char* text);

class TcpSocket {
 public:
  TcpSocket();
  ~TcpSocket();
  TcpSocket(const TcpSocket&) = delete;
  TcpSocket& operator=(const TcpSocket&) = delete;
  TcpSocket(TcpSocket&& other) noexcept;
  TcpSocket& operator=(TcpSocket&& other) noexcept;

  // Closes any socket held, then creates a fresh one (close-on-exec / not
  // inherited by child processes).
  bool Create();
  bool IsValid() const;
  // TCP_NODELAY on, receive and send time-outs, no linger, 4096-byte send buffer.
  void ApplyPrinterOptions(int readTimeoutMs, int writeTimeoutMs);
  bool BindAnyLocal();
  // A small receive buffer makes a slow reader push back on its sender soon.
  bool SetReceiveBufferSize(int bytes);
  // Connects within timeoutMs; the socket is blocking again afterwards. After a
  // failed connect the socket should be closed and created anew.
  bool Connect(uint32_t addressNetworkOrder, uint16_t port, int timeoutMs);
  // Hands over at most n bytes within timeoutMs. Returns false on a socket
  // error (LastError tells which); a time-out is success with *sent < n.
  // Never raises SIGPIPE.
  bool Send(const uint8_t* data, size_t n, int timeoutMs, size_t* sent);
  // Waits up to timeoutMs for data and takes what is there (at most n bytes;
  // n = 0 succeeds at once).
  // Returns false on error, on time-out with nothing (TimedOut() is then
  // true), and when the peer closed (LastError is then the system's "not
  // connected" code).
  bool Receive(uint8_t* buffer, size_t n, int timeoutMs, size_t* received);
  // True when the peer has closed or reset the connection and no unread data
  // stands in front of that; never blocks and consumes nothing. Also true when
  // there is no socket at all.
  bool PeerHasClosed();
  // Shuts both directions down and closes the socket.
  void Close();
  // The system's code of the last failure of this socket (Winsock error on
  // Windows, errno on POSIX).
  int LastError() const { return lastError_; }
  // True when the last Connect, Send or Receive ended because its time ran out.
  bool TimedOut() const { return timedOut_; }
  intptr_t NativeHandle() const { return handle_; }

  // For the listener: adopts an accepted native socket (takes its own
  // NetStartup reference).
  static TcpSocket Adopt(intptr_t nativeHandle);

 private:
  intptr_t handle_;
  int lastError_ = 0;
  bool timedOut_ = false;
};

}  // namespace platform
