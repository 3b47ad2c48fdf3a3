#pragma once
// The command set of the maker's own QX1270-family printers. All output can
// travel in checksummed frames, many ESC/POS commands are absent (their
// builders append nothing and report false where they report at all), and
// NV images, print density, ruled lines and curved text use the family's own
// commands.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "so/format/CCmdHelperBase.h"

namespace QEL {
namespace Printer {

class CmdHelper_QX1270 : public CCmdHelperBase {
 public:
  static constexpr size_t kFrameChunk = 46;
  static constexpr uint8_t kFrameStart = 0xAA;
  static constexpr uint8_t kFrameEnd = 0xBB;
  static constexpr size_t kModelIdentitySize = 255;

  CmdHelper_QX1270();
  CmdHelper_QX1270(const CmdHelper_QX1270&) = default;
  CmdHelper_QX1270& operator=(const CmdHelper_QX1270&) = default;
  ~CmdHelper_QX1270() override = default;

  // Frames of at most 46 data bytes: AA, length, data, XOR of the data, BB.
  // Empty data makes no frame.
  void PackOutput(PrinterBuffer& out, const PrinterBuffer& data) override;
  int32_t CompareAsb(const uint8_t* new4, uint8_t* stored4) const override;
  bool IsDrawerBitSet(uint8_t b, bool polarity) const override;

  void FormFeed(PrinterBuffer& out) override;
  void EscapeTriplet(PrinterBuffer& out) override;
  // Sent framed even when the rest of the output is not.
  void RequestRealtimeStatus(PrinterBuffer& out, uint8_t n) override;
  bool DrawerStatusRequest(uint8_t (&record)[3]) const override;
  bool RealtimeRequest(PrinterBuffer& out, uint8_t n) override;
  void RealtimePrefix(PrinterBuffer& out) override;
  bool RealtimeFunction1(PrinterBuffer& out, uint8_t m, uint8_t t) override;
  void ClearBuffers(PrinterBuffer& out) override;
  void PageModeFormFeed(PrinterBuffer& out) override;
  void SetRightSpacing(PrinterBuffer& out, uint8_t n) override;
  bool BitImage(PrinterBuffer& out, uint8_t m, int32_t n, const uint8_t* data,
                size_t length) override;
  // The default stops are built once and kept.
  void DefaultTabs(PrinterBuffer& out) override;
  bool SelectCharacterFont(PrinterBuffer& out, uint8_t n) override;
  void SelectInternational(PrinterBuffer& out, uint8_t n) override;
  int32_t InternationalForCodePage(int32_t codePage) const override;
  void EnterStandardMode(PrinterBuffer& out) override;
  int32_t PageDirectionForRotation(int32_t rotation) const override;
  bool SetPageDirection(PrinterBuffer& out, uint8_t n) override;
  void SetRotate90(PrinterBuffer& out, bool on) override;
  void SetPageArea(PrinterBuffer& out, int32_t x, int32_t y, int32_t dx, int32_t dy) override;
  bool SelectPaperEndSensors(PrinterBuffer& out, uint8_t n) override;
  bool SelectStopSensors(PrinterBuffer& out, uint8_t n) override;
  void EnablePanelButtons(PrinterBuffer& out, bool on) override;
  bool DrawerPulse(PrinterBuffer& out, uint8_t m, uint8_t t1, uint8_t t2) override;
  bool SelectCodeTable(PrinterBuffer& out, uint8_t n) override;
  void SetAbsoluteVertical(PrinterBuffer& out, int32_t dots) override;
  bool TestPrint(PrinterBuffer& out, uint8_t n, uint8_t m) override;

  void EnterUserSetup(PrinterBuffer& out) override;
  void EndUserSetup(PrinterBuffer& out) override;
  bool SetCustomValues(PrinterBuffer& out, int32_t density, int32_t speed, int32_t key97,
                       bool on116, bool on118) override;
  // GS E n, n 0..9.
  bool SetDensitySetting(PrinterBuffer& out, int32_t density) override;
  void QueryDensitySetting(PrinterBuffer& out) override;
  bool SetSpeedSetting(PrinterBuffer& out, int32_t n) override;
  void QuerySpeedSetting(PrinterBuffer& out) override;
  bool SetCustomValue97(PrinterBuffer& out, int32_t n) override;
  void QueryCustomValue97(PrinterBuffer& out) override;
  void SetCustomValue116(PrinterBuffer& out, bool on) override;
  void QueryCustomValue116(PrinterBuffer& out) override;
  void SetCustomValue118(PrinterBuffer& out, bool on) override;
  void QueryCustomValue118(PrinterBuffer& out) override;
  void QueryCustomValue(PrinterBuffer& out, uint8_t key) override;
  bool SetSerialBaud(PrinterBuffer& out, const char* digits) override;
  void QuerySerialBaud(PrinterBuffer& out) override;
  void SetSerialParity(PrinterBuffer& out, uint8_t n) override;
  void SetSerialHandshake(PrinterBuffer& out, uint8_t n) override;
  void SetSerialDataBits(PrinterBuffer& out, uint8_t n) override;
  void QuerySerialParity(PrinterBuffer& out) override;
  void QuerySerialHandshake(PrinterBuffer& out) override;
  void QuerySerialDataBits(PrinterBuffer& out) override;
  // FS p 1 m. The family keeps a single NV image, the one last defined, so
  // the key is not sent; the scale factors select m.
  bool PrintNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2, uint8_t scaleX,
                       uint8_t scaleY) override;
  // FS q 1: replaces the printer's NV image; the key is not sent.
  bool DefineNvGraphics(PrinterBuffer& out, uint8_t kc1, uint8_t kc2, bool twoTone, int32_t width,
                        int32_t height, const uint8_t* data, size_t length) override;

  void FeedAndFullCut(PrinterBuffer& out) override;
  void FeedAndPartialCut(PrinterBuffer& out) override;
  void FeedAndCut(PrinterBuffer& out, uint8_t n) override;
  void SetRelativeVertical(PrinterBuffer& out, int32_t dots) override;
  void EnableAsb(PrinterBuffer& out, uint8_t n) override;
  // The family has no automatic status back: nothing, switching on or off
  // (an unframed GS a would reach the printer as stray bytes).
  void SetAsbAll(PrinterBuffer& out, bool on) override;
  // n 0, 1, 48 or 49.
  bool SetHriFont(PrinterBuffer& out, uint8_t n) override;
  bool ResetMaintenanceCounter(PrinterBuffer& out, int32_t n) override;
  bool RequestMaintenanceCounter(PrinterBuffer& out, int32_t n) override;
  // GS ' n and n segments, at most 8. Returns 0.
  int32_t DrawLines(PrinterBuffer& out, const LineSegment* segments, int32_t count) override;
  // GS " m nL nH text 00, m 0 or 1. Returns 0.
  int32_t CurveTextCommand(PrinterBuffer& out, uint8_t m, uint16_t n, const uint8_t* text,
                           size_t length) override;

  // The model name this helper was made for, padded with zeros.
  const char* ModelIdentity() const { return modelIdentity_; }

 private:
  static void AppendFrames(PrinterBuffer& out, const uint8_t* data, size_t length);

  char modelIdentity_[kModelIdentitySize];
  std::vector<uint8_t> defaultTabs_;  // empty until first use
};

}  // namespace Printer
}  // namespace QEL
