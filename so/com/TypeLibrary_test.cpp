// The type library inside the built ZOBELSO.dll, read the way a client reads
// it (LoadTypeLibEx on the module file), against the dispatch table the class
// answers with. A client that follows the library must reach every method
// with the identifier, the arguments and the result slot Invoke expects.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "platform/com.h"
#include "so/com/CQELOposPrinterSO.h"
#include "so/com/ClassIdentity.h"
#include "so/com/DispatchTable.h"

namespace QEL {
namespace COM {
namespace {

// The library as the build wrote it. The build names it by its host path;
// under wine a Unix path is reached through drive Z:.
std::wstring LibraryFile() {
  const std::string path = ZOBELSO_DLL_FILE;
  const int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                         nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), &wide[0], length);
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return path.rfind('/', 0) == 0 ? L"Z:" + wide : wide;
}

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using Held = std::unique_ptr<T, Releaser>;

// A type's attributes, given back when done.
class Attributes {
 public:
  explicit Attributes(ITypeInfo* info) : info_(info) {
    if (FAILED(info_->GetTypeAttr(&attr_))) attr_ = nullptr;
  }
  ~Attributes() {
    if (attr_ != nullptr) info_->ReleaseTypeAttr(attr_);
  }
  Attributes(const Attributes&) = delete;
  Attributes& operator=(const Attributes&) = delete;
  const TYPEATTR* operator->() const { return attr_; }
  explicit operator bool() const { return attr_ != nullptr; }

 private:
  ITypeInfo* info_;
  TYPEATTR* attr_ = nullptr;
};

// One function's description, given back when done.
class Function {
 public:
  Function(ITypeInfo* info, UINT index) : info_(info) {
    if (FAILED(info_->GetFuncDesc(index, &desc_))) desc_ = nullptr;
  }
  ~Function() {
    if (desc_ != nullptr) info_->ReleaseFuncDesc(desc_);
  }
  Function(const Function&) = delete;
  Function& operator=(const Function&) = delete;
  const FUNCDESC* operator->() const { return desc_; }
  explicit operator bool() const { return desc_ != nullptr; }

 private:
  ITypeInfo* info_;
  FUNCDESC* desc_ = nullptr;
};

std::u16string Text(BSTR text) {
  std::u16string out = platform::FromBstr(text);
  SysFreeString(text);
  return out;
}

std::u16string NameOf(ITypeInfo* info) {
  BSTR name = nullptr;
  if (FAILED(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr))) return {};
  return Text(name);
}

// A parameter's type as "VT" or "VT_PTR to VT", the way a client marshals it.
struct ParamType {
  VARTYPE vt;
  VARTYPE pointee;  // VT_EMPTY unless vt is VT_PTR
  bool operator==(const ParamType& o) const { return vt == o.vt && pointee == o.pointee; }
};

ParamType TypeOf(const ELEMDESC& element) {
  const TYPEDESC& t = element.tdesc;
  return {t.vt, t.vt == VT_PTR && t.lptdesc != nullptr ? t.lptdesc->vt : VARTYPE(VT_EMPTY)};
}

std::ostream& operator<<(std::ostream& os, const ParamType& t) {
  os << "vt " << t.vt;
  if (t.vt == VT_PTR) os << " to vt " << t.pointee;
  return os;
}

// What the library must say for an argument the dispatch table reads with
// this kind. COFreezeEvents is declared VARIANT_BOOL, which is what control
// objects pass; Invoke coerces it to the long the table reads.
struct Expected {
  ParamType type;
  USHORT flags;
};

Expected ForArgument(ArgKind kind, int32_t dispid) {
  const ParamType kLong{VT_I4, VT_EMPTY};
  switch (kind) {
    case ArgKind::kLong:
      return {dispid == static_cast<int32_t>(MethodId::COFreezeEvents) ? ParamType{VT_BOOL, VT_EMPTY}
                                                                        : kLong,
              PARAMFLAG_FIN};
    case ArgKind::kText: return {{VT_BSTR, VT_EMPTY}, PARAMFLAG_FIN};
    case ArgKind::kDispatch: return {{VT_DISPATCH, VT_EMPTY}, PARAMFLAG_FIN};
    case ArgKind::kLongRef: return {{VT_PTR, VT_I4}, PARAMFLAG_FIN | PARAMFLAG_FOUT};
    case ArgKind::kTextRef: return {{VT_PTR, VT_BSTR}, PARAMFLAG_FIN | PARAMFLAG_FOUT};
  }
  return {{VT_ILLEGAL, VT_EMPTY}, 0};
}

Expected ForResult(ResultKind kind) {
  return {{VT_PTR, kind == ResultKind::kText ? VARTYPE(VT_BSTR) : VARTYPE(VT_I4)},
          PARAMFLAG_FOUT | PARAMFLAG_FRETVAL};
}

class TypeLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ITypeLib* library = nullptr;
    const std::wstring file = LibraryFile();
    ASSERT_EQ(LoadTypeLibEx(file.c_str(), REGKIND_NONE, &library), S_OK)
        << "no type library in resource 1 of " << ZOBELSO_DLL_FILE;
    library_.reset(library);
  }

  Held<ITypeInfo> TypeOfGuid(const GUID& guid) {
    ITypeInfo* info = nullptr;
    EXPECT_EQ(library_->GetTypeInfoOfGuid(guid, &info), S_OK);
    return Held<ITypeInfo>(info);
  }

  Held<ITypeLib> library_;
};

