#include "tool/core/MirroredRegistry.h"

#include <utility>
#include <vector>

namespace tool {

namespace {

class MirroredKey final : public platform::RegistryKey {
 public:
  MirroredKey(std::unique_ptr<platform::RegistryKey> primary, std::unique_ptr<platform::RegistryKey> mirror)
      : primary_(std::move(primary)), mirror_(std::move(mirror)) {}

  platform::RegistryRead ReadString(const std::u16string& name, size_t maxBytes,
                                    std::u16string* text) override {
    return primary_->ReadString(name, maxBytes, text);
  }
  bool WriteString(const std::u16string& name, const std::u16string& text) override {
    if (!primary_->WriteString(name, text)) return false;
    if (mirror_) mirror_->WriteString(name, text);
    return true;
  }
  bool WriteNumber(const std::u16string& name, uint32_t value) override {
    if (!primary_->WriteNumber(name, value)) return false;
    if (mirror_) mirror_->WriteNumber(name, value);
    return true;
  }
  bool SubkeyNames(std::vector<std::u16string>* names) override { return primary_->SubkeyNames(names); }
  bool Values(std::vector<platform::RegistryValue>* values) override { return primary_->Values(values); }
  bool DeleteSubkey(const std::u16string& name) override {
    if (!primary_->DeleteSubkey(name)) return false;
    // The mirror may never have had it.
    if (mirror_) mirror_->DeleteSubkey(name);
    return true;
  }
  bool DeleteValue(const std::u16string& name) override {
    if (!primary_->DeleteValue(name)) return false;
    if (mirror_) mirror_->DeleteValue(name);
    return true;
  }
  std::string ErrorText() const override { return primary_->ErrorText(); }

 private:
  std::unique_ptr<platform::RegistryKey> primary_;
  std::unique_ptr<platform::RegistryKey> mirror_;
};

}  // namespace

std::unique_ptr<platform::RegistryKey> MirroredRegistry::Open(const std::u16string& path,
                                                              platform::RegistryAccess access) {
  std::unique_ptr<platform::RegistryKey> primary = primary_.Open(path, access);
  if (!primary || access == platform::RegistryAccess::kRead) return primary;
  return Mirrored(std::move(primary), path);
}

std::unique_ptr<platform::RegistryKey> MirroredRegistry::Create(const std::u16string& path) {
  std::unique_ptr<platform::RegistryKey> primary = primary_.Create(path);
  if (!primary) return nullptr;
  return Mirrored(std::move(primary), path);
}

std::unique_ptr<platform::RegistryKey> MirroredRegistry::Mirrored(
    std::unique_ptr<platform::RegistryKey> primary, const std::u16string& path) {
  std::unique_ptr<platform::RegistryKey> mirror = mirror_.Create(path);
  if (mirror) {
    std::vector<platform::RegistryValue> values;
    if (primary->Values(&values)) {
      for (const platform::RegistryValue& value : values) {
        if (value.isString) mirror->WriteString(value.name, value.text);
      }
    }
  }
  return std::make_unique<MirroredKey>(std::move(primary), std::move(mirror));
}

}  // namespace tool
