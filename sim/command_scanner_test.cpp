#include "sim/command_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sim {
namespace {

struct Token {
  TokenKind kind;
  std::vector<uint8_t> bytes;
  bool operator==(const Token& o) const { return kind == o.kind && bytes == o.bytes; }
};

struct Recorder : TokenSink {
  void OnToken(TokenKind kind, const uint8_t* bytes, size_t n, Dialect) override {
    tokens.push_back({kind, std::vector<uint8_t>(bytes, bytes + n)});
  }
  std::vector<Token> tokens;
};

std::vector<Token> Scan(const std::vector<uint8_t>& bytes, CommandScanner* scanner = nullptr) {
  CommandScanner local;
  CommandScanner& s = scanner ? *scanner : local;
  Recorder r;
  s.Feed(bytes.data(), bytes.size(), r);
  return r.tokens;
}

// A stream with commands whose parameters or data contain DLE EOT, ESC and
// NUL bytes: only the command lengths keep them apart.
const std::vector<std::vector<uint8_t>> kCommands = {
    {0x1B, 0x40},                                            // ESC @
    {0x1D, 0x4C, 0x10, 0x04},                                // GS L with nL nH = DLE EOT
    {0x1B, 0x2A, 0x21, 0x02, 0x00, 0x10, 0x04, 0x01, 0x1B, 0x40, 0x00},  // ESC * 33, 2 columns
    {0x1D, 0x76, 0x30, 0x00, 0x02, 0x00, 0x02, 0x00, 0x10, 0x04, 0x02, 0x1D},  // GS v 0, 2 x 2
    {0x1D, 0x28, 0x6B, 0x06, 0x00, 0x31, 0x50, 0x30, 0x10, 0x04, 0x04},  // QR store "\x10\x04\x04"
    {0x1D, 0x38, 0x4C, 0x03, 0x00, 0x00, 0x00, 0x30, 0x10, 0x04},  // GS 8 L, p = 3
    {0x1D, 0x6B, 0x49, 0x03, 0x10, 0x04, 0x01},              // GS k 73 with 3 data bytes
    {0x1D, 0x6B, 0x02, 0x34, 0x39, 0x00},                    // GS k 2 "49" NUL
    {0x1B, 0x44, 0x08, 0x10, 0x00},                          // ESC D 8 16 NUL
    {0x1B, 0x44, 0x08, 0x10, 0x04},                          // ESC D 8 16, ended by 4 (not above 16)
    {0x1D, 0x2A, 0x01, 0x01, 1, 2, 3, 4, 0x10, 0x04, 1, 0},  // GS * 1 1 and 8 bytes
    {0x1C, 0x71, 0x01, 0x01, 0x00, 0x01, 0x00, 1, 2, 3, 4, 0x10, 0x04, 1, 0},  // FS q 1 image 1x1
    {0x1B, 0x26, 0x03, 0x41, 0x42, 0x01, 1, 2, 3, 0x00},     // ESC & 3 'A'..'B'
    {0x10, 0x14, 0x08, 0x01, 0x03, 0x14, 0x01, 0x06, 0x02, 0x08},  // DLE DC4 8
    {0x1D, 0x56, 0x42, 0x10},                                // GS V 66 16
    {0x1D, 0x27, 0x01, 0x10, 0x04, 0x01, 0x00},              // GS ' 1 segment
    {0x10, 0x04, 0x01},                                      // the only real DLE EOT
};

std::vector<uint8_t> Joined() {
  std::vector<uint8_t> all;
  for (const auto& c : kCommands) all.insert(all.end(), c.begin(), c.end());
  return all;
}

TEST(CommandScanner, CommandsWithTrickyParametersComeOutWhole) {
  std::vector<Token> tokens = Scan(Joined());
  ASSERT_EQ(tokens.size(), kCommands.size());
  for (size_t i = 0; i < kCommands.size(); ++i) {
    EXPECT_EQ(tokens[i].kind, TokenKind::kCommand) << i;
    EXPECT_EQ(tokens[i].bytes, kCommands[i]) << i;
  }
}

TEST(CommandScanner, AnySplitOfTheStreamGivesTheSameTokens) {
  const std::vector<uint8_t> all = Joined();
  const std::vector<Token> whole = Scan(all);
  for (size_t cut1 = 1; cut1 < all.size(); cut1 += 3) {
    for (size_t cut2 = cut1; cut2 < all.size(); cut2 += 7) {
      CommandScanner s;
      Recorder r;
      s.Feed(all.data(), cut1, r);
      s.Feed(all.data() + cut1, cut2 - cut1, r);
      s.Feed(all.data() + cut2, all.size() - cut2, r);
      ASSERT_EQ(r.tokens, whole) << cut1 << " " << cut2;
      EXPECT_FALSE(s.InCommand());
    }
  }
}

TEST(CommandScanner, TextAndUnknownBytes) {
  // "A", ESC 0x99 (unknown, swallows its printable second byte), NUL, DLE 'x'
  // (DLE alone is unknown, 'x' is text), ESC ESC @ (the first ESC alone).
  std::vector<Token> tokens = Scan({'A', 0x1B, 0x99, 0x00, 0x10, 'x', 0x1B, 0x1B, 0x40, 0xE9});
  std::vector<Token> expected = {
      {TokenKind::kText, {'A'}},        {TokenKind::kUnknown, {0x1B, 0x99}}, {TokenKind::kUnknown, {0x00}},
      {TokenKind::kUnknown, {0x10}},    {TokenKind::kText, {'x'}},           {TokenKind::kUnknown, {0x1B}},
      {TokenKind::kCommand, {0x1B, 0x40}}, {TokenKind::kText, {0xE9}},
  };
  EXPECT_EQ(tokens, expected);
}

TEST(CommandScanner, UnfinishedCommandIsHeldAndResetDropsIt) {
  CommandScanner s;
  EXPECT_TRUE(Scan({0x1D, 0x28, 0x6B, 0x05, 0x00, 0x31}, &s).empty());
  EXPECT_TRUE(s.InCommand());
  EXPECT_EQ(s.Pending().size(), 6u);
  s.Reset();
  EXPECT_FALSE(s.InCommand());
  std::vector<Token> tokens = Scan({0x10, 0x04, 0x02}, &s);
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].bytes, (std::vector<uint8_t>{0x10, 0x04, 0x02}));
}

