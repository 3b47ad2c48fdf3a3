// The QX1270 family's checksummed frames.
#include <gtest/gtest.h>

#include <vector>

#include "so/format/BuilderCases_test.h"
#include "so/format/CmdHelper_QX1270.h"

using namespace QEL::Printer;
using namespace QEL::Printer::test;

namespace {

// PrinterBuffer is not copyable, so the tests fill one in place.
void Fill(PrinterBuffer& b, const Bytes& bytes) { b.append(bytes.data(), bytes.size()); }

// Splits framed output back into payloads, checking each frame's layout.
std::vector<Bytes> Unframe(const Bytes& framed) {
  std::vector<Bytes> payloads;
  size_t i = 0;
  while (i < framed.size()) {
    EXPECT_EQ(framed[i], 0xAA) << "frame start at " << i;
    if (i + 1 >= framed.size()) break;
    const size_t n = framed[i + 1];
    if (i + 2 + n + 2 > framed.size()) {
      ADD_FAILURE() << "frame at " << i << " runs past the end";
      break;
    }
    Bytes payload(framed.begin() + i + 2, framed.begin() + i + 2 + n);
    uint8_t check = 0;
    for (uint8_t b : payload) check ^= b;
    EXPECT_EQ(framed[i + 2 + n], check) << "checksum of frame at " << i;
    EXPECT_EQ(framed[i + 3 + n], 0xBB) << "frame end at " << i;
    payloads.push_back(payload);
    i += n + 4;
  }
  return payloads;
}

TEST(CmdHelper_QX1270Framing, ShortDataIsOneFrame) {
  CmdHelper_QX1270 helper;
  PrinterBuffer out, data;
  Fill(data, Hex("1B 40 0A"));
  out.pushByte(kSentinel);
  helper.PackOutput(out, data);
  EXPECT_EQ(ToHex(Content(out)), ToHex(Hex("EE AA 03 1B 40 0A 51 BB")));
}

TEST(CmdHelper_QX1270Framing, LongDataIsCutIntoChunksOf46) {
  CmdHelper_QX1270 helper;
  const struct {
    size_t length;
    std::vector<size_t> chunks;
  } rows[] = {
      {1, {1}}, {45, {45}}, {46, {46}}, {47, {46, 1}}, {92, {46, 46}}, {100, {46, 46, 8}},
  };
  for (const auto& r : rows) {
    Bytes data(r.length);
    for (size_t i = 0; i < r.length; ++i) data[i] = static_cast<uint8_t>(i * 37 + 11);
    PrinterBuffer out, in;
    Fill(in, data);
    helper.PackOutput(out, in);
    EXPECT_EQ(out.size(), r.length + 4 * r.chunks.size()) << r.length;
    const std::vector<Bytes> payloads = Unframe(Content(out));
    ASSERT_EQ(payloads.size(), r.chunks.size()) << r.length;
    Bytes joined;
    for (size_t k = 0; k < payloads.size(); ++k) {
      EXPECT_EQ(payloads[k].size(), r.chunks[k]) << r.length;
      joined.insert(joined.end(), payloads[k].begin(), payloads[k].end());
    }
    EXPECT_EQ(joined, data) << r.length;
  }
}

TEST(CmdHelper_QX1270Framing, EmptyDataMakesNoFrame) {
  CmdHelper_QX1270 helper;
  PrinterBuffer empty, out;
  helper.PackOutput(out, empty);
  EXPECT_TRUE(out.isEmpty());
}

TEST(CmdHelper_QX1270Framing, FramingABufferIntoItselfReadsTheOriginal) {
  CmdHelper_QX1270 helper;
  PrinterBuffer b;
  Fill(b, Hex("1B 40 0A"));
  helper.PackOutput(b, b);
  EXPECT_EQ(ToHex(Content(b)), ToHex(Hex("1B 40 0A AA 03 1B 40 0A 51 BB")));

  CCmdHelperBase base;
  PrinterBuffer c;
  Fill(c, Hex("1B 40"));
  base.PackOutput(c, c);
  EXPECT_EQ(ToHex(Content(c)), ToHex(Hex("1B 40 1B 40")));
}

TEST(CmdHelper_QX1270Framing, StandardSetSendsDataUnframed) {
  CCmdHelperBase helper;
  PrinterBuffer out, data;
  Fill(data, Hex("1B 40 0A"));
  helper.PackOutput(out, data);
  EXPECT_EQ(ToHex(Content(out)), ToHex(Hex("1B 40 0A")));
}

TEST(CmdHelper_QX1270Framing, RealtimeStatusRequestIsFramed) {
  CmdHelper_QX1270 helper;
  CCmdHelperBase& asBase = helper;
  ExpectCases(asBase, {
      APPENDS("AA 03 10 04 01 15 BB", h.RequestRealtimeStatus(out, 1)),
      APPENDS("AA 03 10 04 02 16 BB", h.RequestRealtimeStatus(out, 2)),
      APPENDS("AA 03 10 04 03 17 BB", h.RequestRealtimeStatus(out, 3)),
      APPENDS("AA 03 10 04 04 10 BB", h.RequestRealtimeStatus(out, 4)),
  });
}

}  // namespace
