#include "tool/model/PrinterKeyWriter.h"

#include <memory>

namespace tool {

namespace {

struct NamedText {
  const char16_t* name;
  const std::u16string* text;
};

bool WriteAll(platform::RegistryKey* key, std::initializer_list<NamedText> values) {
  bool ok = key != nullptr;
  for (const NamedText& value : values) {
    if (key != nullptr) ok = key->WriteString(value.name, *value.text) && ok;
  }
  return ok;
}

}  // namespace

bool WritePrinterKey(ToolRegistry& registry, const std::u16string& keyPath,
                     const QEL::Config::PrinterKeyValues& v, const std::u16string& logicalName) {
  using namespace QEL::Config;
  std::unique_ptr<platform::RegistryKey> key = registry.registry().Create(keyPath);
  bool ok = true;
  if (!v.progId.empty()) {
    ok = WriteAll(key.get(), {{kProgIdValue, &v.progId}, {kDeviceDescription, &v.deviceDescription}}) && ok;
  }
  ok = WriteAll(key.get(), {{kDriverModel, &v.driverModel},
                            {kDriverName, &v.deviceName},
                            {kBitMapMode, &v.bitMapMode},
                            {kPortType, &v.portType},
                            {kReadTimeout, &v.readTimeout},
                            {kWriteTimeout, &v.writeTimeout},
                            {kInputBufSize, &v.inputBufSize},
                            {kOutputBufSize, &v.outputBufSize},
                            {kNotes, &v.notes}}) &&
       ok;
  if (!logicalName.empty()) {
    ok = registry.WriteString(registry.ClassKeyPath(DeviceClass::kPrinter), logicalName, v.deviceName) && ok;
  }
  return WriteAll(key.get(), {{kPortSettings, &v.portSettings}, {kCodepageID, &v.codepageId}}) && ok;
}

}  // namespace tool
