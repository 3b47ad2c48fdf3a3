#include "so/printer/CPrinterPort.h"

namespace QEL {
namespace Printer {

namespace {
// Unlocks on every path, including a port that throws.
struct TriedLock {
  explicit TriedLock(std::recursive_mutex& m) : mutex(m), held(m.try_lock()) {}
  ~TriedLock() {
    if (held) mutex.unlock();
  }
  std::recursive_mutex& mutex;
  bool held;
};
}  // namespace

int32_t CPrinterPort::probe() {
  TriedLock lock(lock_);
  if (!lock.held || !port_) return 0;
  return port_->Probe();
}

int32_t CPrinterPort::openForClaim(int32_t* result) {
  TriedLock lock(lock_);
  if (!lock.held) {
    if (result != nullptr) *result = 113;
    return 0;
  }
  if (!port_) return 0;
  return port_->Open();
}

int32_t CPrinterPort::write(const uint8_t* data, int32_t offset, int32_t count) {
  TriedLock lock(lock_);
  if (!lock.held || !port_ || !port_->IsOpen()) return 0;
  return port_->Write(data, offset, count);
}

int32_t CPrinterPort::read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
                           int32_t waitForAll) {
  if (received != nullptr) *received = 0;
  TriedLock lock(lock_);
  if (!lock.held || !port_ || !port_->IsOpen()) return 0;
  return port_->Read(buffer, offset, count, received, waitForAll);
}

int32_t CPrinterPort::readAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                                    int32_t* received) {
  if (received != nullptr) *received = 0;
  TriedLock lock(lock_);
  if (!lock.held || !port_ || !port_->IsOpen()) return 0;
  return port_->ReadAvailable(buffer, offset, count, received);
}

void CPrinterPort::close() {
  TriedLock lock(lock_);
  if (lock.held && port_) port_->Close();
}

bool CPrinterPort::LockWithRetry(int retries, uint32_t pauseMs) {
  if (lock_.try_lock()) return true;
  for (int i = 0; i < retries; ++i) {
    clock_->SleepMs(pauseMs);
    if (lock_.try_lock()) return true;
  }
  return false;
}

}  // namespace Printer
}  // namespace QEL
