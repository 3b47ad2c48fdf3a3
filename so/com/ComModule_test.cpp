// The module behind the library's exports: handing out the class factory,
// unloading, and registration into private registry locations with a
// stand-in for the type-library step.
#include "so/com/ComModule.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry_test_sandbox.h"
#include "so/com/ClassFactory.h"
#include "so/com/ClassIdentity.h"
#include "so/com/ModuleLocks.h"

namespace QEL {
namespace COM {
namespace {

// TYPE_E_CANTLOADLIBRARY: what the step answers for a module without a
// type library.
constexpr HRESULT kTypeLibraryMissing = static_cast<HRESULT>(0x80029C4Au);
constexpr CLSID kOtherClsid = {
    0x502264C6, 0xEADD, 0x45C2, {0x99, 0x20, 0xCD, 0xB8, 0xBF, 0x95, 0xFB, 0x73}};

class ComModuleTest : public ::testing::Test {
 protected:
  ComModuleServices Services() {
    ComModuleServices s;
    s.modulePath = [this] { return modulePath; };
    platform::RegistryTestSandbox* box = &box_;
    s.openRegistry = [box](platform::RegistryRoot) { return box->OpenAgain(); };
    s.machineClasses = Machine();
    s.userClasses = User();
    s.registerTypeLibrary = [this](const std::u16string& path, bool perUser) {
      Note("register type library", perUser, path);
      return typeLibraryResult;
    };
    s.unregisterTypeLibrary = [this](const std::u16string& path, bool perUser) {
      Note("unregister type library", perUser, path);
      return typeLibraryResult;
    };
    s.switchThreadLocale = [this](LCID locale) {
      steps.push_back("locale " + std::to_string(locale));
      return std::function<void()>([this] { steps.push_back("locale restored"); });
    };
    s.createClassFactory = [this]() -> IClassFactory* {
      std::lock_guard<std::mutex> lock(factoriesLock);
      ++factoriesCreated;
      return new ClassFactory();
    };
    return s;
  }

  ClassesLocation Machine() const {
    return {platform::RegistryRoot::kCurrentUser, box_.Path(u"MachineClasses")};
  }
  ClassesLocation User() const {
    return {platform::RegistryRoot::kCurrentUser, box_.Path(u"UserClasses")};
  }

  std::unique_ptr<platform::RegistryKey> Key(const ClassesLocation& at,
                                            const std::u16string& below) {
    return box_.registry().Open(at.path + u"\\" + below, platform::RegistryAccess::kRead);
  }
  bool HasClass(const ClassesLocation& at) {
    return Key(at, std::u16string(u"CLSID\\") + kClsidText) != nullptr;
  }
  bool HasProgIds(const ClassesLocation& at) {
    return Key(at, kProgId) != nullptr || Key(at, kVersionIndependentProgId) != nullptr;
  }
  // The server file a client's CoCreateInstance would load.
  std::u16string InprocServer(const ClassesLocation& at) {
    std::unique_ptr<platform::RegistryKey> key =
        Key(at, std::u16string(u"CLSID\\") + kClsidText + u"\\InprocServer32");
    std::u16string text;
    if (!key || key->ReadString(u"", 0, &text) != platform::RegistryRead::kOk) return u"(none)";
    return text;
  }

  // Each type-library step, where it went, and whether the class's keys
  // existed at that moment.
  void Note(const char* step, bool perUser, const std::u16string& path) {
    EXPECT_EQ(path, modulePath);
    const ClassesLocation at = perUser ? User() : Machine();
    steps.push_back(std::string(step) + (perUser ? " (user)" : " (machine)") +
                    (HasClass(at) ? " after the class" : " before the class"));
  }

  std::u16string modulePath = u"C:\\Program Files\\Tarrow\\OPOS\\ZOBELSO.dll";
  HRESULT typeLibraryResult = S_OK;
  std::vector<std::string> steps;
  std::mutex factoriesLock;
  int factoriesCreated = 0;

