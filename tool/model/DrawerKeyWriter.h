#pragma once
// Writes a cash-drawer device key at a given path, in the order the service
// object's configuration layout gives: the ProgID (only when known),
// PrinterName, CapDrawStatus, CashDrawerName, DrawerPin, OpenVoltage,
// SignalOnTime, SignalOffTime, WaitForDrawerCloseTimeOut, and last the
// logical name into the cash-drawer class key. The key is the one the dialog
// works on, which need not be named like CashDrawerName when the registry
// was edited by hand.
#include <string>

#include "config/DeviceStore.h"
#include "tool/core/ToolRegistry.h"

namespace tool {

// An empty logical name is not written: it would be the class key's default
// value. False when a write failed; the writes after it are still made.
bool WriteDrawerKey(ToolRegistry& registry, const std::u16string& keyPath,
                    const QEL::Config::DrawerKeyValues& values, const std::u16string& logicalName);

}  // namespace tool
