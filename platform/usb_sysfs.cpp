#include "platform/usb_sysfs.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

// The first line of a small attribute file, without surrounding blanks; empty
// when the file is missing, not a regular file, unreadable or empty. A device
// that is still being set up shows exactly such half-written attributes.
std::string ReadAttribute(const fs::path& file) {
  std::error_code error;
  if (!fs::is_regular_file(file, error)) return std::string();
  std::ifstream in(file, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return std::string();
  const char* blanks = " \t\r\n";
  size_t first = line.find_first_not_of(blanks);
  if (first == std::string::npos) return std::string();
  size_t last = line.find_last_not_of(blanks);
  return line.substr(first, last - first + 1);
}

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// The usblp node names ("lp0", ...) announced under one interface directory.
std::vector<std::string> PrinterNodesOf(const fs::path& interfaceDir) {
  std::vector<std::string> names;
  for (const char* classDir : {"usbmisc", "usb"}) {
    std::error_code error;
    fs::directory_iterator it(interfaceDir / classDir, error), end;
    for (; !error && it != end; it.increment(error)) {
      std::string name = it->path().filename().string();
      if (name.rfind("lp", 0) == 0) names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<UsbDeviceInterface> ListUsbPrintersInSysfs(const fs::path& devicesDir,
                                                       const fs::path& devDir) {
  std::vector<std::string> interfaces;
  std::error_code error;
  fs::directory_iterator it(devicesDir, error), end;
  for (; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    // Interfaces are named after their device plus ":<config>.<interface>".
    if (name.find(':') != std::string::npos) interfaces.push_back(name);
  }
  // The system lists directories in no promised order; a stable one makes
  // "the first device found" mean the same on every run.
  std::sort(interfaces.begin(), interfaces.end());

  std::vector<UsbDeviceInterface> found;
  for (const std::string& name : interfaces) {
    fs::path device = devicesDir / name.substr(0, name.find(':'));
    std::string vendor = ReadAttribute(device / "idVendor");
    std::string product = ReadAttribute(device / "idProduct");
    if (vendor.empty() || product.empty()) continue;
    std::string hardwareId = "USB\\VID_" + vendor + "&PID_" + product;
    std::string revision = ReadAttribute(device / "bcdDevice");
    if (!revision.empty()) hardwareId += "&REV_" + revision;
    for (const std::string& node : PrinterNodesOf(devicesDir / name)) {
      fs::path path = devDir / "usb" / node;
      std::error_code missing;
      if (!fs::exists(path, missing) || fs::is_directory(path, missing)) continue;
      found.push_back({Widen(hardwareId), path.u16string()});
    }
  }
  return found;
}

}  // namespace platform
