#pragma once
// The methods of the service object's dispatch interface, in the order of the
// interface's slots, with the arguments a control object passes for each.
// Dispatch identifiers are the 1-based positions in this table.
#include <cstddef>
#include <cstdint>
#include <string>

namespace QEL {
namespace COM {

// How one argument arrives in DISPPARAMS.
enum class ArgKind : char {
  kLong = 'L',         // [in] long, coerced from any number or numeric text
  kText = 'S',         // [in] BSTR, coerced from a number when need be
  kDispatch = 'D',     // [in] IDispatch*, may be null
  kLongRef = 'l',      // [in, out] long*: VT_BYREF|VT_I4
  kTextRef = 's',      // [in, out] BSTR*: VT_BYREF|VT_BSTR
};

// What comes back in pVarResult (the [out, retval] of the type library).
enum class ResultKind : char {
  kResultCode = 'R',  // pRC
  kNumber = 'N',      // a property value or the open result
  kText = 'T',        // a string property
};

struct DispatchMethod {
  const char16_t* name;
  const char* arguments;  // one ArgKind letter per argument, in declared order
  ResultKind result;
};

enum class MethodId : int32_t {
  COFreezeEvents = 1, GetPropertyNumber, SetPropertyNumber, GetPropertyString,
  SetPropertyString, OpenService, CheckHealth, ClaimDevice, ClearOutput, CloseService,
  DirectIO, ReleaseDevice, BeginRemoval, CutPaper, EndInsertion, EndRemoval, PrintBarCode,
  PrintBitmap, PrintImmediate, PrintNormal, PrintTwoNormal, RotatePrint, SetBitmap, SetLogo,
  TransactionPrint, ValidateData, ChangePrintSide, MarkFeed, ResetStatistics,
  RetrieveStatistics, UpdateStatistics, CompareFirmwareVersion, UpdateFirmware,
  ClearPrintArea, PageModePrint, PrintMemoryBitmap, DrawRuledLine, BeginInsertion,
  GetOpenResult, OpenDrawer, WaitForDrawerClose, PrintLine, PrintCurveText,
};

constexpr size_t kDispatchMethodCount = 43;

// The method of a dispatch identifier, or null.
const DispatchMethod* FindMethod(int32_t dispid);
// The dispatch identifier of a name, compared without regard to letter case;
// 0 when there is none.
int32_t FindDispid(const std::u16string& name);

}  // namespace COM
}  // namespace QEL
