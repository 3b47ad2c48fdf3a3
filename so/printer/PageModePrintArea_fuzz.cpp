// Any PageModePrintArea text in any MapMode: it is taken or refused with an
// OPOS result, and a refused text never changes the area.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "so/printer/CTM_T88IV.h"
#include "so/printer/PropertyIndex.h"
#include "testing/FakePort.h"

using namespace QEL::Printer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static CTM_T88IV* core = [] {
    auto* c = new CTM_T88IV(u"FX-310");
    c->AttachPort(std::make_shared<testing_support::FakePort>());
    int32_t rc = 0;
    c->OpenServiceW(u"fuzz", nullptr, &rc);
    c->SetPropertyNumber(Pidx::PageModeStation, 2, &rc);
    return c;
  }();
  int32_t rc = 0;
  core->SetPropertyNumber(Pidx::MapMode, 1 + data[0] % 5, &rc);
  std::u16string text;
  for (size_t i = 1; i < size; ++i) text.push_back(static_cast<char16_t>(data[i]));

  const PrinterProperties before = core->Properties();
  rc = -1;
  core->SetPropertyString(Pidx::PageModePrintArea, text, &rc);
  const PrinterProperties& after = core->Properties();
  if (rc != 0) {
    if (after.printAreaX != before.printAreaX || after.printAreaWidth != before.printAreaWidth ||
        after.printAreaY != before.printAreaY || after.printAreaHeight != before.printAreaHeight) {
      std::abort();  // a refused text changed the area
    }
  } else if (after.printAreaX < 0 || after.printAreaY < 0 ||
             after.printAreaX + after.printAreaWidth > core->Traits().pageAreaWidth ||
             after.printAreaY + after.printAreaHeight > core->Traits().pageAreaHeight) {
    std::abort();  // an accepted area outside the page
  }
  return 0;
}
