#pragma once
// An ESC/POS printer on TCP 127.0.0.1 (or on a pseudo-terminal): accepts one connection after another,
// keeps every byte it receives (across connections), and answers status
// requests from a state the caller controls. One serving thread does all the
// socket work; the other methods only exchange data with it under a lock, so
// they may be called from any thread at any time.
//
// A cash drawer hangs on its kick-out connector (sim/cash_drawer.h): a kick
// pulse on the wired pin opens it, the drawer sensor in every status answer
// follows it, and the transcript tells when it opened and closed.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/pseudo_terminal.h"
#include "platform/tcp_listener.h"
#include "sim/cash_drawer.h"
#include "sim/image_memory.h"
#include "sim/printer_state.h"
#include "sim/transcript.h"

namespace sim {

class VirtualPrinter {
 public:
  // Called on the serving thread after each connection closed, with the
  // bytes of that connection, its number (1 for the first) and the notes made
  // while it was open, placed in its bytes (for DecodeTranscript).
  using ConnectionClosed = std::function<void(int number, const std::vector<uint8_t>& bytes,
                                              const std::vector<TranscriptNote>& notes)>;
  // Called on the serving thread with each note made while no connection was
  // open ("DRAWER CLOSED" when the drawer closed after the job).
  using IdleNote = std::function<void(const std::string& line)>;

  // The clock times the drawer's closing.
  explicit VirtualPrinter(std::shared_ptr<platform::Clock> clock = platform::SystemClock());
  ~VirtualPrinter();  // stops
  VirtualPrinter(const VirtualPrinter&) = delete;
  VirtualPrinter& operator=(const VirtualPrinter&) = delete;

  // Port 0 picks a free port. False when the port cannot be bound or the
  // printer is already running.
  bool Start(uint16_t port = 0);
  // Serves a pseudo-terminal instead of TCP (POSIX only): a client opens the
  // returned slave path as a serial device. Each time a client sends its
  // first bytes after the slave had no opener, a connection begins; it ends
  // when the last opener closes the slave. Empty when no pseudo-terminal can
  // be made here or the printer is already running.
  std::string StartPty();
  // The slave path while serving a pseudo-terminal, else empty.
  std::string PtyPath() const;
  // Closes the connection and the listener (or the pseudo-terminal, whose
  // clients then see the line hang up) and joins the serving thread.
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
  // status back on, every change is pushed to the client in order. The
  // drawer sensor's level is set too, and the drawer follows it (open when
  // it is the open level): pass State() with your changes to leave the
  // drawer as it is.
  void SetState(const PrinterState& state);
  // The drawer sensor as last looked at: a timed close shows once the
  // serving thread (within a few ms) or DrawerOpen() noticed it.
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

  void SetIdleNoteHandler(IdleNote handler);

  // An image the printer put on paper (sim/image_memory.h).
  struct Printout {
    int connection = 0;  // its number, 1 for the first
    int index = 0;       // among the connection's printouts, from 1
    PrintedImage image;
    std::string file;  // the PNG written for it; empty when none was
  };
  // Each image printed from now on is written as DIR/<connection>-<index>.png
  // (the directory must exist), and the transcript's line for it names the
  // file. Empty: no files.
  void SetImageDirectory(const std::string& directory);
  // Every image printed since the printer was made, in order; an image is
  // here by the time WaitForHandled covers its command.
  std::vector<Printout> Printouts() const;
  // What NV memory held when the last connection began: the start for a
  // transcript of that connection's bytes alone (read it in the
  // ConnectionClosed handler).
  NvGraphics NvGraphicsAtConnectionStart() const;

  // The received bytes as the printer read them (TranscriptView::kPrinter,
  // each connection a session of its own), with DRAWER OPENED and DRAWER
  // CLOSED where the drawer did so. After ClearReceived the first bytes are
  // read as if the printer had just been switched on.
  std::string Transcript() const;

  // The drawer's solenoid on kick-out pin 2 or 5 (false, and nothing
  // changes, for any other pin); its sensor reads high when open, or low.
  // Default: pin 2, high.
  bool SetDrawerWiring(int pin, bool openLevelHigh);
  // The drawer is pushed shut this long after it opened; 0 (the default):
  // it stays open until CloseDrawer or SetState.
  void SetDrawerClosesAfter(int ms);
  // As a cashier would, with or without a connection open; each change is
  // reported like a kick's.
  void CloseDrawer();
  void OpenDrawerByHand();
  // Closes it first when its time is up.
  bool DrawerOpen();
  // True once the drawer is open (or closed, as asked) as the serving thread
  // sees it; false after timeoutMs.
  bool WaitForDrawer(bool open, int timeoutMs) const;
  // Every pulse put out on either pin, in order.
  std::vector<DrawerPulse> DrawerPulses() const;

 private:
  void Serve();
  void ServePty();
  // Counts and announces a new connection; returns its number.
  int ConnectionBegins();
  // Connection: a platform::TcpSocket, or the session of a pseudo-terminal.
  template <class Connection>
  void ServeConnection(Connection& connection, int number);
  bool StopRequested() const;

  // With mutex_ held: the timed close when due, and what a change of the
  // drawer brings (sensor, status push, note at a received-byte position).
  void SettleDrawerLocked();
  void DrawerChangedLocked(CashDrawer::Change change, size_t position);
  void AddNoteLocked(size_t position, const char* line);
  // On the serving thread, without the lock.
  std::vector<PrinterState> KickDrawer(const DrawerPulse& pulse, size_t position);
  void DeliverIdleNotes();

  static constexpr int kSlowChunk = 16;
  static constexpr int kSlowReceiveBuffer = 2048;

  const std::shared_ptr<platform::Clock> clock_;
  std::mutex lifecycle_;  // serialises Start and Stop
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  platform::TcpListener listener_;
  platform::PseudoTerminal pty_;
  std::string ptyPath_;
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
  IdleNote onIdleNote_;

  CashDrawer drawer_;
  // Positions count every byte received since the printer was made.
  size_t receivedBase_ = 0;     // the position of received_[0]
  size_t connectionStart_ = 0;  // of the open connection's first byte
  size_t readPosition_ = 0;     // how far the printer has read
  size_t lastNote_ = 0;         // notes never go back
  std::vector<TranscriptNote> notes_;            // at positions
  std::vector<size_t> sessionStarts_;            // the positions where connections began
  std::vector<TranscriptNote> connectionNotes_;  // in the open connection's bytes
  std::vector<std::string> idleNotes_;           // not yet delivered
  std::vector<int> sessionConnections_;          // the connection of each session start

  std::string imageDirectory_;
  std::vector<Printout> printouts_;
  NvGraphics nv_;              // as the last connection left it
  NvGraphics nvAtStart_;       // as the last connection found it
  NvGraphics nvAtClear_;       // when the bytes from received_[0] on began
};

}  // namespace sim
