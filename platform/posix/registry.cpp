// The registry where the system has none: one .reg text file. Reads parse
// the file afresh, so a key sees what other processes wrote since it was
// opened, as a registry key does. Changes take an exclusive flock on a
// separate lock file (the store file itself is replaced on every change, so a
// lock on it would be lost with it), re-read the file under the lock, and
// replace it through a rename: the old file stays whole until the new one is
// complete on disk.
#include "platform/registry.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <system_error>

#include "platform/reg_file.h"

namespace platform {

namespace {

std::string ErrnoText(int error) { return std::error_code(error, std::generic_category()).message(); }

std::string DefaultStorePath() {
  const char* named = ::getenv("OPOS_REGISTRY");
  if (named != nullptr && *named != 0) return named;
  std::string home;
  const char* env = ::getenv("HOME");
  if (env != nullptr && *env != 0) {
    home = env;
  } else {
    struct passwd* user = ::getpwuid(::getuid());
    if (user != nullptr && user->pw_dir != nullptr) home = user->pw_dir;
  }
  return home.empty() ? std::string() : home + "/.zobelso/registry.reg";
}

const char16_t* RootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kLocalMachine: return u"HKEY_LOCAL_MACHINE";
    case RegistryRoot::kCurrentUser: return u"HKEY_CURRENT_USER";
    case RegistryRoot::kClassesRoot: return u"HKEY_CLASSES_ROOT";
  }
  return u"HKEY_LOCAL_MACHINE";
}

std::string Quoted(const std::u16string& text) { return "\"" + Utf16ToUtf8(text) + "\""; }

// Closes a descriptor on every way out, keeping errno.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      int saved = errno;
      ::close(fd_);
      errno = saved;
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

enum class Change { kFailed, kUnchanged, kChanged };

class FileStore {
 public:
  explicit FileStore(std::string path) : path_(std::move(path)) {}

