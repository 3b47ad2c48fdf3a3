#pragma once
// The device configuration written twice. On 64-bit Windows, 32-bit and
// 64-bit programs each see their own view of HKEY_LOCAL_MACHINE\SOFTWARE, and
// most point-of-sale applications, with the OPOS control objects they load,
// are 32-bit: a device key the 64-bit tool wrote into its own view alone
// would not exist for them. Every change therefore goes into both views.
//
// Reads come from the primary registry only. A key opened for writing is
// completed in the mirror with the primary's string values first, so that a
// device configured before both views were kept is whole in the mirror once
// the tool changes it. The mirror is kept as far as it can be: a change that
// fails there does not fail the change.
#include <memory>
#include <string>

#include "platform/registry.h"

namespace tool {

class MirroredRegistry final : public platform::Registry {
 public:
  // Both outlive this object.
  MirroredRegistry(platform::Registry& primary, platform::Registry& mirror)
      : primary_(primary), mirror_(mirror) {}

  std::unique_ptr<platform::RegistryKey> Open(const std::u16string& path,
                                              platform::RegistryAccess access) override;
  std::unique_ptr<platform::RegistryKey> Create(const std::u16string& path) override;
  std::string ErrorText() const override { return primary_.ErrorText(); }

 private:
  std::unique_ptr<platform::RegistryKey> Mirrored(std::unique_ptr<platform::RegistryKey> primary,
                                                  const std::u16string& path);

  platform::Registry& primary_;
  platform::Registry& mirror_;
};

}  // namespace tool
