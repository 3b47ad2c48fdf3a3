#include <algorithm>

#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

namespace {
constexpr int kLockRetries = 100;
constexpr uint32_t kLockPauseMs = 100;
constexpr uint32_t kReplyLimitMs = 2000;
// A reader that got nothing at all gives up after this many passes.
constexpr int kEmptyPasses = 7;

bool Expired(platform::Clock& clock, uint32_t start, uint32_t limitMs) {
  return static_cast<uint32_t>(clock.NowMs() - start) >= limitMs;
}
}  // namespace

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
