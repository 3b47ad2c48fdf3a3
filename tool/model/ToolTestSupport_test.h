#pragma once
// What the window-logic tests share: a private registry with an OPOS root of
// its own, a tool context on it, a prompt that records what it was asked and
// answers as scripted, and a fixed list of system ports.
#include <deque>
#include <string>
#include <vector>

#include "platform/registry_test_sandbox.h"
#include "tool/core/ToolContext.h"
#include "tool/model/PortEnumerator.h"
#include "tool/model/Prompt.h"

namespace tool {
namespace tooltest {

class ScriptedPrompt : public Prompt {
 public:
  struct Shown {
    std::u16string kind;  // "confirm", "inform" or "notify"
    std::u16string title;
    std::u16string text;
    bool operator==(const Shown& other) const {
      return kind == other.kind && title == other.title && text == other.text;
    }
  };

  bool Confirm(const std::u16string& title, const std::u16string& text) override {
    shown.push_back({u"confirm", title, text});
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Inform(const std::u16string& title, const std::u16string& text) override {
    shown.push_back({u"inform", title, text});
  }
  void Notify(const std::u16string& text) override { shown.push_back({u"notify", u"", text}); }

  std::deque<bool> answers;  // Confirm answers in turn; Cancel when none is left
  std::vector<Shown> shown;
};

class FixedPorts : public PortEnumerator {
 public:
  SystemPortList ListPorts() override {
    ++calls;
    return listing;
  }
  SystemPortList listing;
  int calls = 0;
};

// A sandboxed registry with its own OPOS root and a context on it. The
// language file is absent unless a test names one, so the texts are the
// design texts.
class ToolSandbox {
 public:
  explicit ToolSandbox(std::u16string edition = u"TARROW", std::string languageFile = std::string())
      : root_(box_.Path(u"ServiceOPOS")),
        context_(box_.registry(), Settings(root_, std::move(edition), std::move(languageFile), box_)) {}

  ToolContext& context() { return context_; }
  ToolRegistry& registry() { return context_.registry(); }
  platform::Registry& raw() { return box_.registry(); }
  const std::u16string& root() const { return root_; }
  std::u16string PrinterClass() const { return root_ + u"\\POSPrinter"; }
  std::u16string DrawerClass() const { return root_ + u"\\CashDrawer"; }
  std::string Folder() const { return box_.Folder(); }

  // A printer key as another program (or an earlier save) left it.
  void AddPrinter(const std::u16string& device, const std::u16string& progId,
                  const std::u16string& portType = u"USB", const std::u16string& portSettings = u"TRAIL-3",
                  const std::u16string& model = u"TRAIL-3") {
    const std::u16string key = PrinterClass() + u"\\" + device;
    registry().WriteString(key, u"", progId);
    registry().WriteString(key, u"DriverModel", model);
    registry().WriteString(key, u"DriverName", device);
    registry().WriteString(key, u"PortType", portType);
    registry().WriteString(key, u"Notes", u"");
    registry().WriteString(key, u"PortSettings", portSettings);
  }
  void AddDrawer(const std::u16string& device, const std::u16string& printer, const std::u16string& progId) {
    const std::u16string key = DrawerClass() + u"\\" + device;
    registry().WriteString(key, u"", progId);
    registry().WriteString(key, u"PrinterName", printer);
  }
  void AddLogicalName(bool printer, const std::u16string& name, const std::u16string& device) {
    registry().WriteString(printer ? PrinterClass() : DrawerClass(), name, device);
  }

 private:
  static ToolSettings Settings(const std::u16string& root, std::u16string edition, std::string languageFile,
                               const platform::RegistryTestSandbox& box) {
    ToolSettings settings;
    settings.languageFile = languageFile.empty() ? box.Folder() + "/absent/Language.ini" : languageFile;
    settings.systemLanguageId = 1033;
    settings.edition = std::move(edition);
    settings.oposRoot = root;
    return settings;
  }

  platform::RegistryTestSandbox box_;
  std::u16string root_;
  ToolContext context_;
};

}  // namespace tooltest
}  // namespace tool