TEST_F(TypeLibrary, CarriesTheLibraryIdentifierVersionAndTheModulesBitness) {
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(library_->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, kLibidOPosPrinterSOLib));
  EXPECT_EQ(attr->wMajorVerNum, kTypeLibMajor);
  EXPECT_EQ(attr->wMinorVerNum, kTypeLibMinor);
  EXPECT_EQ(attr->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
  library_->ReleaseTLibAttr(attr);

  BSTR name = nullptr;
  ASSERT_EQ(library_->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(Text(name), u"OPosPrinterSOLib");
}

TEST_F(TypeLibrary, TheCreatableClassOffersTheDispatchInterfaceByDefault) {
  Held<ITypeInfo> coclass = TypeOfGuid(kClsidQELOposPrinterSO);
  ASSERT_TRUE(coclass);
  Attributes attr(coclass.get());
  ASSERT_TRUE(attr);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_NE(attr->wTypeFlags & TYPEFLAG_FCANCREATE, 0);
  EXPECT_EQ(NameOf(coclass.get()), u"QELOposPrinterSO");
  ASSERT_EQ(attr->cImplTypes, 1);

  INT flags = 0;
  ASSERT_EQ(coclass->GetImplTypeFlags(0, &flags), S_OK);
  EXPECT_NE(flags & IMPLTYPEFLAG_FDEFAULT, 0);
  HREFTYPE ref = 0;
  ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &ref), S_OK);
  ITypeInfo* implemented = nullptr;
  ASSERT_EQ(coclass->GetRefTypeInfo(ref, &implemented), S_OK);
  Held<ITypeInfo> held(implemented);
  Attributes implementedAttr(implemented);
  ASSERT_TRUE(implementedAttr);
  EXPECT_TRUE(IsEqualGUID(implementedAttr->guid, kIidIQELOposPrinterSO));
}

// The class answers IDispatch only, so the interface must be a pure
// dispinterface: a dual one would tell clients to call a vtable that
// QueryInterface refuses.
TEST_F(TypeLibrary, PromisesNoVtableBeyondTheDispatchTheClassImplements) {
  Held<ITypeInfo> interface_ = TypeOfGuid(kIidIQELOposPrinterSO);
  ASSERT_TRUE(interface_);
  Attributes attr(interface_.get());
  ASSERT_TRUE(attr);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  EXPECT_EQ(attr->wTypeFlags & TYPEFLAG_FDUAL, 0);
  EXPECT_NE(attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE, 0);
  EXPECT_EQ(NameOf(interface_.get()), u"IQELOposPrinterSO");

  Held<IDispatch> instance(new CQELOposPrinterSO(nullptr));
  void* vtable = reinterpret_cast<void*>(1);
  EXPECT_EQ(instance->QueryInterface(kIidIQELOposPrinterSO, &vtable), E_NOINTERFACE);
  EXPECT_EQ(vtable, nullptr);
  void* dispatch = nullptr;
  ASSERT_EQ(instance->QueryInterface(IID_IDispatch, &dispatch), S_OK);
  static_cast<IDispatch*>(dispatch)->Release();
}

// Every method, in the table's order: its name, its identifier, and each
// parameter's direction and type against the kind of argument Invoke reads,
// ending in the [out, retval] that Invoke fills through pVarResult.
TEST_F(TypeLibrary, DescribesEachMethodAsInvokeReadsIt) {
  Held<ITypeInfo> interface_ = TypeOfGuid(kIidIQELOposPrinterSO);
  ASSERT_TRUE(interface_);
  ITypeInfo* info = interface_.get();
  Attributes attr(info);
  ASSERT_TRUE(attr);
  ASSERT_EQ(static_cast<size_t>(attr->cFuncs), kDispatchMethodCount);

  for (UINT index = 0; index < kDispatchMethodCount; ++index) {
    const int32_t dispid = static_cast<int32_t>(index + 1);
    const DispatchMethod* method = FindMethod(dispid);
    ASSERT_NE(method, nullptr);
    const std::u16string name = method->name;
    SCOPED_TRACE(std::string(name.begin(), name.end()));

    Function function(info, index);
    ASSERT_TRUE(function);
    EXPECT_EQ(function->memid, dispid);
    EXPECT_EQ(function->funckind, FUNC_DISPATCH);
    EXPECT_EQ(function->invkind, INVOKE_FUNC);
    EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_HRESULT);
    EXPECT_EQ(function->cParamsOpt, 0);

    const size_t arguments = std::strlen(method->arguments);
    ASSERT_EQ(static_cast<size_t>(function->cParams), arguments + 1);

    BSTR names[1] = {nullptr};
    UINT found = 0;
    ASSERT_EQ(info->GetNames(function->memid, names, 1, &found), S_OK);
    ASSERT_EQ(found, 1u);
    EXPECT_EQ(Text(names[0]), name);

    // A client that resolves the name through the library gets the
    // identifier the class answers for it.
    std::wstring wide(name.begin(), name.end());
    LPOLESTR lookup = &wide[0];
    MEMBERID resolved = MEMBERID_NIL;
    EXPECT_EQ(info->GetIDsOfNames(&lookup, 1, &resolved), S_OK);
    EXPECT_EQ(resolved, FindDispid(name));

    for (size_t p = 0; p <= arguments; ++p) {
      SCOPED_TRACE("parameter " + std::to_string(p + 1));
      const ELEMDESC& param = function->lprgelemdescParam[p];
      const Expected expected =
          p < arguments ? ForArgument(static_cast<ArgKind>(method->arguments[p]), dispid)
                        : ForResult(method->result);
      EXPECT_EQ(TypeOf(param), expected.type);
      EXPECT_EQ(param.paramdesc.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FRETVAL),
                expected.flags);
    }
  }
}

}  // namespace
}  // namespace COM
}  // namespace QEL

#endif  // _WIN32
