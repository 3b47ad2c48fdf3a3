#pragma once
// A registry that passes everything on to a real one and notes each call as
// one line: "open <path>", "create <path>", "read <key path>|<value>",
// "write <key path>|<value>". Tests use it to see the order of the reads and
// writes, which the registry's contents alone do not show.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace QEL {
namespace Config {
namespace testing {

class RecordingRegistry : public platform::Registry {
 public:
  explicit RecordingRegistry(platform::Registry& real) : real_(real) {}

  std::unique_ptr<platform::RegistryKey> Open(const std::u16string& path,
                                              platform::RegistryAccess access) override {
    log_.push_back(u"open " + path);
    return Wrap(real_.Open(path, access), path);
  }
  std::unique_ptr<platform::RegistryKey> Create(const std::u16string& path) override {
    log_.push_back(u"create " + path);
    return Wrap(real_.Create(path), path);
  }
  std::string ErrorText() const override { return real_.ErrorText(); }

  const std::vector<std::u16string>& Log() const { return log_; }
  // The log lines that start with `prefix`, without it.
  std::vector<std::u16string> Lines(const std::u16string& prefix) const {
    std::vector<std::u16string> lines;
    for (const std::u16string& line : log_) {
      if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line.substr(prefix.size()));
    }
    return lines;
  }

 private:
  class Key : public platform::RegistryKey {
   public:
    Key(std::unique_ptr<platform::RegistryKey> real, std::u16string path,
        std::vector<std::u16string>* log)
        : real_(std::move(real)), path_(std::move(path)), log_(log) {}
    platform::RegistryRead ReadString(const std::u16string& name, size_t maxBytes,
                                      std::u16string* text) override {
      log_->push_back(u"read " + path_ + u"|" + name);
      return real_->ReadString(name, maxBytes, text);
    }
    bool WriteString(const std::u16string& name, const std::u16string& text) override {
      log_->push_back(u"write " + path_ + u"|" + name);
      return real_->WriteString(name, text);
    }
    bool WriteNumber(const std::u16string& name, uint32_t value) override {
      log_->push_back(u"write " + path_ + u"|" + name);
      return real_->WriteNumber(name, value);
    }
    bool SubkeyNames(std::vector<std::u16string>* names) override { return real_->SubkeyNames(names); }
    bool Values(std::vector<platform::RegistryValue>* values) override { return real_->Values(values); }
    bool DeleteSubkey(const std::u16string& name) override { return real_->DeleteSubkey(name); }
    bool DeleteValue(const std::u16string& name) override { return real_->DeleteValue(name); }
    std::string ErrorText() const override { return real_->ErrorText(); }

   private:
    std::unique_ptr<platform::RegistryKey> real_;
    std::u16string path_;
    std::vector<std::u16string>* log_;
  };

  std::unique_ptr<platform::RegistryKey> Wrap(std::unique_ptr<platform::RegistryKey> key,
                                              const std::u16string& path) {
    if (!key) return nullptr;
    return std::make_unique<Key>(std::move(key), path, &log_);
  }

  platform::Registry& real_;
  std::vector<std::u16string> log_;
};

}  // namespace testing
}  // namespace Config
}  // namespace QEL