  // The file as it is now; a file that does not exist is an empty registry.
  bool Load(RegFile* file, std::string* error) const {
    if (!Named(error)) return false;
    int fd;
    do {
      fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
      if (errno == ENOENT) {
        *file = RegFile();
        return true;
      }
      *error = "cannot read " + path_ + ": " + ErrnoText(errno);
      return false;
    }
    Descriptor guard(fd);
    std::string bytes;
    char buffer[8192];
    for (;;) {
      ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        *error = "cannot read " + path_ + ": " + ErrnoText(errno);
        return false;
      }
      if (n == 0) break;
      bytes.append(buffer, static_cast<size_t>(n));
    }
    std::string what;
    if (!RegFile::Parse(bytes, file, &what)) {
      *error = path_ + " " + what;
      return false;
    }
    return true;
  }

  // Applies `change` to the current file under the store's lock and writes
  // the result back when it changed anything.
  bool Update(const std::function<Change(RegFile*, std::string*)>& change, std::string* error) const {
    if (!Named(error)) return false;
    std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) {
      std::error_code ec;
      std::filesystem::create_directories(folder, ec);
      if (ec) {
        *error = "cannot create " + folder.string() + ": " + ec.message();
        return false;
      }
    }
    const std::string lockPath = path_ + ".lock";
    // Read-only is enough for flock and lets other users share the lock file.
    Descriptor lock(::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644));
    if (lock.get() < 0) {
      *error = "cannot open " + lockPath + ": " + ErrnoText(errno);
      return false;
    }
    int locked;
    do {
      locked = ::flock(lock.get(), LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
      *error = "cannot lock " + lockPath + ": " + ErrnoText(errno);
      return false;
    }
    RegFile file;
    if (!Load(&file, error)) return false;
    Change result = change(&file, error);
    if (result == Change::kFailed) return false;
    if (result == Change::kUnchanged) return true;
    return Replace(file.Serialise(), error);
    // Closing the lock descriptor releases the lock.
  }

 private:
  bool Replace(const std::string& text, std::string* error) const {
    const std::string next = path_ + ".new";
    mode_t mode = 0644;
    struct stat old;
    if (::stat(path_.c_str(), &old) == 0) mode = old.st_mode & 07777;
    Descriptor out(::open(next.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
    if (out.get() < 0) {
      *error = "cannot write " + next + ": " + ErrnoText(errno);
      return false;
    }
    ::fchmod(out.get(), mode);
    size_t done = 0;
    while (done < text.size()) {
      ssize_t n = ::write(out.get(), text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return Abandon(next, "cannot write " + next, error);
      done += static_cast<size_t>(n);
    }
    if (::fsync(out.get()) != 0) return Abandon(next, "cannot write " + next, error);
    if (::close(out.release()) != 0) return Abandon(next, "cannot write " + next, error);
    if (::rename(next.c_str(), path_.c_str()) != 0) {
      return Abandon(next, "cannot replace " + path_, error);
    }
    // The rename itself reaches the disk with the folder.
    std::string folder = std::filesystem::path(path_).parent_path().string();
    Descriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
    return true;
  }

  static bool Abandon(const std::string& next, const std::string& what, std::string* error) {
    *error = what + ": " + ErrnoText(errno);
    ::unlink(next.c_str());
    return false;
  }

  bool Named(std::string* error) const {
    if (!path_.empty()) return true;
    *error = "no registry file: neither OPOS_REGISTRY nor a home folder is set";
    return false;
  }

  std::string path_;
};

class FileRegistryKey : public RegistryKey {
 public:
  FileRegistryKey(std::shared_ptr<const FileStore> store, std::u16string path, bool writable)
      : store_(std::move(store)), path_(std::move(path)), writable_(writable) {}

  RegistryRead ReadString(const std::u16string& name, size_t maxBytes, std::u16string* text) override {
    RegFile file;
    if (!Load(&file)) return RegistryRead::kFailed;
    const RegFileKey* key = file.FindKey(path_);
    const RegFileValue* value = key ? RegFile::FindValue(*key, name) : nullptr;
    if (value == nullptr) {
      error_ = "no value " + Quoted(name) + " in " + Utf16ToUtf8(path_);
      return RegistryRead::kMissing;
    }
    if (!value->isString) {
      error_ = "value " + Quoted(name) + " in " + Utf16ToUtf8(path_) + " is not a string";
      return RegistryRead::kNotString;
    }
    if (maxBytes != 0 && (value->data.size() + 1) * 2 > maxBytes) {
      error_ = "value " + Quoted(name) + " in " + Utf16ToUtf8(path_) + " is longer than " +
               std::to_string(maxBytes) + " bytes";
      return RegistryRead::kTooLong;
    }
    *text = value->data;
    return RegistryRead::kOk;
  }

  bool WriteString(const std::u16string& name, const std::u16string& text) override {
    return Write(RegFileValue{name, true, text});
  }

  bool WriteNumber(const std::u16string& name, uint32_t value) override {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(value));
    std::u16string data = u"dword:";
    for (const char* d = digits; *d != 0; ++d) data.push_back(static_cast<char16_t>(*d));
    return Write(RegFileValue{name, false, data});
  }

  bool SubkeyNames(std::vector<std::u16string>* names) override {
    RegFile file;
    if (!Load(&file)) return false;
    *names = file.SubkeyNames(path_);
    return true;
  }

  bool Values(std::vector<RegistryValue>* values) override {
    RegFile file;
    if (!Load(&file)) return false;
    values->clear();
    if (const RegFileKey* key = file.FindKey(path_)) {
      for (const RegFileValue& v : key->values) {
        values->push_back(RegistryValue{v.name, v.isString, v.isString ? v.data : std::u16string()});
      }
    }
    return true;
  }

  bool DeleteSubkey(const std::u16string& name) override {
    const std::u16string child = path_ + u"\\" + name;
    if (!Writable() || !ValidPath(child)) return false;
    return store_->Update(
        [&](RegFile* file, std::string* error) {
          if (!Exists(*file, error)) return Change::kFailed;
          if (!file->DeleteKeyTree(child)) {
            *error = "no key " + Utf16ToUtf8(child);
            return Change::kFailed;
          }
          return Change::kChanged;
        },
        &error_);
  }

  bool DeleteValue(const std::u16string& name) override {
    if (!Writable()) return false;
    return store_->Update(
        [&](RegFile* file, std::string* error) {
          if (!Exists(*file, error)) return Change::kFailed;
          RegFileKey* key = file->FindKey(path_);
          if (key == nullptr || !RegFile::DeleteValue(key, name)) {
            *error = "no value " + Quoted(name) + " in " + Utf16ToUtf8(path_);
            return Change::kFailed;
          }
          return Change::kChanged;
        },
        &error_);
  }

  std::string ErrorText() const override { return error_; }

 private:
  // A key deleted since it was opened fails every operation, as a deleted
  // registry key does.
  bool Exists(const RegFile& file, std::string* error) const {
    if (file.KeyExists(path_)) return true;
    *error = "the key " + Utf16ToUtf8(path_) + " has been deleted";
    return false;
  }

  bool Load(RegFile* file) {
    return store_->Load(file, &error_) && Exists(*file, &error_);
  }

  bool Writable() {
    if (!writable_) error_ = "the key " + Utf16ToUtf8(path_) + " is open for reading only";
    return writable_;
  }

  bool ValidPath(const std::u16string& path) {
    if (RegFile::IsValidKeyPath(path)) return true;
    error_ = "not a usable key path: " + Utf16ToUtf8(path);
    return false;
  }

  bool Write(const RegFileValue& value) {
    if (!Writable()) return false;
    if (!RegFile::IsValidValueName(value.name)) {
      error_ = "a value name cannot hold a line break or NUL";
      return false;
    }
    if (path_.find(u'\\') == std::u16string::npos) {
      error_ = "values are not kept directly in a root key";
      return false;
    }
    return store_->Update(
        [&](RegFile* file, std::string* error) {
          if (!Exists(*file, error)) return Change::kFailed;
          file->CreateKey(path_);
          RegFile::SetValue(file->FindKey(path_), value);
          return Change::kChanged;
        },
        &error_);
  }

  std::shared_ptr<const FileStore> store_;
  std::u16string path_;
  bool writable_;
  std::string error_;
};

class FileRegistry : public Registry {
 public:
  FileRegistry(RegistryRoot root, std::string storePath)
      : root_(RootName(root)), store_(std::make_shared<const FileStore>(std::move(storePath))) {}

  std::unique_ptr<RegistryKey> Open(const std::u16string& path, RegistryAccess access) override {
    std::u16string full;
    if (!FullPath(path, &full)) return nullptr;
    RegFile file;
    if (!store_->Load(&file, &error_)) return nullptr;
    if (!file.KeyExists(full)) {
      error_ = "no key " + Utf16ToUtf8(full);
      return nullptr;
    }
    return std::make_unique<FileRegistryKey>(store_, full, access == RegistryAccess::kReadWrite);
  }

  std::unique_ptr<RegistryKey> Create(const std::u16string& path) override {
    std::u16string full;
    if (!FullPath(path, &full)) return nullptr;
    bool ok = store_->Update(
        [&](RegFile* file, std::string*) {
          return file->CreateKey(full) ? Change::kChanged : Change::kUnchanged;
        },
        &error_);
    if (!ok) return nullptr;
    return std::make_unique<FileRegistryKey>(store_, full, true);
  }

  std::string ErrorText() const override { return error_; }

 private:
  bool FullPath(const std::u16string& path, std::u16string* full) {
    *full = path.empty() ? root_ : root_ + u"\\" + path;
    if (RegFile::IsValidKeyPath(*full)) return true;
    error_ = "not a usable key path: " + Utf16ToUtf8(*full);
    return false;
  }

  std::u16string root_;
  std::shared_ptr<const FileStore> store_;
  std::string error_;
};

}  // namespace

std::unique_ptr<Registry> OpenSystemRegistry(RegistryRoot root, const std::string& storeFile) {
  return std::make_unique<FileRegistry>(root, storeFile.empty() ? DefaultStorePath() : storeFile);
}

std::unique_ptr<Registry> OpenOtherRegistryView(RegistryRoot) { return nullptr; }

bool RegistryIsFileBacked() { return true; }

}  // namespace platform
