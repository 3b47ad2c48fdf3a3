// Windows side of the USB device list: SetupAPI's present USB device
// interfaces with the first string of each device's hardware identifier.
#include "platform/usb_devices.h"

#include <windows.h>
// windows.h first: setupapi.h needs its types.
#include <setupapi.h>

namespace platform {

namespace {

// GUID_DEVINTERFACE_USB_DEVICE, spelled out so that no header has to
// instantiate it (usbiodef.h declares it only).
const GUID kUsbDeviceInterface = {0xA5DCBF10, 0x6530, 0x11D2,
                                  {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

// Hardware identifiers longer than this are not ours: printer identifiers
// are "USB\VID_xxxx&PID_xxxx&REV_xxxx" and a few more characters.
constexpr DWORD kHardwareIdChars = 128;

class DeviceInfoSet {
 public:
  explicit DeviceInfoSet(HDEVINFO set) : set_(set) {}
  ~DeviceInfoSet() {
    if (set_ != INVALID_HANDLE_VALUE) ::SetupDiDestroyDeviceInfoList(set_);
  }
  DeviceInfoSet(const DeviceInfoSet&) = delete;
  DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;
  HDEVINFO get() const { return set_; }

 private:
  HDEVINFO set_;
};

// The device path of one interface and the record of its device; false when
// the system does not give them.
bool ReadInterface(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* iface, std::u16string* path,
                   SP_DEVINFO_DATA* device) {
  DWORD size = 0;
  ::SetupDiGetDeviceInterfaceDetailW(set, iface, nullptr, 0, &size, nullptr);
  if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return false;
  // DWORD elements keep the record aligned for its cbSize field.
  std::vector<DWORD> storage((size + sizeof(DWORD) - 1) / sizeof(DWORD) + 1, 0);
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  device->cbSize = sizeof(SP_DEVINFO_DATA);
  if (!::SetupDiGetDeviceInterfaceDetailW(set, iface, detail, size, nullptr, device)) return false;
  const wchar_t* name = detail->DevicePath;
  *path = std::u16string(name, name + ::lstrlenW(name));
  return true;
}

}  // namespace

std::vector<UsbDeviceInterface> ListUsbDeviceInterfaces() {
  std::vector<UsbDeviceInterface> found;
  DeviceInfoSet set(::SetupDiGetClassDevsW(&kUsbDeviceInterface, nullptr, nullptr,
                                           DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (set.get() == INVALID_HANDLE_VALUE) return found;
  for (DWORD index = 0;; ++index) {
    SP_DEVICE_INTERFACE_DATA iface{};
    iface.cbSize = sizeof(iface);
    if (!::SetupDiEnumDeviceInterfaces(set.get(), nullptr, &kUsbDeviceInterface, index, &iface))
      break;
    UsbDeviceInterface entry;
    SP_DEVINFO_DATA device{};
    if (!ReadInterface(set.get(), &iface, &entry.devicePath, &device)) continue;
    wchar_t ids[kHardwareIdChars] = {};
    // One character short of the buffer, so that the first string always
    // ends inside it; a longer list fails and the device is passed over.
    if (!::SetupDiGetDeviceRegistryPropertyW(set.get(), &device, SPDRP_HARDWAREID, nullptr,
                                             reinterpret_cast<BYTE*>(ids),
                                             (kHardwareIdChars - 1) * sizeof(wchar_t), nullptr))
      continue;
    // A multi-string: only its first identifier counts.
    entry.hardwareId = std::u16string(ids, ids + ::lstrlenW(ids));
    found.push_back(std::move(entry));
  }
  return found;
}

}  // namespace platform
