#pragma once
// Writes a printer device key at a given path, in the order the service
// object's configuration layout gives: the ProgID and DeviceDescription (only
// when the model has a ProgID), DriverModel, DriverName, BitMapMode,
// PortType, ReadTimeout, WriteTimeout, InputBufSize, OutputBufSize, Notes,
// then the logical name into the printer class key, then PortSettings and
// CodepageID. The key is the one the dialog works on, which need not be
// named like DriverName when the registry was edited by hand.
#include <string>

#include "config/DeviceStore.h"
#include "tool/core/ToolRegistry.h"

namespace tool {

// An empty logical name is not written: it would be the class key's default
// value. False when a write failed; the writes after it are still made.
bool WritePrinterKey(ToolRegistry& registry, const std::u16string& keyPath,
                     const QEL::Config::PrinterKeyValues& values, const std::u16string& logicalName);

}  // namespace tool
