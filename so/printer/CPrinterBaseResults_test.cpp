#include <gtest/gtest.h>

#include <string>

#include "testing/TestPrinterModel.h"

using namespace QEL::Printer;
using testing_support::TestPrinterModel;

namespace {

TEST(ResultCodes, CodesAbove200AreReportedAsExtended) {
  TestPrinterModel core;
  EXPECT_EQ(core.SetRC(OPOS_EPTR_REC_EMPTY), OPOS_E_EXTENDED);
  EXPECT_EQ(core.ResultCode(), OPOS_E_EXTENDED);
  EXPECT_EQ(core.ResultCodeExtended(), OPOS_EPTR_REC_EMPTY);
  EXPECT_EQ(core.SetRC(OPOS_E_ILLEGAL), OPOS_E_ILLEGAL);
  EXPECT_EQ(core.ResultCode(), OPOS_E_ILLEGAL);
  EXPECT_EQ(core.ResultCodeExtended(), 0);
  EXPECT_EQ(core.SetRC(200), 200);
  EXPECT_EQ(core.ResultCodeExtended(), 0);
  EXPECT_EQ(core.SetRC(OPOS_EPTR_COVER_OPEN), OPOS_E_EXTENDED);
}

TEST(ResultCodes, StatusStrings) {
  const struct {
    int32_t code;
    const char* text;
  } table[] = {
      {0, "Successful"},         {101, "OPOS_E_CLOSED"},    {102, "OPOS_E_FAILURE"},
      {103, "OPOS_E_NOTCLAIMED"}, {104, "OPOS_E_NOSERVICE"}, {105, "OPOS_E_DISABLED"},
      {106, "OPOS_E_ILLEGAL"},    {107, "OPOS_E_NOHARDWARE"}, {108, "OPOS_E_OFFLINE"},
      {109, "OPOS_E_NOEXIST"},    {110, "OPOS_E_EXISTS"},    {111, "OPOS_E_FAILURE"},
      {112, "OPOS_E_TIMEOUT"},    {113, "OPOS_E_BUSY"},      {114, "OPOS_E_EXTENDED"},
      {-1, "OPOS_E_FAILURE"},     {203, "OPOS_E_FAILURE"},
  };
  for (const auto& row : table) {
    EXPECT_STREQ(TestPrinterModel::GetStatusString(row.code), row.text) << row.code;
  }
}

}  // namespace