// ESC D takes at most 32 rising stops and ends at a NUL or at a stop that
// does not rise; whatever a printer does not take as a stop is data again.
TEST(CommandScanner, TabStopListsEndWhereAPrinterEndsThem) {
  std::vector<uint8_t> full = {0x1B, 0x44};
  for (int i = 0; i < 32; ++i) full.push_back(static_cast<uint8_t>(0x21 + i));
  std::vector<uint8_t> withNul = full;
  withNul.push_back(0x00);
  std::vector<uint8_t> withMore = full;
  withMore.insert(withMore.end(), {0x41, 0x00, 0x0A});
  struct Case {
    std::vector<uint8_t> bytes;
    std::vector<Token> tokens;
  } cases[] = {
      {withNul, {{TokenKind::kCommand, withNul}}},
      // The 33rd stop is text, its NUL an unknown byte.
      {withMore,
       {{TokenKind::kCommand, full},
        {TokenKind::kText, {0x41}},
        {TokenKind::kUnknown, {0x00}},
        {TokenKind::kCommand, {0x0A}}}},
      {{0x1B, 0x44, 0x00, 0x0A}, {{TokenKind::kCommand, {0x1B, 0x44, 0x00}}, {TokenKind::kCommand, {0x0A}}}},
      // A stop that does not rise ends the list and belongs to it.
      {{0x1B, 0x44, 0x10, 0x08, 0x18},
       {{TokenKind::kCommand, {0x1B, 0x44, 0x10, 0x08}}, {TokenKind::kCommand, {0x18}}}},
      {{0x1B, 0x44, 0x10, 0x10, 0x41}, {{TokenKind::kCommand, {0x1B, 0x44, 0x10, 0x10}}, {TokenKind::kText, {0x41}}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Scan(c.bytes), c.tokens) << testing::PrintToString(c.bytes);
    // Byte by byte gives the same tokens.
    CommandScanner s;
    Recorder r;
    for (uint8_t b : c.bytes) s.Feed(&b, 1, r);
    EXPECT_EQ(r.tokens, c.tokens) << testing::PrintToString(c.bytes);
    EXPECT_FALSE(s.InCommand());
  }
}

TEST(CommandScanner, NulTerminatedCommandsStopAtTheirLimit) {
  // UPC-A (m = 0): the m byte itself is no terminator.
  std::vector<Token> tokens = Scan({0x1D, 0x6B, 0x00, '1', '2', 0x00, 0x0A});
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0].bytes.size(), 6u);
  EXPECT_EQ(tokens[1].bytes, std::vector<uint8_t>{0x0A});
}

