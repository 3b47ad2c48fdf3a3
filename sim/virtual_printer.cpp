#include "sim/virtual_printer.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "sim/printer_logic.h"
#include "sim/transcript.h"

namespace sim {

namespace {

// Short waits keep the serving thread responsive to Stop, DropConnection and
// state changes without any cross-thread socket calls.
constexpr int kAcceptPollMs = 20;
constexpr int kReceivePollMs = 10;
constexpr int kReplyTimeoutMs = 1000;
// A possible frame start that gets no more bytes for this long is ordinary data.
constexpr int kFrameHoldMs = 200;
constexpr int kNormalChunk = 4096;
constexpr int kNormalReceiveBuffer = 128 * 1024;

}  // namespace

VirtualPrinter::VirtualPrinter() = default;

VirtualPrinter::~VirtualPrinter() { Stop(); }

bool VirtualPrinter::Start(uint16_t port) {
  std::lock_guard<std::mutex> life(lifecycle_);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_) return false;
  }
  if (!listener_.Listen("127.0.0.1", port)) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  port_ = listener_.Port();
  stop_ = false;
  running_ = true;
  connected_ = false;
  dropRequested_ = false;
  thread_ = std::thread(&VirtualPrinter::Serve, this);
  return true;
}

void VirtualPrinter::Stop() {
  std::lock_guard<std::mutex> life(lifecycle_);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!running_) return;
    stop_ = true;
    changed_.notify_all();
  }
  thread_.join();
  listener_.Close();
  std::lock_guard<std::mutex> lock(mutex_);
  running_ = false;
  connected_ = false;
  changed_.notify_all();
}

bool VirtualPrinter::Running() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_;
}

uint16_t VirtualPrinter::Port() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return port_;
}

std::vector<uint8_t> VirtualPrinter::Received() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

void VirtualPrinter::ClearReceived() {
  std::lock_guard<std::mutex> lock(mutex_);
  received_.clear();
}

bool VirtualPrinter::WaitForReceived(size_t count, int timeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return received_.size() >= count; });
}

int VirtualPrinter::ConnectionsAccepted() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connections_;
}

int VirtualPrinter::InvalidCommands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return invalidCommands_;
}

bool VirtualPrinter::WaitForConnections(int count, int timeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return connections_ >= count; });
}

bool VirtualPrinter::WaitForBytes(const std::vector<uint8_t>& bytes, int timeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
    return std::search(received_.begin(), received_.end(), bytes.begin(), bytes.end()) != received_.end();
  });
}

bool VirtualPrinter::WaitForHandled(size_t count, int timeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return handled_ >= count; });
}

bool VirtualPrinter::WaitForIdle(int connections, int timeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return connections_ >= connections && !connected_; });
}

void VirtualPrinter::SetState(const PrinterState& state) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (state == state_) return;
  state_ = state;
  if (connected_) stateChanges_.push_back(state);
}

PrinterState VirtualPrinter::State() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return state_;
}

void VirtualPrinter::SetIdentity(const PrinterIdentity& identity) {
  std::lock_guard<std::mutex> lock(mutex_);
  identity_ = identity;
}

void VirtualPrinter::DropConnection() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!running_ || !connected_) return;
  const int closedBefore = connectionsClosed_;
  dropRequested_ = true;
  // Bounded only as a safety net: the serving thread looks every few ms.
  changed_.wait_for(lock, std::chrono::seconds(10), [&] { return connectionsClosed_ != closedBefore || !running_; });
}

void VirtualPrinter::SetSilent(bool silent) {
  std::lock_guard<std::mutex> lock(mutex_);
  silent_ = silent;
}

void VirtualPrinter::SetAcceptDelayPerChunk(int ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  delayPerChunkMs_ = ms > 0 ? ms : 0;
}

void VirtualPrinter::SetConnectionClosedHandler(ConnectionClosed handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  onClosed_ = std::move(handler);
}

std::string VirtualPrinter::Transcript() const { return DecodeTranscript(Received()); }

bool VirtualPrinter::StopRequested() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stop_;
}

