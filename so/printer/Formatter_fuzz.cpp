// Any print data through the escape-sequence formatter, as bytes and as the
// text an application passes to ValidateData and PrintNormal.
//
// The first byte picks BinaryConversion (0, 1, 2), MapMode (1 to 4) and how
// the rest becomes text (one character a byte, or UTF-16 little-endian
// pairs, which reaches surrogates and characters the code page lacks).
// Checked: results are only 0, 106 or 111, and the output stays within a
// bound proportional to the input, so that a short sequence can never make
// megabytes of printer data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/FakePort.h"

using namespace QEL::Printer;

namespace {

struct Target {
  std::shared_ptr<testing_support::FakePort> port = std::make_shared<testing_support::FakePort>();
  CTM_T88IV core{u"TM-T88IV"};
  PrinterBuffer out{4096, 32};
  Target() {
    core.AttachPort(port);
    int32_t rc = 0;
    core.OpenServiceW(u"fuzz", nullptr, &rc);
    if (rc != 0) std::abort();
    core.ClaimDevice(0, &rc);
    if (rc != 0) std::abort();
  }
};

// Generous: the longest expansions (a feed in map-mode units, a cut with its
// feed, a placed piece) are a few dozen bytes for a sequence of a few bytes;
// the job prologue and pending settings stay under the constant.
size_t Bound(size_t inputBytes) { return 64 * inputBytes + 4096; }

bool Allowed(int32_t rc) { return rc == 0 || rc == 106 || rc == 111; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static Target* t = new Target();
  CTM_T88IV& core = t->core;
  t->port->ClearWritten();

  const uint8_t selector = data[0];
  const uint8_t* in = data + 1;
  const size_t length = size - 1;
  int32_t rc = 0;
  core.SetPropertyNumber(Pidx::BinaryConversion, selector % 3, &rc);
  core.SetPropertyNumber(Pidx::MapMode, 1 + (selector / 3) % 4, &rc);
  const bool pairs = (selector / 12) % 2 == 1;

  for (const bool validateOnly : {true, false}) {
    t->out.clear();
    rc = core.FormatStringToOutBuffer(t->out, in, length, validateOnly);
    if (!Allowed(rc)) std::abort();
    if (t->out.size() > Bound(length)) std::abort();
    // Direct bytes (ESC|#E) are a copy of part of the input.
    if (t->port->Written().size() > length) std::abort();
  }
  t->port->ClearWritten();

  std::u16string text;
  if (pairs) {
    for (size_t i = 0; i + 1 < length; i += 2) {
      text.push_back(static_cast<char16_t>(in[i] | (in[i + 1] << 8)));
    }
  } else {
    text.assign(in, in + length);
  }
  // The bytes the text becomes: at most a few a character in any code page.
  const size_t textBytes = text.size() * 4;

  rc = -1;
  core.ValidateData(2, text, &rc);
  if (!Allowed(rc)) std::abort();
  if (!t->port->Written().empty()) std::abort();  // validating sends nothing

  rc = -1;
  core.PrintNormal(2, text, &rc);
  if (!Allowed(rc)) std::abort();
  if (t->port->Written().size() > Bound(textBytes)) std::abort();
  t->port->ClearWritten();
  return 0;
}
