#include "sim/printer_state.h"

namespace sim {

namespace {
uint8_t Bits(bool on, uint8_t bits) { return on ? bits : uint8_t{0}; }
// Like a real printer, it stops (goes offline) while the cover is open or the
// paper is out, whatever the offline switch says.
bool Offline(const PrinterState& s) { return s.offline || s.coverOpen || s.paperOut; }
}  // namespace

std::optional<uint8_t> RealTimeStatusByte(int n, const PrinterState& s) {
  // Bits 1 and 4 are fixed to 1 in every real-time status byte.
  constexpr uint8_t kFixed = 0x12;
  switch (n) {
    case 1:  // printer status
      return static_cast<uint8_t>(kFixed | Bits(s.drawerSensor, 0x04) | Bits(Offline(s), 0x08));
    case 2:  // offline cause
      return static_cast<uint8_t>(kFixed | Bits(s.coverOpen, 0x04) | Bits(s.paperOut, 0x20));
    case 3:  // error cause: the virtual printer never has a mechanical error
      return kFixed;
    case 4:  // roll paper sensor
      return static_cast<uint8_t>(kFixed | Bits(s.paperNearEnd, 0x0C) | Bits(s.paperOut, 0x60));
    default:
      return std::nullopt;
  }
}

std::optional<uint8_t> TransmitStatusByte(int n, const PrinterState& s) {
  switch (n) {
    case 1:
    case 49:  // paper sensor
      return static_cast<uint8_t>(Bits(s.paperNearEnd, 0x03) | Bits(s.paperOut, 0x0C));
    case 2:
    case 50:  // drawer kick-out connector
      return Bits(s.drawerSensor, 0x01);
    default:
      return std::nullopt;
  }
}

std::array<uint8_t, 4> AutomaticStatusBytes(const PrinterState& s) {
  uint8_t b0 =
      static_cast<uint8_t>(0x10 | Bits(s.drawerSensor, 0x04) | Bits(Offline(s), 0x08) | Bits(s.coverOpen, 0x20));
  uint8_t b2 = static_cast<uint8_t>(Bits(s.paperNearEnd, 0x03) | Bits(s.paperOut, 0x0C));
  return {b0, 0x00, b2, 0x00};
}

}  // namespace sim