 private:
  platform::RegistryTestSandbox box_;
};

using Steps = std::vector<std::string>;

// --- the class factory ---

TEST_F(ComModuleTest, HandsOutTheFactoryOnlyForItsClassAndClearsTheAnswerFirst) {
  ComModule module(Services());
  EXPECT_EQ(module.GetClassObject(kClsidQELOposPrinterSO, IID_IClassFactory, nullptr), E_POINTER);
  struct Case {
    const char* name;
    CLSID clsid;
    IID iid;
    HRESULT expected;
  };
  const Case cases[] = {
      {"another class", kOtherClsid, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
      {"the factory", kClsidQELOposPrinterSO, IID_IClassFactory, S_OK},
      {"its IUnknown", kClsidQELOposPrinterSO, IID_IUnknown, S_OK},
      {"not a factory's", kClsidQELOposPrinterSO, IID_IDispatch, E_NOINTERFACE},
  };
  for (const Case& c : cases) {
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(module.GetClassObject(c.clsid, c.iid, &object), c.expected) << c.name;
    if (c.expected == S_OK) {
      ASSERT_NE(object, nullptr) << c.name;
      static_cast<IUnknown*>(object)->Release();
    } else {
      EXPECT_EQ(object, nullptr) << c.name;
    }
  }
}

TEST_F(ComModuleTest, CreatesTheFactoryOnceForEveryThreadThatAsks) {
  ComModule module(Services());
  constexpr int kThreads = 8;
  std::vector<void*> got(kThreads, nullptr);
  std::vector<HRESULT> results(kThreads, E_FAIL);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      results[i] = module.GetClassObject(kClsidQELOposPrinterSO, IID_IClassFactory, &got[i]);
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(factoriesCreated, 1);
  for (int i = 0; i < kThreads; ++i) {
    ASSERT_EQ(results[i], S_OK);
    EXPECT_EQ(got[i], got[0]);
    static_cast<IUnknown*>(got[i])->Release();
  }
}

TEST_F(ComModuleTest, AFactoryThatCannotBeMadeMakesTheClassUnavailable) {
  ComModuleServices nothing = Services();
  nothing.createClassFactory = []() -> IClassFactory* { return nullptr; };
  ComModuleServices throwing = Services();
  throwing.createClassFactory = []() -> IClassFactory* { throw std::runtime_error("no memory"); };
  for (ComModuleServices* services : {&nothing, &throwing}) {
    ComModule module(*services);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(module.GetClassObject(kClsidQELOposPrinterSO, IID_IClassFactory, &object),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
  }
}

TEST_F(ComModuleTest, MayUnloadOnlyOnceNoInstanceFactoryOrLockRemains) {
  ASSERT_EQ(ModuleLocks::Count(), 0) << "an earlier test left an instance or a lock alive";
  ComModule module(Services());
  EXPECT_EQ(module.CanUnloadNow(), S_OK);

  void* object = nullptr;
  ASSERT_EQ(module.GetClassObject(kClsidQELOposPrinterSO, IID_IClassFactory, &object), S_OK);
  IClassFactory* factory = static_cast<IClassFactory*>(object);
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "the client holds the factory";
  void* instance = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, &instance), S_OK);
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "an instance lives";
  static_cast<IUnknown*>(instance)->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_OK);

