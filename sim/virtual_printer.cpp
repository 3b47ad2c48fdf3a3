#include "sim/virtual_printer.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "sim/png_file.h"
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

// A client session on the pseudo-terminal, shaped like a connected socket.
// Ending a session closes nothing: the next client opens the same slave.
class PtySession {
 public:
  explicit PtySession(platform::PseudoTerminal& pty) : pty_(pty) {}
  bool Receive(uint8_t* buffer, size_t n, int timeoutMs, size_t* got) {
    return pty_.Receive(buffer, n, timeoutMs, got);
  }
  bool Send(const uint8_t* data, size_t n, int timeoutMs, size_t* sent) {
    return pty_.Send(data, n, timeoutMs, sent);
  }
  bool TimedOut() const { return pty_.TimedOut(); }
  // The line has no window to shrink: a slow printer simply reads late.
  bool SetReceiveBufferSize(int) { return true; }
  void Close() {}

 private:
  platform::PseudoTerminal& pty_;
};

}  // namespace

VirtualPrinter::VirtualPrinter(std::shared_ptr<platform::Clock> clock) : clock_(std::move(clock)) {}

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

std::string VirtualPrinter::StartPty() {
  std::lock_guard<std::mutex> life(lifecycle_);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_) return std::string();
  }
  if (!pty_.Open()) return std::string();
  std::lock_guard<std::mutex> lock(mutex_);
  ptyPath_ = pty_.SlavePath();
  port_ = 0;
  stop_ = false;
  running_ = true;
  connected_ = false;
  dropRequested_ = false;
  thread_ = std::thread(&VirtualPrinter::ServePty, this);
  return ptyPath_;
}

std::string VirtualPrinter::PtyPath() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return ptyPath_;
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
  pty_.Close();
  std::lock_guard<std::mutex> lock(mutex_);
  ptyPath_.clear();
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
  receivedBase_ += received_.size();
  received_.clear();
  notes_.clear();
  sessionStarts_.clear();
  sessionConnections_.clear();
  nvAtClear_ = nv_;
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
  SettleDrawerLocked();
  if (state == state_) return;
  state_ = state;
  drawer_.FollowSensor(state.drawerSensor, clock_->NowMs());
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

void VirtualPrinter::SetIdleNoteHandler(IdleNote handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  onIdleNote_ = std::move(handler);
}

std::string VirtualPrinter::Transcript() const {
  std::vector<uint8_t> bytes;
  TranscriptOptions options;
  options.view = TranscriptView::kPrinter;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    bytes = received_;
    for (const TranscriptNote& note : notes_) {
      // A command read after ClearReceived may have arrived before it.
      const size_t offset = note.offset > receivedBase_ ? note.offset - receivedBase_ : 0;
      options.notes.push_back({offset, note.line});
    }
    for (size_t start : sessionStarts_) options.sessionStarts.push_back(start - receivedBase_);
    options.sessionConnections = sessionConnections_;
    options.imageDirectory = imageDirectory_;
    options.nvGraphics = nvAtClear_;
  }
  return DecodeTranscript(bytes, options);
}

void VirtualPrinter::SetImageDirectory(const std::string& directory) {
  std::lock_guard<std::mutex> lock(mutex_);
  imageDirectory_ = directory;
}

std::vector<VirtualPrinter::Printout> VirtualPrinter::Printouts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return printouts_;
}

NvGraphics VirtualPrinter::NvGraphicsAtConnectionStart() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return nvAtStart_;
}

bool VirtualPrinter::SetDrawerWiring(int pin, bool openLevelHigh) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!drawer_.SetWiring(pin, openLevelHigh)) return false;
  // The drawer stays as it is; what its sensor reads may not.
  if (state_.drawerSensor != drawer_.SensorLevel()) {
    state_.drawerSensor = drawer_.SensorLevel();
    if (connected_) stateChanges_.push_back(state_);
    changed_.notify_all();
  }
  return true;
}

void VirtualPrinter::SetDrawerClosesAfter(int ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  drawer_.SetClosesAfter(ms > 0 ? static_cast<uint32_t>(ms) : 0);
}

void VirtualPrinter::CloseDrawer() {
  std::lock_guard<std::mutex> lock(mutex_);
  SettleDrawerLocked();
  DrawerChangedLocked(drawer_.Close(), readPosition_);
}

void VirtualPrinter::OpenDrawerByHand() {
  std::lock_guard<std::mutex> lock(mutex_);
  SettleDrawerLocked();
  DrawerChangedLocked(drawer_.OpenByHand(clock_->NowMs()), readPosition_);
}

bool VirtualPrinter::DrawerOpen() {
  std::lock_guard<std::mutex> lock(mutex_);
  SettleDrawerLocked();
  return drawer_.IsOpen();
}

bool VirtualPrinter::WaitForDrawer(bool open, int timeoutMs) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return drawer_.IsOpen() == open; });
}

std::vector<DrawerPulse> VirtualPrinter::DrawerPulses() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return drawer_.Pulses();
}

void VirtualPrinter::SettleDrawerLocked() { DrawerChangedLocked(drawer_.CloseIfDue(clock_->NowMs()), readPosition_); }

void VirtualPrinter::DrawerChangedLocked(CashDrawer::Change change, size_t position) {
  if (change == CashDrawer::Change::kNone) return;
  state_.drawerSensor = drawer_.SensorLevel();
  if (connected_) stateChanges_.push_back(state_);
  AddNoteLocked(position, change == CashDrawer::Change::kOpened ? "DRAWER OPENED" : "DRAWER CLOSED");
  changed_.notify_all();
}

