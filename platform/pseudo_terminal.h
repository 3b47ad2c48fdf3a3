#pragma once
// The master side of a pseudo-terminal, for a program that plays a serial
// device: a client opens the slave path as it would open /dev/ttyS0. A
// client's "session" lasts from its first byte until the last opener of the
// slave closed it. Only POSIX systems have them; on Windows Open fails.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

class PseudoTerminal {
 public:
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  static bool Available();

  // A new pseudo-terminal whose slave passes every byte unchanged (raw, no
  // echo), so that a client that sets up no line still talks binary.
  bool Open();
  bool IsOpen() const;
  // The path a client opens ("/dev/pts/N"); empty when not open.
  const std::string& SlavePath() const { return slavePath_; }
  // Waits up to timeoutMs until a client has the slave open and has sent at
  // least one byte.
  bool WaitForClient(int timeoutMs);
  // As TcpSocket::Receive: false on time-out with nothing (TimedOut() true)
  // and when every client closed the slave (TimedOut() false).
  bool Receive(uint8_t* buffer, size_t n, int timeoutMs, size_t* received);
  // Hands over at most n bytes within timeoutMs; false on an error.
  bool Send(const uint8_t* data, size_t n, int timeoutMs, size_t* sent);
  bool TimedOut() const { return timedOut_; }
  // Closes the master: clients of the slave see the line hang up.
  void Close();

 private:
  intptr_t master_;
  std::string slavePath_;
  bool timedOut_ = false;
};

}  // namespace platform
