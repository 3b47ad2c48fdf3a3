// The system registry through advapi32.
#include "platform/registry.h"

#include <windows.h>

namespace platform {

namespace {

const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

std::string Failure(const char* call, LONG code) {
  std::string text = std::string(call) + " failed with system error " + std::to_string(code);
  char* message = nullptr;
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, static_cast<DWORD>(code), 0,
                             reinterpret_cast<LPSTR>(&message), 0, nullptr);
  if (n != 0 && message != nullptr) {
    std::string detail(message, n);
    while (!detail.empty() && (detail.back() == '\n' || detail.back() == '\r' || detail.back() == ' ')) {
      detail.pop_back();
    }
    text += " (" + detail + ")";
  }
  if (message != nullptr) ::LocalFree(message);
  return text;
}

// A string's bytes as the registry returned them; the terminator, when the
// writer stored one, is not part of the text.
std::u16string StringData(const BYTE* data, DWORD size) {
  std::u16string text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  if (!text.empty() && text.back() == 0) text.pop_back();
  return text;
}

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE | DELETE;

class WinRegistryKey : public RegistryKey {
 public:
  explicit WinRegistryKey(HKEY key) : key_(key) {}
  ~WinRegistryKey() override { ::RegCloseKey(key_); }
  WinRegistryKey(const WinRegistryKey&) = delete;
  WinRegistryKey& operator=(const WinRegistryKey&) = delete;

  RegistryRead ReadString(const std::u16string& name, size_t maxBytes, std::u16string* text) override {
    DWORD type = REG_NONE;
    if (maxBytes == 0) return ReadWhole(name, text);
    std::vector<BYTE> buffer(maxBytes);
    DWORD size = static_cast<DWORD>(maxBytes);
    LONG rc = ::RegQueryValueExW(key_, W(name), nullptr, &type, buffer.data(), &size);
    if (rc == ERROR_FILE_NOT_FOUND) return Fail(RegistryRead::kMissing, "RegQueryValueExW", rc);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) {
      return Fail(RegistryRead::kFailed, "RegQueryValueExW", rc);
    }
    if (type != REG_SZ) return NotString();
    if (rc == ERROR_MORE_DATA) {
      error_ = "the value is longer than " + std::to_string(maxBytes) + " bytes";
      return RegistryRead::kTooLong;
    }
    *text = StringData(buffer.data(), size);
    return RegistryRead::kOk;
  }