void VirtualPrinter::AddNoteLocked(size_t position, const char* line) {
  if (position < lastNote_) position = lastNote_;
  lastNote_ = position;
  notes_.push_back({position, line});
  if (connected_) {
    connectionNotes_.push_back({position - connectionStart_, line});
  } else {
    idleNotes_.push_back(line);
  }
}

std::vector<PrinterState> VirtualPrinter::KickDrawer(const DrawerPulse& pulse, size_t position) {
  std::lock_guard<std::mutex> lock(mutex_);
  SettleDrawerLocked();
  DrawerChangedLocked(drawer_.Pulse(pulse, clock_->NowMs()), connectionStart_ + position);
  // Whatever changed before the kick is reported before it, in order.
  std::vector<PrinterState> changes;
  changes.swap(stateChanges_);
  return changes;
}

void VirtualPrinter::DeliverIdleNotes() {
  std::vector<std::string> lines;
  IdleNote handler;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lines.swap(idleNotes_);
    handler = onIdleNote_;
  }
  if (!handler) return;
  for (const std::string& line : lines) handler(line);
}

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
      // The drawer closes on time whether or not anyone is connected.
      SettleDrawerLocked();
      if (stop_) return;
      slow = delayPerChunkMs_ > 0;
    }
    DeliverIdleNotes();
    // Accepted connections inherit the listener's receive buffer.
    if (slow != smallBuffer) {
      listener_.SetReceiveBufferSize(slow ? kSlowReceiveBuffer : kNormalReceiveBuffer);
      smallBuffer = slow;
    }
    platform::TcpSocket connection;
    if (!listener_.Accept(&connection, kAcceptPollMs)) continue;
    DeliverIdleNotes();  // what happened before the connection
    int number = ConnectionBegins();
    ServeConnection(connection, number);
  }
}

void VirtualPrinter::ServePty() {
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      SettleDrawerLocked();
      if (stop_) return;
    }
    DeliverIdleNotes();
    if (!pty_.WaitForClient(kAcceptPollMs)) continue;
    DeliverIdleNotes();
    int number = ConnectionBegins();
    PtySession session(pty_);
    ServeConnection(session, number);
  }
}

int VirtualPrinter::ConnectionBegins() {
  std::lock_guard<std::mutex> lock(mutex_);
  int number = ++connections_;
  connected_ = true;
  dropRequested_ = false;
  stateChanges_.clear();
  connectionStart_ = receivedBase_ + received_.size();
  sessionStarts_.push_back(connectionStart_);
  sessionConnections_.push_back(number);
  nvAtStart_ = nv_;
  readPosition_ = connectionStart_;
  connectionNotes_.clear();
  changed_.notify_all();
  return number;
}

template <class Connection>
void VirtualPrinter::ServeConnection(Connection& connection, int number) {
  PrinterIdentity identity;
  NvGraphics nv;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    identity = identity_;
    nv = nv_;
  }
  PrinterLogic logic(identity);
  logic.SetNvGraphics(nv);
  int printed = 0;
  // Files are written on this thread, outside the lock.
  auto collectPrintouts = [&] {
    std::vector<PrintedImage> images = logic.TakePrintedImages();
    if (images.empty()) return;
    std::string directory;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      directory = imageDirectory_;
    }
    std::vector<Printout> printouts;
    for (PrintedImage& image : images) {
      Printout printout;
      printout.connection = number;
      printout.index = ++printed;
      printout.image = std::move(image);
      if (!directory.empty()) {
        const std::string file = directory + "/" + std::to_string(number) + "-" + std::to_string(printout.index) + ".png";
        if (WritePngFile(file, printout.image)) printout.file = file;
      }
      printouts.push_back(std::move(printout));
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (Printout& printout : printouts) printouts_.push_back(std::move(printout));
  };
  logic.SetDrawerKick([this](const DrawerPulse& pulse, size_t position) { return KickDrawer(pulse, position); });
  std::vector<uint8_t> bytes;  // this connection's
  std::vector<uint8_t> replies;
  std::vector<uint8_t> buffer(kNormalChunk);
  bool smallBuffer = false;
  auto lastData = std::chrono::steady_clock::now();

  // Takes the current state and the changes made since the last look.
  auto look = [&](PrinterState* state, std::vector<PrinterState>* changes, bool* silent, int* delay) {
    std::lock_guard<std::mutex> lock(mutex_);
    SettleDrawerLocked();
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
        collectPrintouts();
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
    collectPrintouts();
    {
      // Before the answers: whoever has them may act on the drawer next.
      std::lock_guard<std::mutex> lock(mutex_);
      readPosition_ = connectionStart_ + logic.Position();
    }
    answer(silent);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      handled_ += got;
      changed_.notify_all();
    }

    for (int slept = 0; slept < delay; slept += kReceivePollMs) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        SettleDrawerLocked();
        if (stop_ || dropRequested_) break;
      }
      int step = delay - slept < kReceivePollMs ? delay - slept : kReceivePollMs;
      std::this_thread::sleep_for(std::chrono::milliseconds(step));
    }
  }
  connection.Close();
  logic.JobEnded();
  collectPrintouts();

  ConnectionClosed onClosed;
  std::vector<TranscriptNote> notes;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    onClosed = onClosed_;
    notes.swap(connectionNotes_);
  }
  if (onClosed) onClosed(number, bytes, notes);
  std::lock_guard<std::mutex> lock(mutex_);
  // Notes made while the handler ran come after the connection.
  for (const TranscriptNote& note : connectionNotes_) idleNotes_.push_back(note.line);
  connectionNotes_.clear();
  readPosition_ = receivedBase_ + received_.size();
  invalidCommands_ += logic.InvalidCommands();
  nv_ = logic.Modes().Images().Nv();
  connected_ = false;
  dropRequested_ = false;
  ++connectionsClosed_;
  stateChanges_.clear();
  changed_.notify_all();
}

}  // namespace sim
