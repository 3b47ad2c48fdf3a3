#pragma once
// The growable byte buffer in which every printer command is assembled. It has
// no lock of its own: its owner serialises use.
#include <cstddef>
#include <cstdint>

namespace QEL {
namespace Printer {

class PrinterBuffer {
 public:
  explicit PrinterBuffer(int32_t initialCapacity = 32, int32_t growStep = 32);
  ~PrinterBuffer();
  PrinterBuffer(const PrinterBuffer&) = delete;
  PrinterBuffer& operator=(const PrinterBuffer&) = delete;

  // Zero the whole block and empty the content; the capacity stays.
  void clear();
  // Empty the content without touching the block: for working buffers that
  // are refilled at once, where zeroing a block grown once would cost on
  // every reuse.
  void discard() { end_ = begin_; }
  // Appending operations return false, and change nothing, when the block
  // cannot be enlarged.
  bool pushByte(uint8_t b);
  bool append(const uint8_t* data, size_t n);
  bool append(const char* data, size_t n) { return append(reinterpret_cast<const uint8_t*>(data), n); }
  bool append(const PrinterBuffer& other) { return append(other.data(), other.size()); }
  bool insert(size_t position, const uint8_t* data, size_t n);
  bool reserve(size_t n, uint8_t fill);
  bool resize(size_t n, uint8_t fill);
  void fillAll(uint8_t b);

  const uint8_t* data() const { return begin_; }
  uint8_t* data() { return begin_; }
  uint8_t at(size_t i) const { return begin_[i]; }
  uint8_t* pointerAt(size_t i) { return begin_ + i; }
  size_t size() const { return static_cast<size_t>(end_ - begin_); }
  bool isEmpty() const { return end_ == begin_; }
  int32_t capacity() const { return capacity_; }
  int32_t growStep() const { return growStep_; }

 private:
  // Makes room for n more bytes by the growth rule.
  bool growFor(size_t n);
  bool enlargeTo(size_t newCapacity);

  uint8_t* storage_;
  uint8_t* begin_;
  uint8_t* end_;
  int32_t capacity_;
  int32_t growStep_;
};

}  // namespace Printer
}  // namespace QEL
