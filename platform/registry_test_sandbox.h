#pragma once
// For tests only: a private part of the registry that is gone afterwards, so
// that tests neither see each other's keys nor the machine's configuration.
// Where the registry is a file, that file lies in a fresh temporary folder;
// where it is the system's, the keys go below
// HKEY_CURRENT_USER\Software\ZOBELSO-tests\<unique name> and are deleted at
// the end.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "platform/registry.h"

namespace platform {

class RegistryTestSandbox {
 public:
  RegistryTestSandbox() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const std::string unique =
        std::to_string(random()) + "_" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007) +
        "_" + std::to_string(++counter);
    folder_ = std::filesystem::temp_directory_path() / ("zobelso_registry_" + unique);
    std::filesystem::create_directories(folder_);
    leaf_.assign(unique.begin(), unique.end());
    registry_ = OpenSystemRegistry(RegistryRoot::kCurrentUser, StoreFile());
  }

  ~RegistryTestSandbox() {
    if (std::unique_ptr<RegistryKey> parent = registry_->Open(kParent, RegistryAccess::kReadWrite)) {
      parent->DeleteSubkey(leaf_);
    }
    registry_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  RegistryTestSandbox(const RegistryTestSandbox&) = delete;
  RegistryTestSandbox& operator=(const RegistryTestSandbox&) = delete;

  Registry& registry() { return *registry_; }
  // Another registry object on the same store, as a second program would have.
  std::unique_ptr<Registry> OpenAgain() const {
    return OpenSystemRegistry(RegistryRoot::kCurrentUser, StoreFile());
  }
  // The key below which a test keeps all its keys.
  std::u16string Base() const { return std::u16string(kParent) + u"\\" + leaf_; }
  std::u16string Path(const std::u16string& below) const { return Base() + u"\\" + below; }
  // The file of the file-backed registry (unused where the registry is the system's).
  std::string StoreFile() const { return (folder_ / "registry.reg").string(); }
  std::string Folder() const { return folder_.string(); }

 private:
  static constexpr const char16_t* kParent = u"Software\\ZOBELSO-tests";

  std::filesystem::path folder_;
  std::u16string leaf_;
  std::unique_ptr<Registry> registry_;
};

}  // namespace platform
