#pragma once
// A port that records what is written and plays scripted replies, for tests
// of everything above the port layer.
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "so/io/IPort.h"

namespace testing_support {

class FakePortSettings : public QEL::IO::IPortSettings {
 public:
  explicit FakePortSettings(std::u16string type = u"TCP/IP") : type_(std::move(type)) {}
  std::u16string ToString() override { return u"fake"; }
  void Parse(const std::u16string&) override {}
  std::u16string GetPortName() override { return u"fake"; }
  std::u16string GetPortType() override { return type_; }
  int32_t GetFirstSizeValue() override { return 2048; }
  int32_t GetSecondSizeValue() override { return 2048; }
  int32_t GetWriteTimeout() override { return 1000; }
  int32_t GetReadTimeout() override { return 1000; }

 private:
  std::u16string type_;
};

class FakePort : public QEL::IO::IPort {
 public:
  explicit FakePort(std::u16string type = u"TCP/IP") : settings_(std::move(type)) {}

  // --- test controls ---
  void FailOpen(bool fail) { std::lock_guard<std::mutex> l(m_); failOpen_ = fail; }
  void FailWrites(bool fail) { std::lock_guard<std::mutex> l(m_); failWrites_ = fail; }
  void SetReadBack(int32_t value) { readBack_ = value; }
  // Bytes the "printer" will answer with, in order.
  void QueueReply(const std::vector<uint8_t>& bytes);
  // Bytes the "printer" answers once the next write arrived, as a real
  // printer answers a request only after it got it.
  void ReplyAfterNextWrite(const std::vector<uint8_t>& bytes);
  std::vector<uint8_t> Written() const;
  // Every write call as its own chunk, to check what went out in one piece.
  std::vector<std::vector<uint8_t>> WriteCalls() const;
  void ClearWritten();
  int OpenCount() const { std::lock_guard<std::mutex> l(m_); return opens_; }
  int CloseCount() const { std::lock_guard<std::mutex> l(m_); return closes_; }

  // --- IPort ---
  QEL::IO::IPortSettings* GetSettings() override { return &settings_; }
  int32_t Probe() override;
  int32_t QueryReadBack() override { return readBack_; }
  int32_t IsOpen() override { std::lock_guard<std::mutex> l(m_); return open_ ? 1 : 0; }
  int32_t Open() override;
  void Close() override;
  int32_t Write(const uint8_t* data, int32_t offset, int32_t count) override;
  void WaitForData(uint8_t*, int32_t, QEL::IO::WaitCallback) override {}
  void StopWaiting() override {}
  int32_t Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
               int32_t waitForAll) override;
  int32_t ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received) override;
  int32_t IsReadCallbackEnabled() override { return 0; }
  void EnableReadCallback(int32_t) override {}
  int32_t BeginAsyncRead(uint8_t*, int32_t, int32_t) override { return 0; }
  void OnAsyncReadComplete(uint32_t, uint32_t, void*) override {}
  void ReservedOperation() override {}
  void SetReadCallback(QEL::IO::ReadCallback) override {}
  int32_t GetSystemError() override { return 0; }
  std::u16string GetErrorText() override { return u""; }
  int32_t GetErrorCode() override { return 0; }
  int32_t GetCancel(int32_t* cancel) override { if (cancel) *cancel = 0; return 0; }
  int32_t SetCancel(int32_t) override { return 0; }
  void RefreshDevicePath() override {}
  void ConfigureAfterOpen() override {}
  int32_t LoadCommState() override { return 0; }
  int32_t ApplyCommState() override { return 0; }

 private:
  int32_t TakeReply(uint8_t* buffer, int32_t count);

  FakePortSettings settings_;
  mutable std::mutex m_;
  bool open_ = false;
  bool failOpen_ = false;
  bool failWrites_ = false;
  int32_t readBack_ = 0;
  int opens_ = 0;
  int closes_ = 0;
  std::vector<std::vector<uint8_t>> writes_;
  std::deque<uint8_t> replies_;
  std::deque<std::vector<uint8_t>> answers_;
};

}  // namespace testing_support
