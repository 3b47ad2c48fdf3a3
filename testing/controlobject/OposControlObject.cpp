#include "testing/controlobject/OposControlObject.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/registry.h"

namespace testing_controlobject {

std::atomic<long> gModuleLocks{0};

namespace {

// OPOS result codes and open results a control object itself reports.
constexpr int32_t kSuccess = 0;
constexpr int32_t kClosed = 101;
constexpr int32_t kNoService = 104;
constexpr int32_t kIllegal = 106;
constexpr int32_t kNoExist = 109;
constexpr int32_t kFailure = 111;
constexpr int32_t kAlreadyOpen = 301;
constexpr int32_t kNoDeviceKey = 302;
constexpr int32_t kBadProgId = 303;
constexpr int32_t kCannotCreate = 304;

// The service object's property indexes.
constexpr int32_t kDeviceEnabledIndex = 3;
constexpr int32_t kCheckHealthTextIndex = 1000001;

constexpr const char16_t* kOposRoot = u"SOFTWARE\\OLEforRetail\\ServiceOPOS\\";

enum Member : DISPID {
  kOpen = 1,
  kClaimDevice,
  kDeviceEnabled,
  kCheckHealth,
  kCheckHealthText,
  kOpenDrawer,
  kReleaseDevice,
  kClose,
  kResultCode,
  kOpenResult,
};

const char16_t* const kMemberNames[] = {u"Open",          u"ClaimDevice",     u"DeviceEnabled",
                                        u"CheckHealth",   u"CheckHealthText", u"OpenDrawer",
                                        u"ReleaseDevice", u"Close",           u"ResultCode",
                                        u"OpenResult"};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool SameName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// Argument i in declared order, coerced as a scripting client would.
HRESULT Argument(DISPPARAMS* params, UINT i, VARTYPE type, VARIANT* out) {
  VariantInit(out);
  if (params == nullptr || i >= params->cArgs) return DISP_E_BADPARAMCOUNT;
  return VariantChangeType(out, &params->rgvarg[params->cArgs - 1 - i], 0, type);
}

void ReturnNumber(VARIANT* result, int32_t value) {
  if (result == nullptr) return;
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = value;
}

}  // namespace

OposControlObject::OposControlObject(std::u16string deviceClass) : deviceClass_(std::move(deviceClass)) {
  ++gModuleLocks;
}

OposControlObject::~OposControlObject() {
  Close();
  --gModuleLocks;
}

HRESULT OposControlObject::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG OposControlObject::AddRef() { return ++references_; }

ULONG OposControlObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT OposControlObject::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT OposControlObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  *info = nullptr;
  return E_NOTIMPL;
}

HRESULT OposControlObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (count != 1) return DISP_E_UNKNOWNNAME;
  const std::u16string name = platform::ComText(names[0]);
  for (DISPID i = 0; i < static_cast<DISPID>(sizeof(kMemberNames) / sizeof(kMemberNames[0])); ++i) {
    if (SameName(name, kMemberNames[i])) {
      ids[0] = kOpen + i;
      return S_OK;
    }
  }
  ids[0] = DISPID_UNKNOWN;
  return DISP_E_UNKNOWNNAME;
}

