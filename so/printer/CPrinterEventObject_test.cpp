#include "so/printer/CPrinterEventObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "so/format/StatusUpdateValues.h"

using namespace QEL::Printer;

namespace {

class RecordingSink : public IPrinterEventHandle {
 public:
  void OnError(const std::u16string&) override { log.push_back("error"); }
  void OnOutputComplete(int32_t id) override { log.push_back("complete " + std::to_string(id)); }
  void OnOutputError(int32_t rc, int32_t extended) override {
    log.push_back("output error " + std::to_string(rc) + "/" + std::to_string(extended));
  }
  void OnStatusUpdate(int32_t s) override { log.push_back("status " + std::to_string(s)); }
  int32_t QueryPrinterState() override {
    log.push_back("poll");
    return 0;
  }
  std::vector<std::string> log;
};

TEST(PrinterEventObject, EventsPassOnlyWhileOn) {
  RecordingSink sink;
  CPrinterEventObject events(&sink);
  events.OnStatusUpdate(PTR_SUE_COVER_OPEN);
  events.OnOutputComplete(1);
  events.OnError(u"x");
  events.OnOutputError(107, 0);
  EXPECT_EQ(events.QueryPrinterState(), -1);
  EXPECT_TRUE(sink.log.empty());

  events.SetEventsOn(true);
  events.OnStatusUpdate(PTR_SUE_COVER_OK);
  events.OnOutputComplete(2);
  events.OnError(u"y");
  events.OnOutputError(114, 201);
  EXPECT_EQ(events.QueryPrinterState(), 0);
  events.SetEventsOn(false);
  events.OnStatusUpdate(PTR_SUE_REC_PAPEROK);
  events.OnOutputError(107, 0);
  EXPECT_EQ(sink.log, (std::vector<std::string>{"status 12", "complete 2", "error",
                                                "output error 114/201", "poll"}));
}

TEST(PrinterEventObject, NoSinkIsHarmless) {
  CPrinterEventObject events(nullptr);
  events.SetEventsOn(true);
  events.OnStatusUpdate(PTR_SUE_COVER_OPEN);
  EXPECT_EQ(events.QueryPrinterState(), -1);
}

}  // namespace
