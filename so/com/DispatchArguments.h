#pragma once
// The arguments of one Invoke, taken from DISPPARAMS the way OLE Automation
// passes them: positional, the last declared argument first in rgvarg.
// Numbers and texts of another type are coerced as VariantChangeType does;
// references are used in place, so the caller sees what the method left there.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/com.h"
#include "so/com/DispatchTable.h"

namespace QEL {
namespace COM {

class DispatchArguments {
 public:
  // S_OK, or the DISP_E_* code with *argError set to the rgvarg index of the
  // argument that did not fit.
  HRESULT Read(const DispatchMethod& method, DISPPARAMS* params, UINT* argError);

  int32_t Long(size_t i) const { return args_[i].number; }
  const std::u16string& Text(size_t i) const { return args_[i].text; }
  IDispatch* Dispatch(size_t i) const { return args_[i].dispatch; }
  LONG* LongRef(size_t i) const { return args_[i].longRef; }
  BSTR* TextRef(size_t i) const { return args_[i].textRef; }

 private:
  struct Arg {
    int32_t number = 0;
    std::u16string text;
    IDispatch* dispatch = nullptr;
    LONG* longRef = nullptr;
    BSTR* textRef = nullptr;
  };
  HRESULT ReadOne(ArgKind kind, VARIANT* v, Arg* out);

  std::vector<Arg> args_;
};

// Replaces the text behind an [in, out] BSTR*.
void StoreText(BSTR* target, const std::u16string& text);

}  // namespace COM
}  // namespace QEL
