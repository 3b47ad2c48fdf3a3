#include "sim/frame_reader.h"

namespace sim {

void FrameReader::Feed(const uint8_t* data, size_t n, FrameSink& sink) {
  for (size_t i = 0; i < n; ++i) Process(data[i], sink);
}

void FrameReader::Process(uint8_t b, FrameSink& sink) {
  if (!candidate_.empty()) {
    candidate_.push_back(b);
    size_t length = candidate_[1];
    if (length > kMaxPayload) {
      Reject(sink);
      return;
    }
    if (candidate_.size() < length + 4) return;
    if (candidate_.back() != kEnd) {
      Reject(sink);
      return;
    }
    uint8_t x = 0;
    for (size_t i = 0; i < length; ++i) x ^= candidate_[2 + i];
    std::vector<uint8_t> frame;
    frame.swap(candidate_);
    if (x != frame[2 + length]) {
      sink.OnBadFrame(frame.data(), frame.size());
      return;
    }
    sink.OnFrameBegin();
    scanner_.Feed(frame.data() + 2, length, sink, Dialect::kQx1270Frame);
    pendingIsFramed_ = scanner_.InCommand();
    sink.OnFrameEnd();
    return;
  }
  if (b == kStart && (!scanner_.InCommand() || pendingIsFramed_)) {
    candidate_.push_back(b);
    return;
  }
  scanner_.Feed(b, sink);
  if (!scanner_.InCommand()) pendingIsFramed_ = false;
}

void FrameReader::Reject(FrameSink& sink) {
  std::vector<uint8_t> held;
  held.swap(candidate_);
  // The start byte is ordinary data; everything after it may still hold a
  // frame of its own.
  scanner_.Feed(held[0], sink);
  if (!scanner_.InCommand()) pendingIsFramed_ = false;
  for (size_t i = 1; i < held.size(); ++i) Process(held[i], sink);
}

void FrameReader::FlushCandidate(FrameSink& sink) {
  // Each rejection leaves at most a shorter candidate behind.
  while (!candidate_.empty()) Reject(sink);
}

void FrameReader::Reset() {
  scanner_.Reset();
  candidate_.clear();
  pendingIsFramed_ = false;
}

}  // namespace sim
