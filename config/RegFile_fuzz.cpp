// Any bytes as a registry store file: the parser either refuses them with a
// line number or accepts them, and what it accepts it writes back in a form
// that reads back to the same keys and values and is then written unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/reg_file.h"

namespace {

bool SameKeys(const platform::RegFile& a, const platform::RegFile& b) {
  if (a.Keys().size() != b.Keys().size()) return false;
  for (size_t k = 0; k < a.Keys().size(); ++k) {
    const platform::RegFileKey& x = a.Keys()[k];
    const platform::RegFileKey& y = b.Keys()[k];
    if (x.path != y.path || x.values.size() != y.values.size()) return false;
    for (size_t v = 0; v < x.values.size(); ++v) {
      if (x.values[v].name != y.values[v].name || x.values[v].isString != y.values[v].isString ||
          x.values[v].data != y.values[v].data) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  platform::RegFile file;
  std::string error;
  if (!platform::RegFile::Parse(bytes, &file, &error)) {
    if (error.compare(0, 5, "line ") != 0) std::abort();
    return 0;
  }
  const std::string text = file.Serialise();
  platform::RegFile again;
  if (!platform::RegFile::Parse(text, &again, &error)) std::abort();
  if (!SameKeys(file, again) || again.Serialise() != text) std::abort();
  for (const platform::RegFileKey& key : file.Keys()) {
    (void)file.SubkeyNames(key.path);
    if (!file.KeyExists(key.path)) std::abort();
  }
  return 0;
}
