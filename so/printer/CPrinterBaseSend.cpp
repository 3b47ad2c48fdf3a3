// The send path: a finished job goes to the printer at once or into the
// worker's queue, and the exchanges that write a request and read the
// printer's reply hold the port for the whole exchange.
#include <algorithm>
#include <functional>

#include "so/printer/CPrinterBase.h"
#include "so/printer/OutputIdCounter.h"

namespace QEL {
namespace Printer {

namespace {
// Ten seconds in all before a send or an exchange reports the port busy.
constexpr int kLockRetries = 100;
constexpr uint32_t kLockPauseMs = 100;
constexpr uint8_t kFrameEnd = 0xBB;

// Keeps the worker's status poll away from the port for a whole exchange, so
// that it cannot swallow the reply meant for this one.
class PollingPause {
 public:
  PollingPause(std::function<void()> pause, std::function<void()> resume) : resume_(std::move(resume)) {
    pause();
  }
  ~PollingPause() { resume_(); }

 private:
  std::function<void()> resume_;
};

constexpr uint32_t kReplyLimitMs = 2000;
// A reader that got nothing at all gives up after this many passes.
constexpr int kEmptyPasses = 7;

bool Expired(platform::Clock& clock, uint32_t start, uint32_t limitMs) {
  return static_cast<uint32_t>(clock.NowMs() - start) >= limitMs;
}
}  // namespace

int32_t CPrinterBase::Send(PrinterBuffer& buffer, int32_t toFront) {
  set_printerSettings(buffer);
  const bool queueIt = props_.asyncMode == 1 && !IsQX1270Family();
  if (!queueIt) {
    if (IsIdle()) return DirectSend(buffer, 0, 7);
    if (!toFront) return OPOS_E_BUSY;
  }
  if (!worker_) return OPOS_E_FAILURE;
  try {
    worker_->QueueOutput(buffer.data(), static_cast<int32_t>(buffer.size()), OutputIdCounter::Next(),
                         toFront != 0);
  } catch (const std::bad_alloc&) {
    return OPOS_E_FAILURE;  // neither worker heap could hold the copy
  }
  return OPOS_SUCCESS;
}

int32_t CPrinterBase::DirectSend(PrinterBuffer& buffer, int32_t expectReply, uint8_t replyLength) {
  if (!port_) return OPOS_E_NOHARDWARE;
  // Nothing to send is not a hardware failure (a port refuses a write of 0 bytes).
  if (buffer.isEmpty() && !expectReply) return OPOS_SUCCESS;
  std::shared_ptr<CPrinterPort> port = port_;
  PollingPause pause([this] { PauseWorkerPolling(); }, [this] { ResumeWorkerPolling(); });
  PortLockHolder lock(*port, kLockRetries, kLockPauseMs);
  if (!lock.Held()) return OPOS_E_BUSY;

  if (IsQX1270Family() && bidirectional_) {
    PrinterBuffer framed(32, 32);
    cmdHelper_->PackOutput(framed, buffer);
    if (!port->write(framed.data(), 0, static_cast<int32_t>(framed.size()))) {
      return OPOS_E_NOHARDWARE;
    }
    clock_->SleepMs(10);
    size_t stored = 0;
    while (stored < sizeof readBackArea_) {
      int32_t got = 0;
      port->readAvailable(readBackArea_, static_cast<int32_t>(stored),
                          static_cast<int32_t>(sizeof readBackArea_ - stored), &got);
      if (got <= 0) break;
      stored += static_cast<size_t>(got);
      if (readBackArea_[stored - 1] == kFrameEnd) break;
    }
    return OPOS_SUCCESS;
  }

  if (!port->write(buffer.data(), 0, static_cast<int32_t>(buffer.size()))) {
    return OPOS_E_NOHARDWARE;
  }
  if (bidirectional_ && expectReply) {
    int32_t received = 0;
    const int32_t rc = ReadData(readBackArea_, 0, static_cast<int32_t>(sizeof readBackArea_),
                                &received, 2000);
    if (rc != OPOS_SUCCESS) return rc;
    if (received != replyLength) return OPOS_E_FAILURE;
  }
  return OPOS_SUCCESS;
}

int32_t CPrinterBase::SendAndReadData(PrinterBuffer& buffer, uint8_t* destination, int32_t offset,
                                      int32_t count, int32_t* received) {
  if (received != nullptr) *received = 0;
  if (!port_) return OPOS_E_OFFLINE;
  std::shared_ptr<CPrinterPort> port = port_;
  PortLockHolder lock(*port, kLockRetries, kLockPauseMs);
  if (!lock.Held()) return OPOS_E_BUSY;

  // Whatever the printer said before this request is not its answer.
  for (int i = 0; i < 64; ++i) {
    int32_t stale = 0;
    port->readAvailable(replyArea_, 0, static_cast<int32_t>(sizeof replyArea_), &stale);
    if (stale <= 0) break;
  }

  set_printerSettings(buffer);
  if (!port->write(buffer.data(), 0, static_cast<int32_t>(buffer.size()))) return OPOS_E_OFFLINE;

  if (count > 0) {
    clock_->SleepMs(10);
    std::unique_ptr<uint8_t[]> scratch;
    uint8_t* target = destination;
    int32_t at = offset;
    if (target == nullptr) {
      scratch.reset(new uint8_t[static_cast<size_t>(count)]);
      target = scratch.get();
      at = 0;
    }
    int32_t got = 0;
    const int32_t rc = port->read(target, at, count, &got, 1);
    if (received != nullptr) *received = got;
    return rc ? OPOS_SUCCESS : OPOS_E_OFFLINE;
  }
  if (count < 0) {
    clock_->SleepMs(10);
    bool anyRead = false;
    int32_t total = 0;
    for (;;) {
      uint8_t byte = 0;
      int32_t got = 0;
      if (!port->read(&byte, 0, 1, &got, 1) || got == 0) break;
      anyRead = true;
      if (destination != nullptr) destination[offset + total] = byte;
      ++total;
      clock_->SleepMs(2);
    }
    if (received != nullptr) *received = total;
    return anyRead ? OPOS_SUCCESS : OPOS_E_OFFLINE;
  }
  return OPOS_E_OFFLINE;
}

int32_t CPrinterBase::SendAndReadString(PrinterBuffer& buffer, uint8_t* destination, int32_t offset,
                                        int32_t maximum, uint8_t endByte, int32_t* received) {
  if (received != nullptr) *received = 0;
  const int32_t rc = DirectSend(buffer, 0, 7);
  clock_->SleepMs(50);
  if (rc != 0) return rc;
  return ReadData(destination, offset, maximum, endByte, received, kReplyLimitMs);
}

int32_t CPrinterBase::SendAndReadString(PrinterBuffer& buffer, uint8_t* destination, int32_t offset,
                                        int32_t maximum, uint8_t startByte, uint8_t endByte,
                                        int32_t* received) {
  if (received != nullptr) *received = 0;
  const int32_t rc = DirectSend(buffer, 0, 7);
  clock_->SleepMs(50);
  if (rc != 0) return rc;
  return ReadData(destination, offset, maximum, startByte, endByte, received, kReplyLimitMs);
}

int32_t CPrinterBase::ReadData(uint8_t* destination, int32_t offset, int32_t maximum,
                               uint8_t startByte, uint8_t endByte, int32_t* received,
                               uint32_t limitMs) {
  if (received != nullptr) *received = 0;
  std::shared_ptr<CPrinterPort> port = port_;
  if (!port || destination == nullptr || maximum <= 0) return OPOS_E_OFFLINE;
  PortLockHolder lock(*port, kLockRetries, kLockPauseMs);
  if (!lock.Held()) return OPOS_E_BUSY;

  const uint32_t start = clock_->NowMs();
  bool anyRead = false, started = false, ended = false;
  int32_t stored = 0;
  for (int pass = 1; !ended && !Expired(*clock_, start, limitMs); ++pass) {
    if (pass > kEmptyPasses && stored == 0) break;
    int32_t got = 0;
    if (port->readAvailable(readBackArea_, 0, static_cast<int32_t>(sizeof readBackArea_), &got)) {
      anyRead = true;
    }
    for (int32_t i = 0; i < got && !ended; ++i) {
      const uint8_t b = readBackArea_[i];
      if (!started) {
        started = b == startByte;
        continue;
      }
      if (b == endByte) {
        ended = true;
      } else if (stored < maximum) {
        destination[offset + stored++] = b;
      }
    }
    if (!ended) clock_->SleepMs(50);
  }
  if (received != nullptr) *received = stored;
  return anyRead ? OPOS_SUCCESS : OPOS_E_OFFLINE;
}

int32_t CPrinterBase::ReadData(uint8_t* destination, int32_t offset, int32_t maximum,
                               uint8_t endByte, int32_t* received, uint32_t limitMs) {
  if (received != nullptr) *received = 0;
  std::shared_ptr<CPrinterPort> port = port_;
  if (!port || destination == nullptr || maximum <= 0) return OPOS_E_OFFLINE;
  PortLockHolder lock(*port, kLockRetries, kLockPauseMs);
  if (!lock.Held()) return OPOS_E_BUSY;

  const uint32_t start = clock_->NowMs();
  bool anyRead = false, ended = false;
  int32_t stored = 0;
  for (int pass = 1; !ended && !Expired(*clock_, start, limitMs); ++pass) {
    if (pass > kEmptyPasses && stored == 0) break;
    clock_->SleepMs(10);
    int32_t got = 0;
    if (port->readAvailable(readBackArea_, 0, static_cast<int32_t>(sizeof readBackArea_), &got)) {
      anyRead = true;
    }
    for (int32_t i = 0; i < got && !ended; ++i) {
      if (readBackArea_[i] == endByte) {
        ended = true;
      } else if (stored < maximum) {
        destination[offset + stored++] = readBackArea_[i];
      }
    }
  }
  if (received != nullptr) *received = stored;
  return anyRead ? OPOS_SUCCESS : OPOS_E_OFFLINE;
}

int32_t CPrinterBase::ReadData(uint8_t* destination, int32_t offset, int32_t count,
                               int32_t* received, uint32_t limitMs) {
  if (received != nullptr) *received = 0;
  std::shared_ptr<CPrinterPort> port = port_;
  if (!port || destination == nullptr || count <= 0) return OPOS_E_OFFLINE;
  PortLockHolder lock(*port, kLockRetries, kLockPauseMs);
  if (!lock.Held()) return OPOS_E_BUSY;

  const uint32_t start = clock_->NowMs();
  bool anyRead = false;
  int32_t stored = 0;
  for (int pass = 1; stored < count && !Expired(*clock_, start, limitMs); ++pass) {
    if (pass > kEmptyPasses && stored == 0) break;
    int32_t got = 0;
    if (port->read(destination, offset + stored, count - stored, &got, 0)) anyRead = true;
    if (got > 0) stored += got;
  }
  if (received != nullptr) *received = stored;
  return anyRead ? OPOS_SUCCESS : OPOS_E_OFFLINE;
}

}  // namespace Printer
}  // namespace QEL