  ASSERT_EQ(module.GetClassObject(kClsidQELOposPrinterSO, IID_IClassFactory, &object), S_OK);
  factory = static_cast<IClassFactory*>(object);
  EXPECT_EQ(factory->LockServer(1), S_OK);
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_FALSE) << "locked";
  ASSERT_EQ(module.GetClassObject(kClsidQELOposPrinterSO, IID_IClassFactory, &object), S_OK);
  factory = static_cast<IClassFactory*>(object);
  EXPECT_EQ(factory->LockServer(0), S_OK);
  factory->Release();
  EXPECT_EQ(module.CanUnloadNow(), S_OK);
}

// --- registration ---

TEST_F(ComModuleTest, RegistersForTheMachineUnderTheSystemLocaleWithTheTypeLibraryLast) {
  ComModule module(Services());
  ASSERT_EQ(module.Register(), S_OK);
  EXPECT_EQ(InprocServer(Machine()), modulePath);
  EXPECT_FALSE(HasClass(User()));
  EXPECT_EQ(steps, (Steps{"locale 2048", "register type library (machine) after the class",
                          "locale restored"}));
}

TEST_F(ComModuleTest, RegistersForTheUserInPerUserMode) {
  ComModule module(Services());
  EXPECT_FALSE(module.PerUser()) << "off by default";
  module.SetPerUser(true);
  ASSERT_EQ(module.Register(), S_OK);
  EXPECT_EQ(InprocServer(User()), modulePath);
  EXPECT_FALSE(HasClass(Machine()));
  EXPECT_EQ(steps, (Steps{"locale 2048", "register type library (user) after the class",
                          "locale restored"}));
}

TEST_F(ComModuleTest, UnregistersTheTypeLibraryFirstAndKeepsTheClsidKey) {
  ComModule module(Services());
  ASSERT_EQ(module.Register(), S_OK);
  steps.clear();
  ASSERT_EQ(module.Unregister(), S_OK);
  EXPECT_EQ(steps, (Steps{"locale 2048", "unregister type library (machine) after the class",
                          "locale restored"}));
  EXPECT_FALSE(HasClass(Machine()));
  EXPECT_FALSE(HasProgIds(Machine()));
  EXPECT_NE(Key(Machine(), u"CLSID"), nullptr);
}

TEST_F(ComModuleTest, UnregisteringGoesOnPastAFailingStepAndAnswersIt) {
  ComModule module(Services());
  ASSERT_EQ(module.Register(), S_OK);
  typeLibraryResult = kTypeLibraryMissing;
  EXPECT_EQ(module.Unregister(), kTypeLibraryMissing);
  EXPECT_FALSE(HasClass(Machine()));
  EXPECT_FALSE(HasProgIds(Machine()));
}

TEST_F(ComModuleTest, RegistrationStopsAtTheFailingTypeLibraryAndLeavesTheRestToTheCaller) {
  ComModule module(Services());
  typeLibraryResult = kTypeLibraryMissing;
  EXPECT_EQ(module.Register(), kTypeLibraryMissing);
  EXPECT_TRUE(HasClass(Machine())) << "DllRegisterServer undoes nothing by itself";
  EXPECT_EQ(steps.back(), "locale restored");
}

TEST_F(ComModuleTest, AFailedInstallLeavesNothingBehind) {
  ComModule module(Services());
  typeLibraryResult = kTypeLibraryMissing;
  EXPECT_EQ(module.Install(true, nullptr), kTypeLibraryMissing) << "the registration's result";
  EXPECT_FALSE(HasClass(Machine()));
  EXPECT_FALSE(HasProgIds(Machine()));
  EXPECT_EQ(steps, (Steps{"locale 2048", "register type library (machine) after the class",
                          "locale restored", "locale 2048",
                          "unregister type library (machine) after the class",
                          "locale restored"}));
}

TEST_F(ComModuleTest, InstallWithTheWordUserInAnyCaseRegistersForTheUser) {
  struct Case {
    const char16_t* commandLine;
    bool perUser;
  };
  const Case cases[] = {{u"user", true},   {u"USER", true},  {u"uSeR", true},
                        {u"users", false}, {u"user1", false}, {u"use", false},
                        {u" user", false}, {u"", false},     {nullptr, false}};
  for (const Case& c : cases) {
    const std::u16string shown = c.commandLine ? c.commandLine : u"(null)";
    SCOPED_TRACE(std::string(shown.begin(), shown.end()));
    ComModule module(Services());
    ASSERT_EQ(module.Install(true, c.commandLine), S_OK);
    EXPECT_EQ(module.PerUser(), c.perUser);
    EXPECT_EQ(HasClass(User()), c.perUser);
    EXPECT_EQ(HasClass(Machine()), !c.perUser);
    ASSERT_EQ(module.Install(false, c.commandLine), S_OK);
    EXPECT_FALSE(HasClass(User()));
    EXPECT_FALSE(HasClass(Machine()));
  }
}

TEST_F(ComModuleTest, AModulePathTooLongForTheRegistryWritesNothing) {
  modulePath = u"C:\\" + std::u16string(253, u'd') + u"\\Z.dll";  // 262 characters
  ComModule module(Services());
  const HRESULT kFileNameTooLong = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  EXPECT_EQ(module.Install(true, nullptr), kFileNameTooLong);
  EXPECT_FALSE(HasClass(Machine()));
  EXPECT_FALSE(HasProgIds(Machine()));
  for (const std::string& step : steps) {
    EXPECT_NE(step.rfind("register type library", 0), 0u) << "reached the type library";
  }
}

}  // namespace
}  // namespace COM
}  // namespace QEL