HRESULT OposControlObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO*, UINT*) {
  const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
  VARIANT arg;
  HRESULT hr = S_OK;
  switch (id) {
    case kOpen:
      if (FAILED(hr = Argument(params, 0, VT_BSTR, &arg))) return hr;
      resultCode_ = Open(platform::FromBstr(arg.bstrVal));
      VariantClear(&arg);
      Note("Open", resultCode_);
      ReturnNumber(result, resultCode_);
      return S_OK;
    case kClaimDevice:
      if (FAILED(hr = Argument(params, 0, VT_I4, &arg))) return hr;
      resultCode_ = Forward(u"ClaimDevice", {arg.lVal});
      Note("ClaimDevice", resultCode_);
      ReturnNumber(result, resultCode_);
      return S_OK;
    case kDeviceEnabled:
      if (put) {
        if (FAILED(hr = Argument(params, 0, VT_BOOL, &arg))) return hr;
        resultCode_ = Forward(u"SetPropertyNumber", {kDeviceEnabledIndex, arg.boolVal ? 1 : 0});
        Note(arg.boolVal ? "DeviceEnabled=1" : "DeviceEnabled=0", resultCode_);
        return S_OK;
      }
      if (!service_) {
        ReturnNumber(result, 0);
      } else if (result != nullptr) {
        VariantInit(result);
        result->vt = VT_BOOL;
        result->boolVal = service_->GetNumber(kDeviceEnabledIndex) != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      }
      return S_OK;
    case kCheckHealth:
      if (FAILED(hr = Argument(params, 0, VT_I4, &arg))) return hr;
      resultCode_ = Forward(u"CheckHealth", {arg.lVal});
      Note("CheckHealth", resultCode_);
      ReturnNumber(result, resultCode_);
      return S_OK;
    case kCheckHealthText:
      if (result != nullptr) {
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = platform::ToBstr(service_ ? service_->GetString(kCheckHealthTextIndex) : u"");
      }
      return S_OK;
    case kOpenDrawer:
      resultCode_ = Forward(u"OpenDrawer", {});
      Note("OpenDrawer", resultCode_);
      ReturnNumber(result, resultCode_);
      return S_OK;
    case kReleaseDevice:
      resultCode_ = Forward(u"ReleaseDevice", {});
      Note("ReleaseDevice", resultCode_);
      ReturnNumber(result, resultCode_);
      return S_OK;
    case kClose:
      resultCode_ = Close();
      Note("Close", resultCode_);
      ReturnNumber(result, resultCode_);
      return S_OK;
    case kResultCode:
      ReturnNumber(result, resultCode_);
      return S_OK;
    case kOpenResult:
      ReturnNumber(result, openResult_);
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

int32_t OposControlObject::Open(const std::u16string& deviceName) {
  if (service_) {
    openResult_ = kAlreadyOpen;
    return kIllegal;
  }
  std::unique_ptr<platform::Registry> machine =
      platform::OpenSystemRegistry(platform::RegistryRoot::kLocalMachine);
  std::unique_ptr<platform::RegistryKey> key =
      machine ? machine->Open(kOposRoot + deviceClass_ + u"\\" + deviceName, platform::RegistryAccess::kRead)
              : nullptr;
  std::u16string progId;
  if (!key || key->ReadString(u"", 0, &progId) != platform::RegistryRead::kOk) {
    openResult_ = kNoDeviceKey;
    return kNoExist;
  }
  CLSID clsid;
  if (progId.empty() || FAILED(CLSIDFromProgID(platform::OleText(progId.c_str()), &clsid))) {
    openResult_ = kBadProgId;
    return kNoService;
  }
  IDispatch* created = nullptr;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&created))) ||
      created == nullptr) {
    openResult_ = kCannotCreate;
    return kNoService;
  }
  try {
    service_ = std::make_unique<testing_support::TestControlObject>([created] { return created; });
    const int32_t rc = service_->Open(deviceClass_, deviceName);
    if (rc != kSuccess) {
      openResult_ = service_->Call(u"GetOpenResult");
      service_.reset();
      return rc;
    }
  } catch (const std::exception&) {
    service_.reset();
    openResult_ = kCannotCreate;
    return kNoService;
  }
  openResult_ = kSuccess;
  return kSuccess;
}

int32_t OposControlObject::Forward(const std::u16string& method,
                                   std::vector<testing_support::TestControlObject::Value> args) {
  if (!service_) return kClosed;
  try {
    return service_->Call(method, std::move(args));
  } catch (const std::exception&) {
    return kFailure;
  }
}

int32_t OposControlObject::Close() {
  if (!service_) return kClosed;
  const int32_t rc = Forward(u"CloseService", {});
  service_.reset();
  return rc;
}

void OposControlObject::Note(const char* member, int32_t resultCode) const {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"ZOBELSO_TEST_CO_LOG", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::FILE* file = _wfopen(path, L"ab");
  if (file == nullptr) return;
  const std::string deviceClass(deviceClass_.begin(), deviceClass_.end());
  std::fprintf(file, "%s %s %ld\n", deviceClass.c_str(), member, static_cast<long>(resultCode));
  std::fclose(file);
}

}  // namespace testing_controlobject
