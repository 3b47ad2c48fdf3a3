#pragma once
// A printer for the formatter alone, for tests, the fuzz target and the
// benchmark: settings and fonts set directly, a record of the direct bytes and
// of what each hook was asked, and hook answers chosen by the caller. A hook
// without an answer gives the interface's default.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "so/format/IFormatterHost.h"

namespace QEL {
namespace Printer {

class FakeFormatterHost : public IFormatterHost {
 public:
  // What a hook appends, and its outcome.
  struct Answer {
    SequenceOutcome outcome = SequenceOutcome::kDone;
    std::string bytes;
  };

  explicit FakeFormatterHost(CCmdHelperBase& helper) : helper_(helper) {}

  FormatSettings settings;
  std::vector<FontMetrics> fonts{{12, 24}, {9, 17}};

  std::optional<Answer> bitmap, logo, barcode;
  // Bytes the print-mode reset appends instead of ESC ! 0.
  std::optional<std::string> printModeReset;
  // Bytes placed in front of each page-mode line, and how many lines fit on
  // the page (negative: any number).
  std::string pagePlacement;
  int pageLinesWithRoom = -1;

  // Every direct byte, and each direct-byte call's length.
  std::string directBytes;
  std::vector<size_t> directCalls;
  // What the hooks were asked, in order: "bitmap 3", "bitmap 3 validating",
  // "logo top", "barcode <parameters>", "page c 48x30 end", and for lines
  // what sets them apart: "page l 24x30 wrap later +36" (wrapped, after a
  // wrap, 36 dots from earlier walks), "sideways l 24x30".
  std::vector<std::string> asked;

  CCmdHelperBase& CmdHelper() override { return helper_; }
  FormatSettings Settings() const override { return settings; }
  FontMetrics Font(int32_t index) const override {
    return index >= 0 && static_cast<size_t>(index) < fonts.size() ? fonts[index] : FontMetrics();
  }
  void SendDirectBytes(const uint8_t* bytes, size_t length) override {
    directBytes.append(reinterpret_cast<const char*>(bytes), length);
    directCalls.push_back(length);
  }
  void ResetPrintMode(PrinterBuffer& out) override {
    if (!printModeReset) return IFormatterHost::ResetPrintMode(out);
    out.append(printModeReset->data(), printModeReset->size());
  }

  SequenceOutcome PrintStoredBitmap(PrinterBuffer& out, int32_t number,
                                    bool validateOnly) override {
    asked.push_back("bitmap " + std::to_string(number) + (validateOnly ? " validating" : ""));
    if (!bitmap) return IFormatterHost::PrintStoredBitmap(out, number, validateOnly);
    return Give(out, *bitmap, validateOnly);
  }
  SequenceOutcome PrintLogo(PrinterBuffer& out, LogoPosition position) override {
    asked.push_back(position == LogoPosition::kTop ? "logo top" : "logo bottom");
    if (!logo) return IFormatterHost::PrintLogo(out, position);
    return Give(out, *logo, false);
  }
  SequenceOutcome PrintBarcode(PrinterBuffer& out, const uint8_t* parameters, size_t length,
                               bool validateOnly) override {
    asked.push_back("barcode " + std::string(reinterpret_cast<const char*>(parameters), length) +
                    (validateOnly ? " validating" : ""));
    if (!barcode) return IFormatterHost::PrintBarcode(out, parameters, length, validateOnly);
    return Give(out, *barcode, validateOnly);
  }
  bool PlacePageModeLine(PrinterBuffer& out, const PageModeLine& line) override {
    asked.push_back("page " + Describe(line));
    if (pageLinesWithRoom == 0) return false;
    if (pageLinesWithRoom > 0) --pageLinesWithRoom;
    out.append(pagePlacement.data(), pagePlacement.size());
    return true;
  }
  void NoteSidewaysLine(const PageModeLine& line) override {
    asked.push_back("sideways " + Describe(line));
  }

 private:
  static std::string Describe(const PageModeLine& line) {
    std::string text = std::string(1, line.alignment) + " " + std::to_string(line.width) + "x" +
                       std::to_string(line.height);
    if (line.lineEnd) text += " end";
    if (line.wrapped) text += " wrap";
    if (!line.firstLine) text += " later";
    if (line.startsAt != 0) text += " +" + std::to_string(line.startsAt);
    return text;
  }

  // A hook that only judges appends nothing.
  static SequenceOutcome Give(PrinterBuffer& out, const Answer& answer, bool validateOnly) {
    if (!validateOnly) out.append(answer.bytes.data(), answer.bytes.size());
    return answer.outcome;
  }

  CCmdHelperBase& helper_;
};

}  // namespace Printer
}  // namespace QEL
