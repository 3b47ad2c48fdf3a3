// The class factory as a COM client meets it: its interfaces, plain and
// aggregated instances, and what keeps the library loaded.
#include "so/com/ClassFactory.h"

#include <gtest/gtest.h>

#include <string>

#include "so/com/DispatchTable.h"
#include "so/com/ModuleLocks.h"

namespace QEL {
namespace COM {
namespace {

constexpr int32_t kServiceObjectVersionIndex = 8;

// A controlling object as an aggregating client has one: it counts what the
// inner object's interfaces delegate to it.
class TestOuter : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    ++queries;
    *object = static_cast<IUnknown*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++addRefs; }
  ULONG STDMETHODCALLTYPE Release() override { return ++releases; }
  virtual ~TestOuter() = default;

  int queries = 0;
  ULONG addRefs = 0;
  ULONG releases = 0;
};

DISPID IdOf(IDispatch* dispatch, const char16_t* name) {
  std::u16string text = name;
  LPOLESTR names[] = {const_cast<LPOLESTR>(platform::OleText(text.c_str()))};
  DISPID id = DISPID_UNKNOWN;
  EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id), S_OK);
  return id;
}

// GetPropertyNumber(ServiceObjectVersion) through Invoke, as a control object
// calls it after opening.
int32_t ServiceObjectVersion(IDispatch* dispatch) {
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_I4;
  arg.lVal = kServiceObjectVersionIndex;
  DISPPARAMS params = {&arg, nullptr, 1, 0};
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(dispatch->Invoke(IdOf(dispatch, u"GetPropertyNumber"), IID_NULL,
                             LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, &result, nullptr,
                             nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  return result.lVal;
}

class ClassFactoryTest : public ::testing::Test {
 protected:
  void SetUp() override { baseline = ModuleLocks::Count(); }
  void TearDown() override {
    factory->Release();
    EXPECT_EQ(ModuleLocks::Count(), baseline) << "every lock taken was given back";
  }
  // Locks taken since the test began.
  long Locks() const { return ModuleLocks::Count() - baseline; }

  IClassFactory* factory = new ClassFactory();
  long baseline = 0;
};

TEST_F(ClassFactoryTest, AnswersItsOwnInterfacesOnly) {
  struct Case {
    const char* name;
    IID iid;
    HRESULT expected;
  };
  const Case cases[] = {{"IUnknown", IID_IUnknown, S_OK},
                        {"IClassFactory", IID_IClassFactory, S_OK},
                        {"IDispatch", IID_IDispatch, E_NOINTERFACE}};
  for (const Case& c : cases) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->QueryInterface(c.iid, &object), c.expected) << c.name;
    if (c.expected == S_OK) {
      EXPECT_EQ(object, static_cast<void*>(factory)) << c.name;
      EXPECT_EQ(Locks(), 1) << c.name << ": a client's reference keeps the library";
      factory->Release();
    } else {
      EXPECT_EQ(object, nullptr) << c.name;
    }
    EXPECT_EQ(Locks(), 0) << c.name;
  }
  EXPECT_EQ(factory->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(ClassFactoryTest, APlainInstanceAnswersTheServiceObjectMethodsAndLocksWhileItLives) {
  void* object = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, &object), S_OK);
  IDispatch* instance = static_cast<IDispatch*>(object);
  EXPECT_EQ(IdOf(instance, u"OpenService"), static_cast<DISPID>(MethodId::OpenService));
  EXPECT_EQ(ServiceObjectVersion(instance), 1013001);
  EXPECT_EQ(Locks(), 1);
  instance->Release();
  EXPECT_EQ(Locks(), 0);
}

TEST_F(ClassFactoryTest, AnInterfaceTheInstanceLacksLeavesNothingAlive) {
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(Locks(), 0);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, nullptr), E_POINTER);
  EXPECT_EQ(Locks(), 0);
}

TEST_F(ClassFactoryTest, AnAggregateMayAskOnlyForTheNonDelegatingUnknown) {
  TestOuter outer;
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->CreateInstance(&outer, IID_IDispatch, &object), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(Locks(), 0);
  EXPECT_EQ(outer.addRefs, 0u);
}

TEST_F(ClassFactoryTest, AnAggregatedInstanceSpeaksForItsOuterObject) {
  TestOuter outer;
  void* object = nullptr;
  ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, &object), S_OK);
  IUnknown* inner = static_cast<IUnknown*>(object);
  EXPECT_EQ(outer.addRefs, 0u) << "the inner object holds no reference to its owner";
  EXPECT_EQ(Locks(), 1);

  void* again = nullptr;
  ASSERT_EQ(inner->QueryInterface(IID_IUnknown, &again), S_OK);
  EXPECT_EQ(again, static_cast<void*>(inner)) << "the non-delegating IUnknown is its own";
  inner->Release();

  void* found = nullptr;
  ASSERT_EQ(inner->QueryInterface(IID_IDispatch, &found), S_OK);
  IDispatch* dispatch = static_cast<IDispatch*>(found);
  EXPECT_NE(found, static_cast<void*>(inner));
  EXPECT_EQ(outer.addRefs, 1u) << "the interface handed out counts on the outer object";

  // The methods run in the inner instance...
  EXPECT_EQ(IdOf(dispatch, u"OpenService"), static_cast<DISPID>(MethodId::OpenService));
  EXPECT_EQ(ServiceObjectVersion(dispatch), 1013001);
  // ...while identity and lifetime are the outer object's.
  dispatch->AddRef();
  EXPECT_EQ(outer.addRefs, 2u);
  void* identity = nullptr;
  EXPECT_EQ(dispatch->QueryInterface(IID_IUnknown, &identity), S_OK);
  EXPECT_EQ(identity, static_cast<void*>(&outer));
  EXPECT_EQ(outer.queries, 1);
  dispatch->Release();
  dispatch->Release();
  EXPECT_EQ(outer.releases, 2u);
  EXPECT_EQ(Locks(), 1) << "only the non-delegating IUnknown ends the inner object";

  void* missing = reinterpret_cast<void*>(1);
  EXPECT_EQ(inner->QueryInterface(IID_IClassFactory, &missing), E_NOINTERFACE);
  EXPECT_EQ(missing, nullptr);

  EXPECT_EQ(inner->Release(), 0u);
  EXPECT_EQ(Locks(), 0) << "the instance inside went with its owner";
}

TEST_F(ClassFactoryTest, LockServerCountsUntilUndone) {
  EXPECT_EQ(factory->LockServer(1), S_OK);
  EXPECT_EQ(factory->LockServer(1), S_OK);
  EXPECT_EQ(Locks(), 2);
  EXPECT_EQ(factory->LockServer(0), S_OK);
  EXPECT_EQ(Locks(), 1);
  EXPECT_EQ(factory->LockServer(0), S_OK);
  EXPECT_EQ(Locks(), 0);
}

}  // namespace
}  // namespace COM
}  // namespace QEL
