// VORNAOPOSPrintSetting: the OPOS printer setting tool's program.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "platform/registry.h"
#include "tool/core/Language.h"
#include "tool/core/MirroredRegistry.h"
#include "tool/core/ToolContext.h"
#include "tool/model/CashDrawerDialogModel.h"
#include "tool/model/CodepageDialogModel.h"
#include "tool/model/HealthCheck.h"
#include "tool/model/LogicNameDialogModel.h"
#include "tool/model/MainWindowModel.h"
#include "tool/model/PrinterDialogModel.h"
#include "tool/win32/DispatchControlObject.h"
#include "tool/win32/MainWindow.h"
#include "tool/win32/MessageBoxPrompt.h"
#include "tool/win32/PrinterDialog.h"
#include "tool/win32/SystemPorts.h"

namespace {

// The language file's path, UTF-8: beside this program.
std::string LanguageFileBesideProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.erase(path.find_last_of(L"\\/") + 1);
  const std::string name = tool::kLanguageFileName;
  path += std::wstring(name.begin(), name.end());
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
  utf8.resize(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0));
  return utf8;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  std::unique_ptr<platform::Registry> ownView =
      platform::OpenSystemRegistry(platform::RegistryRoot::kLocalMachine);
  // Devices are configured for 32-bit and 64-bit applications alike.
  std::unique_ptr<platform::Registry> otherView =
      platform::OpenOtherRegistryView(platform::RegistryRoot::kLocalMachine);
  std::unique_ptr<platform::Registry> mirrored;
  if (otherView) mirrored = std::make_unique<tool::MirroredRegistry>(*ownView, *otherView);
  platform::Registry& registry = mirrored ? *mirrored : *ownView;
  tool::ToolSettings settings;
  settings.languageFile = LanguageFileBesideProgram();
  settings.systemLanguageId = GetSystemDefaultLangID();
  tool::ToolContext context(registry, settings);

  toolwin::MessageBoxPrompt prompt;
  toolwin::SystemPorts ports;
  tool::MainWindowModel mainModel(context, prompt);
  tool::PrinterDialogModel printerModel(context, prompt, ports);
  toolwin::PrinterDialog printerDialog(printerModel);
  tool::LogicNameDialogModel logicNameModel(context, prompt);
  toolwin::LogicNameDialog logicNameDialog(logicNameModel);
  tool::CashDrawerDialogModel cashDrawerModel(context, prompt);
  toolwin::CashDrawerDialog cashDrawerDialog(cashDrawerModel);
  tool::CodepageDialogModel codepageModel(context);
  toolwin::CodepageDialog codepageDialog(codepageModel);
  // The OPOS control objects of the health check, alive as long as the window.
  toolwin::DispatchControlObject printerControl(L"OPOS.POSPrinter");
  toolwin::DispatchControlObject drawerControl(L"OPOS.CashDrawer");
  tool::HealthCheck healthCheck(context, prompt, printerControl, drawerControl);
  toolwin::MainWindow mainWindow(mainModel, printerDialog, logicNameDialog, cashDrawerDialog, codepageDialog,
                                 healthCheck);
  mainWindow.Run(instance);
  return 0;
}
