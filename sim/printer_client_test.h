#pragma once
// A client of the virtual printer in its tests, as the service's TCP/IP port
// would be one.
//
// That the printer did NOT send something is shown without waiting: a request
// sent afterwards is answered only after everything the printer had to say
// before it, so its answer must be the next byte that comes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/tcp_socket.h"

namespace sim {
namespace testclient {

// Only a safety net: each wait ends as soon as what it waits for happened.
constexpr int kWaitMs = 20000;

class Client {
 public:
  using Bytes = std::vector<uint8_t>;

  bool Connect(uint16_t port) {
    if (!socket_.Create()) return false;
    socket_.ApplyPrinterOptions(1000, 1000);
    return socket_.Connect(platform::ParseIPv4("127.0.0.1"), port, kWaitMs);
  }
  void Send(const Bytes& b) {
    size_t sent = 0;
    ASSERT_TRUE(socket_.Send(b.data(), b.size(), 2000, &sent));
    ASSERT_EQ(sent, b.size());
  }
  // Reads until n bytes came or nothing came within the time-out.
  Bytes Read(size_t n, int timeoutMs = kWaitMs) {
    Bytes out;
    uint8_t buf[256];
    while (out.size() < n) {
      size_t got = 0;
      if (!socket_.Receive(buf, std::min(sizeof buf, n - out.size()), timeoutMs, &got)) break;
      out.insert(out.end(), buf, buf + got);
    }
    return out;
  }
  platform::TcpSocket& Socket() { return socket_; }

 private:
  platform::TcpSocket socket_;
};

}  // namespace testclient
}  // namespace sim
