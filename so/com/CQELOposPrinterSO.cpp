// The COM face of the class: reference counting, name lookup and Invoke,
// which unpacks DISPPARAMS and calls the typed method.
#include "so/com/CQELOposPrinterSO.h"

#include <utility>

#include "so/com/DispatchArguments.h"
#include "so/com/DispatchTable.h"
#include "so/com/ModuleLocks.h"

namespace QEL {
namespace COM {

CQELOposPrinterSO::CQELOposPrinterSO(std::shared_ptr<const ServiceEnvironment> environment)
    : environment_(environment ? std::move(environment) : SystemEnvironment()) {
  // Last, so that an instance whose construction threw never counted.
  ModuleLocks::Lock();
}

HRESULT CQELOposPrinterSO::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CQELOposPrinterSO::AddRef() { return ++references_; }

ULONG CQELOposPrinterSO::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT CQELOposPrinterSO::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT CQELOposPrinterSO::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT CQELOposPrinterSO::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                         DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
  // Only method names: the further names would be argument names, and no
  // method takes named arguments.
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    const int32_t id = i == 0 && names[i] != nullptr
                           ? FindDispid(platform::ComText(names[i]))
                           : 0;
    ids[i] = id != 0 ? id : DISPID_UNKNOWN;
    if (id == 0) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT CQELOposPrinterSO::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* exception, UINT* argError) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  const DispatchMethod* method = FindMethod(id);
  if (method == nullptr || (flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
  DispatchArguments a;
  HRESULT hr = a.Read(*method, params, argError);
  if (FAILED(hr)) return hr;

  int32_t rc = 0;  // what a control object passes in its [out, retval]
  std::u16string text;
  try {
    switch (static_cast<MethodId>(id)) {
      case MethodId::COFreezeEvents: COFreezeEvents(a.Long(0), &rc); break;
      case MethodId::GetPropertyNumber: GetPropertyNumber(a.Long(0), &rc); break;
      case MethodId::SetPropertyNumber: SetPropertyNumber(a.Long(0), a.Long(1), &rc); break;
      case MethodId::GetPropertyString: GetPropertyString(a.Long(0), &text); break;
      case MethodId::SetPropertyString: SetPropertyString(a.Long(0), a.Text(1), &rc); break;
      case MethodId::OpenService: OpenService(a.Text(0), a.Text(1), a.Dispatch(2), &rc); break;
      case MethodId::CheckHealth: CheckHealth(a.Long(0), &rc); break;
      case MethodId::ClaimDevice: ClaimDevice(a.Long(0), &rc); break;
      case MethodId::ClearOutput: ClearOutput(&rc); break;
      case MethodId::CloseService: CloseService(&rc); break;
      case MethodId::DirectIO: DirectIO(a.Long(0), a.LongRef(1), a.TextRef(2), &rc); break;
      case MethodId::ReleaseDevice: ReleaseDevice(&rc); break;
      case MethodId::CutPaper: CutPaper(a.Long(0), &rc); break;
      case MethodId::PrintBarCode:
        PrintBarCode(a.Long(0), a.Text(1), a.Long(2), a.Long(3), a.Long(4), a.Long(5), a.Long(6),
                     &rc);
        break;
      case MethodId::PrintBitmap: PrintBitmap(a.Long(0), a.Text(1), a.Long(2), a.Long(3), &rc); break;
      case MethodId::PrintImmediate: PrintImmediate(a.Long(0), a.Text(1), &rc); break;
      case MethodId::PrintNormal: PrintNormal(a.Long(0), a.Text(1), &rc); break;
      case MethodId::RotatePrint: RotatePrint(a.Long(0), a.Long(1), &rc); break;
      case MethodId::SetBitmap:
        SetBitmap(a.Long(0), a.Long(1), a.Text(2), a.Long(3), a.Long(4), &rc);
        break;
      case MethodId::SetLogo: SetLogo(a.Long(0), a.Text(1), &rc); break;
      case MethodId::TransactionPrint: TransactionPrint(a.Long(0), a.Long(1), &rc); break;
      case MethodId::ClearPrintArea: ClearPrintArea(&rc); break;
      case MethodId::PageModePrint: PageModePrint(a.Long(0), &rc); break;
      case MethodId::PrintMemoryBitmap:
        PrintMemoryBitmap(a.Long(0), a.Text(1), a.Long(2), a.Long(3), a.Long(4), &rc);
        break;
      case MethodId::GetOpenResult: GetOpenResult(&rc); break;
      case MethodId::OpenDrawer: OpenDrawer(&rc); break;
      case MethodId::WaitForDrawerClose:
        WaitForDrawerClose(a.Long(0), a.Long(1), a.Long(2), a.Long(3), &rc);
        break;
      case MethodId::PrintLine: PrintLine(a.Long(0), a.Text(1), &rc); break;
      case MethodId::PrintCurveText:
        PrintCurveText(a.Long(0), a.Long(1), a.Long(2), a.Text(3), &rc);
        break;
      default: Unsupported(&rc); break;
    }
  } catch (...) {
    // The methods catch what the core throws; this is the last guard of the
    // control object's thread.
    if (exception != nullptr) {
      exception->wCode = 0;
      exception->scode = E_UNEXPECTED;
    }
    return DISP_E_EXCEPTION;
  }

  if (result != nullptr) {
    VariantInit(result);
    if (method->result == ResultKind::kText) {
      result->vt = VT_BSTR;
      result->bstrVal = platform::ToBstr(text);
      if (result->bstrVal == nullptr) {
        result->vt = VT_EMPTY;
        return E_OUTOFMEMORY;
      }
    } else {
      result->vt = VT_I4;
      result->lVal = rc;
    }
  }
  return S_OK;
}

}  // namespace COM
}  // namespace QEL
