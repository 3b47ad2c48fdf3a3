#include "so/printer/CPrinterEventObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "so/format/StatusUpdateValues.h"
#include "testing/RecordingEventSink.h"

using namespace QEL::Printer;

namespace {

TEST(PrinterEventObject, EventsPassOnlyWhileOn) {
  testing_support::RecordingEventSink sink;
  sink.SetUnattachedPollAnswer(0);
  CPrinterEventObject events(&sink);
  events.OnStatusUpdate(PTR_SUE_COVER_OPEN);
  events.OnOutputComplete(1);
  events.OnError(u"x");
  events.OnOutputError(107, 0);
  EXPECT_EQ(events.QueryPrinterState(), -1);
  EXPECT_TRUE(sink.Events().empty());

  events.SetEventsOn(true);
  events.OnStatusUpdate(PTR_SUE_COVER_OK);
  events.OnOutputComplete(2);
  events.OnError(u"y");
  events.OnOutputError(114, 201);
  EXPECT_EQ(events.QueryPrinterState(), 0);
  events.SetEventsOn(false);
  events.OnStatusUpdate(PTR_SUE_REC_PAPEROK);
  events.OnOutputError(107, 0);
  EXPECT_EQ(sink.Events(), (std::vector<std::string>{"status 12", "complete 2", "error",
                                                "output error 114/201", "poll"}));
}

TEST(PrinterEventObject, NoSinkIsHarmless) {
  CPrinterEventObject events(nullptr);
  events.SetEventsOn(true);
  events.OnStatusUpdate(PTR_SUE_COVER_OPEN);
  EXPECT_EQ(events.QueryPrinterState(), -1);
}

}  // namespace
