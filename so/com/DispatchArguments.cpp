#include "so/com/DispatchArguments.h"

#include <cstring>

namespace QEL {
namespace COM {

namespace {

// The variant a VT_BYREF|VT_VARIANT argument points at, else the argument.
VARIANT* Referenced(VARIANT* v) {
  if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal != nullptr) return v->pvarVal;
  return v;
}

}  // namespace

HRESULT DispatchArguments::Read(const DispatchMethod& method, DISPPARAMS* params,
                                UINT* argError) {
  const size_t count = std::strlen(method.arguments);
  const UINT given = params != nullptr ? params->cArgs : 0;
  if (params != nullptr && params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (given != count) return DISP_E_BADPARAMCOUNT;
  if (count > 0 && params->rgvarg == nullptr) return E_INVALIDARG;
  args_.assign(count, Arg());
  for (size_t i = 0; i < count; ++i) {
    const UINT position = static_cast<UINT>(count - 1 - i);
    HRESULT hr = ReadOne(static_cast<ArgKind>(method.arguments[i]), &params->rgvarg[position],
                         &args_[i]);
    if (FAILED(hr)) {
      if (argError != nullptr) *argError = position;
      return hr;
    }
  }
  return S_OK;
}

HRESULT DispatchArguments::ReadOne(ArgKind kind, VARIANT* given, Arg* out) {
  VARIANT* v = Referenced(given);
  switch (kind) {
    case ArgKind::kLong: {
      VARIANT coerced;
      VariantInit(&coerced);
      HRESULT hr = VariantChangeType(&coerced, v, 0, VT_I4);
      if (FAILED(hr)) return hr;
      out->number = coerced.lVal;
      return S_OK;
    }
    case ArgKind::kText: {
      if (v->vt == VT_BSTR) {
        out->text = platform::FromBstr(v->bstrVal);
        return S_OK;
      }
      VARIANT coerced;
      VariantInit(&coerced);
      HRESULT hr = VariantChangeType(&coerced, v, 0, VT_BSTR);
      if (FAILED(hr)) return hr;
      out->text = platform::FromBstr(coerced.bstrVal);
      VariantClear(&coerced);
      return S_OK;
    }
    case ArgKind::kDispatch:
      if (v->vt == VT_DISPATCH) {
        out->dispatch = v->pdispVal;
      } else if (v->vt == (VT_BYREF | VT_DISPATCH) && v->ppdispVal != nullptr) {
        out->dispatch = *v->ppdispVal;
      } else {
        return DISP_E_TYPEMISMATCH;
      }
      return S_OK;
    case ArgKind::kLongRef:
      if (v->vt == (VT_BYREF | VT_I4) && v->plVal != nullptr) {
        out->longRef = v->plVal;
        return S_OK;
      }
      if (v->vt == VT_I4 && v != given) {  // a variant passed by reference holding a long
        out->longRef = &v->lVal;
        return S_OK;
      }
      return DISP_E_TYPEMISMATCH;
    case ArgKind::kTextRef:
      if (v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal != nullptr) {
        out->textRef = v->pbstrVal;
        out->text = platform::FromBstr(*v->pbstrVal);
        return S_OK;
      }
      if (v->vt == VT_BSTR && v != given) {
        out->textRef = &v->bstrVal;
        out->text = platform::FromBstr(v->bstrVal);
        return S_OK;
      }
      return DISP_E_TYPEMISMATCH;
  }
  return DISP_E_TYPEMISMATCH;
}

void StoreText(BSTR* target, const std::u16string& text) {
  if (target == nullptr) return;
  BSTR copy = platform::ToBstr(text);
  SysFreeString(*target);
  *target = copy;
}

}  // namespace COM
}  // namespace QEL