// The QX1270 family's FS q gives its image in dots, one plane of whole-byte
// rows; ESC/POS FS q gives it in units of 8 dots. Which one applies is the
// dialect of the byte that starts the command.
TEST(CommandScanner, FamilyImageDefinitionInItsDialect) {
  const std::vector<uint8_t> head = {0x1C, 0x71, 0x01, 0x0A, 0x00, 0x02, 0x00};  // 10 x 2 dots
  Extent family = MeasureCommand(head.data(), head.size(), Dialect::kQx1270Frame);
  EXPECT_EQ(family.kind, Extent::kKnown);
  EXPECT_EQ(family.length, 7u + 2u * 2u);
  Extent escpos = MeasureCommand(head.data(), head.size());
  EXPECT_EQ(escpos.kind, Extent::kKnown);
  EXPECT_EQ(escpos.length, 7u + 10u * 2u * 8u);
  // Other image counts are ESC/POS in either dialect.
  const std::vector<uint8_t> two = {0x1C, 0x71, 0x02, 0x01, 0x00, 0x01, 0x00};
  EXPECT_EQ(MeasureCommand(two.data(), 3, Dialect::kQx1270Frame).kind, Extent::kNeedMore);
  EXPECT_EQ(MeasureCommand(two.data(), two.size(), Dialect::kQx1270Frame).kind, Extent::kNeedMore);

  // A command keeps the dialect it started in, whatever the later bytes.
  std::vector<uint8_t> image = head;
  image.insert(image.end(), {1, 2, 3, 4});
  CommandScanner s;
  Recorder r;
  s.Feed(image.data(), 5, r, Dialect::kQx1270Frame);
  s.Feed(image.data() + 5, image.size() - 5, r);
  ASSERT_EQ(r.tokens.size(), 1u);
  EXPECT_EQ(r.tokens[0].bytes, image);
  EXPECT_FALSE(s.InCommand());
}

TEST(MeasureCommand, LengthsOfRepresentativeCommands) {
  struct Case {
    std::vector<uint8_t> head;
    Extent::Kind kind;
    size_t length;
  } cases[] = {
      {{0x0A}, Extent::kKnown, 1},
      {{0x1B}, Extent::kNeedMore, 0},
      {{0x1B, 0x70}, Extent::kKnown, 5},
      {{0x1B, 0x57}, Extent::kKnown, 10},
      {{0x1B, 0x63}, Extent::kKnown, 4},
      {{0x1D, 0x56, 0x00}, Extent::kKnown, 3},
      {{0x1D, 0x56, 0x41}, Extent::kKnown, 4},
      {{0x1D, 0x28, 0x4C, 0x00}, Extent::kNeedMore, 0},
      {{0x1D, 0x28, 0x4C, 0x0B, 0x01}, Extent::kKnown, 5 + 267},
      {{0x1D, 0x38, 0x4C, 0x00, 0x00, 0x01, 0x00}, Extent::kKnown, 7 + 65536},
      {{0x1B, 0x2A, 0x00, 0x05, 0x00}, Extent::kKnown, 10},
      {{0x1B, 0x44, 0x08, 0x10}, Extent::kNeedMore, 0},
      {{0x1B, 0x44, 0x08, 0x10, 0x00}, Extent::kKnown, 5},
      {{0x1B, 0x44, 0x08, 0x10, 0x08}, Extent::kKnown, 5},
      {{0x1B, 0x2A, 0x21, 0x05, 0x00}, Extent::kKnown, 20},
      {{0x1D, 0x76, 0x30, 0x00, 0x03, 0x00, 0x02, 0x00}, Extent::kKnown, 14},
      {{0x1C, 0x32}, Extent::kKnown, 76},
      {{0x10, 0x14, 0x01}, Extent::kKnown, 5},
      {{0x10, 0x14, 0x03}, Extent::kKnown, 8},
      {{0x10, 0x14, 0x07}, Extent::kKnown, 4},
      {{0x10, 0x04, 0x07}, Extent::kKnown, 4},
      {{0x1D, 0x99}, Extent::kUnknown, 2},
      {{0x1D, 0x0A}, Extent::kUnknown, 1},
  };
  for (const Case& c : cases) {
    Extent e = MeasureCommand(c.head.data(), c.head.size());
    EXPECT_EQ(e.kind, c.kind) << testing::PrintToString(c.head);
    if (c.kind != Extent::kNeedMore) {
      EXPECT_EQ(e.length, c.length) << testing::PrintToString(c.head);
    }
  }
}

}  // namespace
}  // namespace sim
