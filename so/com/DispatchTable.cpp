#include "so/com/DispatchTable.h"

namespace QEL {
namespace COM {

namespace {

constexpr ResultKind R = ResultKind::kResultCode;

const DispatchMethod kMethods[kDispatchMethodCount] = {
    {u"COFreezeEvents", "L", R},
    {u"GetPropertyNumber", "L", ResultKind::kNumber},
    {u"SetPropertyNumber", "LL", R},
    {u"GetPropertyString", "L", ResultKind::kText},
    {u"SetPropertyString", "LS", R},
    {u"OpenService", "SSD", R},
    {u"CheckHealth", "L", R},
    {u"ClaimDevice", "L", R},
    {u"ClearOutput", "", R},
    {u"CloseService", "", R},
    {u"DirectIO", "Lls", R},
    {u"ReleaseDevice", "", R},
    {u"BeginRemoval", "L", R},
    {u"CutPaper", "L", R},
    {u"EndInsertion", "", R},
    {u"EndRemoval", "", R},
    {u"PrintBarCode", "LSLLLLL", R},
    {u"PrintBitmap", "LSLL", R},
    {u"PrintImmediate", "LS", R},
    {u"PrintNormal", "LS", R},
    {u"PrintTwoNormal", "LSS", R},
    {u"RotatePrint", "LL", R},
    {u"SetBitmap", "LLSLL", R},
    {u"SetLogo", "LS", R},
    {u"TransactionPrint", "LL", R},
    {u"ValidateData", "LS", R},
    {u"ChangePrintSide", "L", R},
    {u"MarkFeed", "L", R},
    {u"ResetStatistics", "S", R},
    {u"RetrieveStatistics", "s", R},
    {u"UpdateStatistics", "S", R},
    {u"CompareFirmwareVersion", "Sl", R},
    {u"UpdateFirmware", "S", R},
    {u"ClearPrintArea", "", R},
    {u"PageModePrint", "L", R},
    {u"PrintMemoryBitmap", "LSLLL", R},
    {u"DrawRuledLine", "LSLLLL", R},
    {u"BeginInsertion", "L", R},
    {u"GetOpenResult", "", ResultKind::kNumber},
    {u"OpenDrawer", "", R},
    {u"WaitForDrawerClose", "LLLL", R},
    {u"PrintLine", "LS", R},
    {u"PrintCurveText", "LLLS", R},
};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool SameName(const std::u16string& a, const char16_t* b) {
  size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == 0 || Lower(a[i]) != Lower(b[i])) return false;
  }
  return b[i] == 0;
}

}  // namespace

const DispatchMethod* FindMethod(int32_t dispid) {
  if (dispid < 1 || dispid > static_cast<int32_t>(kDispatchMethodCount)) return nullptr;
  return &kMethods[dispid - 1];
}

int32_t FindDispid(const std::u16string& name) {
  for (size_t i = 0; i < kDispatchMethodCount; ++i) {
    if (SameName(name, kMethods[i].name)) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

}  // namespace COM
}  // namespace QEL
