#pragma once
// The state the tool's windows share for the whole run: the edition, the
// language, the registry, and what the user selected in the device tree. The
// dialogs work on the selected key path and the selected device.
#include <cstdint>
#include <string>

#include "config/RegistryLayout.h"
#include "platform/registry.h"
#include "tool/core/Edition.h"
#include "tool/core/Language.h"
#include "tool/core/ToolRegistry.h"

namespace tool {

// What the selected tree node is.
enum class NodeType {
  kNone,           // nothing clicked yet
  kRoot,           // "Device"
  kPrinterClass,   // "POSPrinter" class node
  kDrawerClass,    // "CashDrawer" class node
  kPrinterDevice,  // a printer device key
  kDrawerDevice,   // a cash-drawer device key
  kLogicName,      // a logical name below a device
};

struct ToolSettings {
  std::string languageFile;        // Language.ini beside the executable
  uint32_t systemLanguageId = 1033;  // the system's default language identifier
  std::u16string edition = BuildEdition();
  std::u16string oposRoot = QEL::Config::kOposRoot;
};

class ToolContext {
 public:
  // Start-up order: root path, edition, language, edition ProgID list.
  ToolContext(platform::Registry& registry, const ToolSettings& settings);

  ToolRegistry& registry() { return registry_; }
  const LanguageTexts& language() const { return language_; }
  LanguageTexts& language() { return language_; }
  // Text of a language key (design text when the file lacks it).
  std::u16string Text(const std::u16string& key) const { return language_.Text(key); }
  // Caption of every message box ("_MSG_Title").
  std::u16string MessageTitle() const { return language_.Text(u"_MSG_Title"); }

  const std::u16string& edition() const { return edition_; }
  const std::u16string& progIdList() const { return progIdList_; }
  const std::u16string& oposRoot() const { return registry_.oposRoot(); }

  // Registry path of the selected node; the dialogs read and write the device
  // key here (the printer dialog in mode Add extends it by the new name).
  std::u16string selectedKeyPath;
  NodeType nodeType = NodeType::kNone;
  // Class of the selected device or logical name.
  DeviceClass deviceClass = DeviceClass::kPrinter;
  // Device name of the selected device or of the device owning the selected
  // logical name; empty on class nodes.
  std::u16string selectedDevice;

 private:
  ToolRegistry registry_;
  std::u16string edition_;
  std::u16string progIdList_;
  LanguageTexts language_;
};

}  // namespace tool
