#include "so/io/UsbDeviceSearch.h"

namespace QEL {
namespace IO {

namespace {

struct ModelFamily {
  std::vector<std::u16string> models;
  const char16_t* deviceId;
};

const std::vector<ModelFamily>& ModelTable() {
  static const std::vector<ModelFamily> table = {
      {{u"FX-310", u"MV615", u"ZBL-72B", u"OM-Q240", u"TUVO72", u"N415"}, u"VID_7C4E&PID_7007"},
      {{u"FX-330", u"MV611", u"MV613", u"MV616", u"ZBL-72A", u"ZBL-72C", u"TRAIL-3", u"TRAIL-3e",
        u"QX1270", u"KS-5510", u"KS-5500", u"OM-Q340", u"RD4V", u"RD44", u"N416", u"LUMA212F"},
       u"VID_7C4E&PID_7008"},
      {{u"TM-T88IV"}, u"VID_04B8&PID_0202"},
      {{u"EasyCoder PX4i"}, u"VID_067E&PID_000D"},
      {{u"PLQ2-A", u"ZBL-52A", u"ZBL-52B", u"ZBL-52D", u"TUVO52"}, u"VID_4348&PID_5584"},
  };
  return table;
}

constexpr const char16_t* kUnknownModelId = u"VID_08BD&PID_020B";

// Hardware identifiers are ASCII; other characters stay as they are.
std::u16string UpperAscii(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return text;
}

}  // namespace

std::u16string DeviceIdFilterForModel(const std::u16string& modelName) {
  for (const ModelFamily& family : ModelTable()) {
    for (const std::u16string& model : family.models) {
      if (model == modelName) return family.deviceId;
    }
  }
  return kUnknownModelId;
}

std::optional<UsbDeviceMatch> FindUsbPrinter(const std::vector<platform::UsbDeviceInterface>& devices,
                                             const std::u16string& filter) {
  std::vector<std::u16string> ids;
  ids.reserve(devices.size());
  for (const platform::UsbDeviceInterface& device : devices) ids.push_back(UpperAscii(device.hardwareId));

  const std::u16string order[] = {filter, kReadBackFamilyId, kSecondFallbackId};
  for (size_t rank = 0; rank < 3; ++rank) {
    const std::u16string& wanted = order[rank];
    for (size_t i = 0; i < devices.size(); ++i) {
      if (ids[i].find(wanted) == std::u16string::npos) continue;
      UsbDeviceMatch match;
      match.devicePath = devices[i].devicePath;
      // Only a device taken as the fallback family counts as one.
      match.readsBack = rank == 1;
      return match;
    }
  }
  return std::nullopt;
}

}  // namespace IO
}  // namespace QEL