void VirtualPrinter::Serve() {
  bool smallBuffer = false;
  for (;;) {
    bool slow;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (stop_) return;
      slow = delayPerChunkMs_ > 0;
    }
    // Accepted connections inherit the listener's receive buffer.
    if (slow != smallBuffer) {
      listener_.SetReceiveBufferSize(slow ? kSlowReceiveBuffer : kNormalReceiveBuffer);
      smallBuffer = slow;
    }
    platform::TcpSocket connection;
    if (!listener_.Accept(&connection, kAcceptPollMs)) continue;
    int number;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      number = ++connections_;
      connected_ = true;
      dropRequested_ = false;
      stateChanges_.clear();
      changed_.notify_all();
    }
    ServeConnection(connection, number);
  }
}

void VirtualPrinter::ServeConnection(platform::TcpSocket& connection, int number) {
  PrinterIdentity identity;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    identity = identity_;
  }
  PrinterLogic logic(identity);
  std::vector<uint8_t> bytes;  // this connection's
  std::vector<uint8_t> replies;
  std::vector<uint8_t> buffer(kNormalChunk);
  bool smallBuffer = false;
  auto lastData = std::chrono::steady_clock::now();

  // Takes the current state and the changes made since the last look.
  auto look = [&](PrinterState* state, std::vector<PrinterState>* changes, bool* silent, int* delay) {
    std::lock_guard<std::mutex> lock(mutex_);
    *state = state_;
    changes->swap(stateChanges_);
    stateChanges_.clear();
    *silent = silent_;
    *delay = delayPerChunkMs_;
    return stop_ || dropRequested_;
  };
  auto answer = [&](bool silent) {
    if (!silent && !replies.empty()) {
      size_t sent = 0;
      connection.Send(replies.data(), replies.size(), kReplyTimeoutMs, &sent);
    }
    replies.clear();
  };

  for (;;) {
    PrinterState state;
    std::vector<PrinterState> changes;
    bool silent;
    int delay;
    if (look(&state, &changes, &silent, &delay)) break;
    for (const PrinterState& s : changes) logic.StateChanged(s, &replies);
    answer(silent);

    if ((delay > 0) != smallBuffer) {
      connection.SetReceiveBufferSize(delay > 0 ? kSlowReceiveBuffer : kNormalReceiveBuffer);
      smallBuffer = delay > 0;
    }
    size_t got = 0;
    size_t chunk = delay > 0 ? kSlowChunk : buffer.size();
    if (!connection.Receive(buffer.data(), chunk, kReceivePollMs, &got)) {
      if (!connection.TimedOut()) break;  // closed by the peer, or reset
      if (std::chrono::steady_clock::now() - lastData >= std::chrono::milliseconds(kFrameHoldMs)) {
        logic.Idle(state, &replies);
        answer(silent);
      }
      continue;
    }
    lastData = std::chrono::steady_clock::now();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      received_.insert(received_.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
      changed_.notify_all();
    }
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));

    // Changes made while the chunk was on its way go out before its answers.
    if (look(&state, &changes, &silent, &delay)) break;
    for (const PrinterState& s : changes) logic.StateChanged(s, &replies);
    logic.Receive(buffer.data(), got, state, &replies);
    answer(silent);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      handled_ += got;
      changed_.notify_all();
    }

    for (int slept = 0; slept < delay; slept += kReceivePollMs) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stop_ || dropRequested_) break;
      }
      int step = delay - slept < kReceivePollMs ? delay - slept : kReceivePollMs;
      std::this_thread::sleep_for(std::chrono::milliseconds(step));
    }
  }
  connection.Close();
  logic.JobEnded();

  ConnectionClosed onClosed;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    onClosed = onClosed_;
  }
  if (onClosed) onClosed(number, bytes);
  std::lock_guard<std::mutex> lock(mutex_);
  invalidCommands_ += logic.InvalidCommands();
  connected_ = false;
  dropRequested_ = false;
  ++connectionsClosed_;
  stateChanges_.clear();
  changed_.notify_all();
}

}  // namespace sim
