#pragma once
// An ESC/POS printer on TCP 127.0.0.1: accepts one connection after another,
// keeps every byte it receives (across connections), and answers status
// requests from a state the caller controls. One serving thread does all the
// socket work; the other methods only exchange data with it under a lock, so
// they may be called from any thread at any time.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/tcp_listener.h"
#include "sim/printer_state.h"

namespace sim {

class VirtualPrinter {
 public:
  // Called on the serving thread after each connection closed, with the
  // bytes of that connection and its number (1 for the first).
  using ConnectionClosed = std::function<void(int number, const std::vector<uint8_t>& bytes)>;

  VirtualPrinter();
  ~VirtualPrinter();  // stops
  VirtualPrinter(const VirtualPrinter&) = delete;
  VirtualPrinter& operator=(const VirtualPrinter&) = delete;

  // Port 0 picks a free port. False when the port cannot be bound or the
  // printer is already running.
  bool Start(uint16_t port = 0);
  // Closes the connection and the listener and joins the serving thread.
  void Stop();
  bool Running() const;
  uint16_t Port() const;

  std::vector<uint8_t> Received() const;
  void ClearReceived();
  // True once Received() holds at least count bytes; false after timeoutMs.
  bool WaitForReceived(size_t count, int timeoutMs) const;
  int ConnectionsAccepted() const;
  // Malformed commands a printer would mishandle (sim/command_rules.h) in the
  // connections closed so far, a command cut short by its connection's end
  // included. Each connection is counted when it closes.
  int InvalidCommands() const;
  // True once ConnectionsAccepted() reaches count; false after timeoutMs.
  bool WaitForConnections(int count, int timeoutMs) const;
  // True once Received() holds `bytes` as one run (anywhere, across
  // connections); false after timeoutMs. Since a connection delivers in
  // order, everything its client wrote before those bytes has arrived too.
  bool WaitForBytes(const std::vector<uint8_t>& bytes, int timeoutMs) const;
  // True once `count` bytes (counted since the printer was made, whatever
  // ClearReceived did) were taken in completely: answered (or, when silent,
  // not), after the state changes made before they arrived.
  bool WaitForHandled(size_t count, int timeoutMs) const;
  // True once at least `connections` connections were accepted and none is
  // open any more (each was closed by its peer or dropped); false after
  // timeoutMs. A client's connect may succeed before this printer accepts
  // it, so "none open" alone says nothing until the count is reached.
  bool WaitForIdle(int connections, int timeoutMs) const;

  // Takes effect at once, also in the middle of a connection; with automatic
  // status back on, every change is pushed to the client in order.
  void SetState(const PrinterState& state);
  PrinterState State() const;
  void SetIdentity(const PrinterIdentity& identity);  // for connections accepted later

  // Closes the current connection (the client must reconnect) and returns
  // once it is closed; does nothing when no connection is open.
  void DropConnection();
  // Reads everything but never answers.
  void SetSilent(bool silent);
  // Slow mode: after each received chunk the printer sleeps this long and reads
  // in small chunks through a small receive buffer, so a sender soon sees
  // back-pressure. 0 turns it off.
  void SetAcceptDelayPerChunk(int ms);
  void SetConnectionClosedHandler(ConnectionClosed handler);

  std::string Transcript() const;

 private:
  void Serve();
  void ServeConnection(platform::TcpSocket& connection, int number);
  bool StopRequested() const;

  static constexpr int kSlowChunk = 16;
  static constexpr int kSlowReceiveBuffer = 2048;

  std::mutex lifecycle_;  // serialises Start and Stop
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  platform::TcpListener listener_;
  std::thread thread_;
  bool running_ = false;
  bool stop_ = false;
  uint16_t port_ = 0;

  std::vector<uint8_t> received_;
  size_t handled_ = 0;
  int connections_ = 0;
  int connectionsClosed_ = 0;
  int invalidCommands_ = 0;
  bool connected_ = false;
  bool dropRequested_ = false;
  PrinterState state_;
  std::vector<PrinterState> stateChanges_;  // not yet seen by the serving thread
  PrinterIdentity identity_;
  bool silent_ = false;
  int delayPerChunkMs_ = 0;
  ConnectionClosed onClosed_;
};

}  // namespace sim