  bool WriteString(const std::u16string& name, const std::u16string& text) override {
    LONG rc = ::RegSetValueExW(key_, W(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                               static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
    return Check("RegSetValueExW", rc);
  }

  bool WriteNumber(const std::u16string& name, uint32_t value) override {
    DWORD data = value;
    LONG rc = ::RegSetValueExW(key_, W(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                               sizeof data);
    return Check("RegSetValueExW", rc);
  }

  bool SubkeyNames(std::vector<std::u16string>* names) override {
    names->clear();
    DWORD longest = 0;
    LONG rc = ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr);
    if (!Check("RegQueryInfoKeyW", rc)) return false;
    std::vector<wchar_t> name(longest + 1);
    for (DWORD index = 0;;) {
      DWORD length = static_cast<DWORD>(name.size());
      rc = ::RegEnumKeyExW(key_, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (rc == ERROR_NO_MORE_ITEMS) return true;
      if (rc == ERROR_MORE_DATA) {  // a longer name appeared meanwhile
        name.resize(name.size() * 2);
        continue;
      }
      if (!Check("RegEnumKeyExW", rc)) return false;
      names->emplace_back(reinterpret_cast<const char16_t*>(name.data()), length);
      ++index;
    }
  }

  bool Values(std::vector<RegistryValue>* values) override {
    values->clear();
    DWORD longestName = 0;
    DWORD longestData = 0;
    LONG rc = ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 &longestName, &longestData, nullptr, nullptr);
    if (!Check("RegQueryInfoKeyW", rc)) return false;
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(longestData + 2);
    for (DWORD index = 0;;) {
      DWORD nameLength = static_cast<DWORD>(name.size());
      DWORD size = static_cast<DWORD>(data.size());
      DWORD type = REG_NONE;
      rc = ::RegEnumValueW(key_, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
      if (rc == ERROR_NO_MORE_ITEMS) return true;
      if (rc == ERROR_MORE_DATA) {  // the value grew meanwhile
        name.resize(name.size() * 2);
        data.resize(data.size() * 2 + 2);
        continue;
      }
      if (!Check("RegEnumValueW", rc)) return false;
      RegistryValue value;
      value.name.assign(reinterpret_cast<const char16_t*>(name.data()), nameLength);
      value.isString = type == REG_SZ;
      if (value.isString) value.text = StringData(data.data(), size);
      values->push_back(value);
      ++index;
    }
  }

  bool DeleteSubkey(const std::u16string& name) override {
    // An empty name would empty this key itself.
    if (name.empty()) return Check("RegDeleteTreeW", ERROR_INVALID_PARAMETER);
    return Check("RegDeleteTreeW", ::RegDeleteTreeW(key_, W(name)));
  }

  bool DeleteValue(const std::u16string& name) override {
    return Check("RegDeleteValueW", ::RegDeleteValueW(key_, W(name)));
  }

  std::string ErrorText() const override { return error_; }

 private:
  RegistryRead ReadWhole(const std::u16string& name, std::u16string* text) {
    for (;;) {
      DWORD type = REG_NONE;
      DWORD size = 0;
      LONG rc = ::RegQueryValueExW(key_, W(name), nullptr, &type, nullptr, &size);
      if (rc == ERROR_FILE_NOT_FOUND) return Fail(RegistryRead::kMissing, "RegQueryValueExW", rc);
      if (rc != ERROR_SUCCESS) return Fail(RegistryRead::kFailed, "RegQueryValueExW", rc);
      if (type != REG_SZ) return NotString();
      std::vector<BYTE> buffer(size + 2);
      rc = ::RegQueryValueExW(key_, W(name), nullptr, &type, buffer.data(), &size);
      if (rc == ERROR_MORE_DATA) continue;  // rewritten longer in between
      if (rc == ERROR_FILE_NOT_FOUND) return Fail(RegistryRead::kMissing, "RegQueryValueExW", rc);
      if (rc != ERROR_SUCCESS) return Fail(RegistryRead::kFailed, "RegQueryValueExW", rc);
      if (type != REG_SZ) return NotString();
      *text = StringData(buffer.data(), size);
      return RegistryRead::kOk;
    }
  }

  RegistryRead NotString() {
    error_ = "the value is not a string";
    return RegistryRead::kNotString;
  }

  RegistryRead Fail(RegistryRead result, const char* call, LONG rc) {
    error_ = Failure(call, rc);
    return result;
  }

  bool Check(const char* call, LONG rc) {
    if (rc == ERROR_SUCCESS) return true;
    error_ = Failure(call, rc);
    return false;
  }

  HKEY key_;
  std::string error_;
};

class WinRegistry : public Registry {
 public:
  // view: 0, KEY_WOW64_32KEY or KEY_WOW64_64KEY.
  explicit WinRegistry(HKEY root, REGSAM view = 0) : root_(root), view_(view) {}

  std::unique_ptr<RegistryKey> Open(const std::u16string& path, RegistryAccess access) override {
    HKEY key = nullptr;
    REGSAM rights = (access == RegistryAccess::kRead ? KEY_READ : kReadWrite) | view_;
    LONG rc = ::RegOpenKeyExW(root_, W(path), 0, rights, &key);
    if (rc != ERROR_SUCCESS) {
      error_ = Failure("RegOpenKeyExW", rc);
      return nullptr;
    }
    return std::make_unique<WinRegistryKey>(key);
  }

  std::unique_ptr<RegistryKey> Create(const std::u16string& path) override {
    HKEY key = nullptr;
    LONG rc = ::RegCreateKeyExW(root_, W(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                kReadWrite | view_, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) {
      error_ = Failure("RegCreateKeyExW", rc);
      return nullptr;
    }
    return std::make_unique<WinRegistryKey>(key);
  }

  std::string ErrorText() const override { return error_; }

 private:
  HKEY root_;
  REGSAM view_;
  std::string error_;
};

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::kLocalMachine: break;
  }
  return HKEY_LOCAL_MACHINE;
}

}  // namespace

std::unique_ptr<Registry> OpenSystemRegistry(RegistryRoot root, const std::string&) {
  return std::make_unique<WinRegistry>(RootKey(root));
}

std::unique_ptr<Registry> OpenOtherRegistryView(RegistryRoot root) {
  const REGSAM other = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  return std::make_unique<WinRegistry>(RootKey(root), other);
}

bool RegistryIsFileBacked() { return false; }

}  // namespace platform
