#include "testing/FakePort.h"

namespace testing_support {

void FakePort::QueueReply(const std::vector<uint8_t>& bytes) {
  std::lock_guard<std::mutex> l(m_);
  replies_.insert(replies_.end(), bytes.begin(), bytes.end());
}

void FakePort::ReplyAfterNextWrite(const std::vector<uint8_t>& bytes) {
  std::lock_guard<std::mutex> l(m_);
  answers_.push_back(bytes);
}

std::vector<uint8_t> FakePort::Written() const {
  std::lock_guard<std::mutex> l(m_);
  std::vector<uint8_t> all;
  for (const auto& w : writes_) all.insert(all.end(), w.begin(), w.end());
  return all;
}

std::vector<std::vector<uint8_t>> FakePort::WriteCalls() const {
  std::lock_guard<std::mutex> l(m_);
  return writes_;
}

void FakePort::ClearWritten() {
  std::lock_guard<std::mutex> l(m_);
  writes_.clear();
}

int32_t FakePort::Probe() {
  int32_t ok = Open();
  Close();
  return ok;
}

int32_t FakePort::Open() {
  std::lock_guard<std::mutex> l(m_);
  ++opens_;
  open_ = !failOpen_;
  return open_ ? 1 : 0;
}

void FakePort::Close() {
  std::lock_guard<std::mutex> l(m_);
  ++closes_;
  open_ = false;
}

int32_t FakePort::Write(const uint8_t* data, int32_t offset, int32_t count) {
  std::lock_guard<std::mutex> l(m_);
  if (count <= 0 || failWrites_ || !open_) return 0;
  writes_.emplace_back(data + offset, data + offset + count);
  if (!answers_.empty()) {
    replies_.insert(replies_.end(), answers_.front().begin(), answers_.front().end());
    answers_.pop_front();
  }
  return 1;
}

int32_t FakePort::TakeReply(uint8_t* buffer, int32_t count) {
  std::lock_guard<std::mutex> l(m_);
  int32_t n = 0;
  while (n < count && !replies_.empty()) {
    buffer[n++] = replies_.front();
    replies_.pop_front();
  }
  return n;
}

int32_t FakePort::Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
                       int32_t) {
  const int32_t n = TakeReply(buffer + offset, count);
  if (received) *received = n;
  return n > 0 ? 1 : 0;
}

int32_t FakePort::ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received) {
  const int32_t n = TakeReply(buffer + offset, count);
  if (received) *received = n;
  return n > 0 ? 1 : 0;
}

}  // namespace testing_support
