#include "so/base/PrinterBuffer.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace QEL {
namespace Printer {

namespace {
constexpr size_t kMaxCapacity = static_cast<size_t>(std::numeric_limits<int32_t>::max());
}

PrinterBuffer::PrinterBuffer(int32_t initialCapacity, int32_t growStep)
    : storage_(nullptr), begin_(nullptr), end_(nullptr), capacity_(0),
      growStep_(growStep > 0 ? growStep : 32) {
  if (initialCapacity < 1) initialCapacity = 1;
  storage_ = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(initialCapacity), 1));
  if (storage_ != nullptr) capacity_ = initialCapacity;
  begin_ = end_ = storage_;
}

PrinterBuffer::~PrinterBuffer() { std::free(storage_); }

void PrinterBuffer::clear() {
  if (storage_ != nullptr) std::memset(storage_, 0, static_cast<size_t>(capacity_));
  end_ = begin_;
}

bool PrinterBuffer::enlargeTo(size_t newCapacity) {
  if (newCapacity > kMaxCapacity) return false;
  size_t used = size();
  void* block = std::realloc(storage_, newCapacity);
  if (block == nullptr) return false;  // the old block is untouched
  storage_ = static_cast<uint8_t*>(block);
  begin_ = storage_;
  end_ = storage_ + used;
  capacity_ = static_cast<int32_t>(newCapacity);
  return true;
}

bool PrinterBuffer::growFor(size_t n) {
  const size_t used = size();
  const size_t cap = static_cast<size_t>(capacity_);
  if (n > kMaxCapacity || used + n + 1 < cap) return true;
  // Whole steps until the content fits with at least one spare byte.
  const size_t step = static_cast<size_t>(growStep_);
  // used + n may fall one short of the capacity, where the rule's quotient is 0.
  const size_t missing = used + n >= cap ? used + n - cap : 0;
  const size_t steps = missing / step + 1;
  size_t newCapacity = cap + step * steps;
  return enlargeTo(newCapacity);
}

bool PrinterBuffer::pushByte(uint8_t b) {
  if (!growFor(1)) return false;
  *end_++ = b;
  return true;
}

bool PrinterBuffer::append(const uint8_t* data, size_t n) {
  if (n == 0) return true;
  if (data == nullptr || n > kMaxCapacity || !growFor(n)) return false;
  std::memmove(end_, data, n);
  end_ += n;
  return true;
}

bool PrinterBuffer::insert(size_t position, const uint8_t* data, size_t n) {
  if (n == 0) return true;
  if (data == nullptr || position > size() || n > kMaxCapacity) return false;
  // The source may lie inside this buffer; the block can move when it grows.
  const uint8_t* source = data;
  uint8_t* copy = nullptr;
  if (data >= storage_ && data < storage_ + capacity_) {
    copy = static_cast<uint8_t*>(std::malloc(n));
    if (copy == nullptr) return false;
    std::memcpy(copy, data, n);
    source = copy;
  }
  bool ok = growFor(n);
  if (ok) {
    std::memmove(begin_ + position + n, begin_ + position, size() - position);
    std::memcpy(begin_ + position, source, n);
    end_ += n;
  }
  std::free(copy);
  return ok;
}

bool PrinterBuffer::reserve(size_t n, uint8_t fill) {
  const size_t cap = static_cast<size_t>(capacity_);
  if (n < cap) return true;
  if (n > cap && !enlargeTo(n)) return false;
  std::memset(end_, fill, n - size());
  return true;
}

bool PrinterBuffer::resize(size_t n, uint8_t fill) {
  if (n > kMaxCapacity - 32) return false;
  if (!reserve(n + 32, fill)) return false;
  const size_t used = size();
  if (n < used) std::memset(begin_ + n, fill, used - n);
  end_ = begin_ + n;
  return true;
}

void PrinterBuffer::fillAll(uint8_t b) {
  if (storage_ != nullptr) std::memset(storage_, b, static_cast<size_t>(capacity_));
}

}  // namespace Printer
}  // namespace QEL
