#pragma once
// The registry: a tree of keys holding named values, where both deliverables
// keep the device configuration as string values. On Windows it is the
// system registry. Elsewhere the keys live in one text file in regedit's .reg
// syntax; readers never lock it, and every change rewrites it whole (into
// "<file>.new", then renamed over the file) under an exclusive lock on
// "<file>.lock", so that a reader sees either the old or the new file and two
// writers never lose each other's changes. A file that cannot be parsed makes
// every operation fail with a text naming the file and the line; it is never
// taken for an empty registry and never overwritten.
//
// Key and value names ignore letter case. An empty value name stands for the
// key's default value. One Registry or RegistryKey object is used by one
// thread at a time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// kClassesRoot is where COM classes are registered for every user of the
// machine (HKEY_CLASSES_ROOT).
enum class RegistryRoot { kLocalMachine, kCurrentUser, kClassesRoot };

enum class RegistryAccess { kRead, kReadWrite };

// Outcome of reading one string value.
enum class RegistryRead {
  kOk,
  kMissing,    // no value of that name
  kNotString,  // the value holds another type than a string
  kTooLong,    // the value does not fit the caller's limit
  kFailed,     // the registry could not be read (ErrorText says why)
};

struct RegistryValue {
  std::u16string name;
  bool isString = true;
  std::u16string text;  // empty unless isString
};

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // `maxBytes` limits the value as the registry stores it, UTF-16 with its
  // terminator (1024 bytes hold 511 characters); 0 means no limit.
  virtual RegistryRead ReadString(const std::u16string& name, size_t maxBytes,
                                  std::u16string* text) = 0;
  virtual bool WriteString(const std::u16string& name, const std::u16string& text) = 0;
  // A 32-bit number value. The system stores only strings; other programs (and
  // tests) may leave a number where a string belongs.
  virtual bool WriteNumber(const std::u16string& name, uint32_t value) = 0;
  // Names of the keys directly below this one, in the registry's order.
  virtual bool SubkeyNames(std::vector<std::u16string>* names) = 0;
  // Every value of the key in the registry's order, with the text of strings.
  virtual bool Values(std::vector<RegistryValue>* values) = 0;
  // Deletes a key below this one together with everything below it.
  virtual bool DeleteSubkey(const std::u16string& name) = 0;
  virtual bool DeleteValue(const std::u16string& name) = 0;

  // Why the last operation that failed did so.
  virtual std::string ErrorText() const = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // An existing key, or null when it does not exist or cannot be opened.
  // `path` is relative to the root ("SOFTWARE\\OLEforRetail"; empty for the
  // root itself). Writes through a key opened for reading fail.
  virtual std::unique_ptr<RegistryKey> Open(const std::u16string& path, RegistryAccess access) = 0;
  // The key opened for reading and writing, created with every missing key
  // above it first; null when that fails.
  virtual std::unique_ptr<RegistryKey> Create(const std::u16string& path) = 0;

  // Why the last Open or Create that failed did so.
  virtual std::string ErrorText() const = 0;
};

// The registry below `root`. `storeFile` names the file of the file-backed
// registry and is ignored where the system has a registry of its own; empty
// means the file named by the environment variable OPOS_REGISTRY, or else
// ~/.zobelso/registry.reg.
std::unique_ptr<Registry> OpenSystemRegistry(RegistryRoot root,
                                             const std::string& storeFile = std::string());

// 64-bit Windows keeps two views of HKEY_LOCAL_MACHINE\SOFTWARE: one for
// 64-bit programs and one for 32-bit programs, and each program sees its own.
// The view other than this program's own: the 32-bit view from a 64-bit
// program, the 64-bit view from a 32-bit one. Null where the registry has no
// second view (the file-backed registry). On 32-bit Windows both views are
// the same registry.
std::unique_ptr<Registry> OpenOtherRegistryView(RegistryRoot root);

// Whether OpenSystemRegistry gives the file-backed registry on this system.
bool RegistryIsFileBacked();

}  // namespace platform
