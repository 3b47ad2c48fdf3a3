#pragma once
// What the virtual printer reports about itself, and the status bytes it
// answers with. The validity masks of these bytes are the contract with the
// service's status decoders: every answer carries the fixed bits those
// decoders check (0x12 for real-time status, 0x10 for automatic status back).
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

struct PrinterState {
  bool coverOpen = false;
  bool paperNearEnd = false;
  bool paperOut = false;
  bool drawerSensor = false;  // the raw level of the drawer kick-out connector pin
  bool offline = false;

  bool operator==(const PrinterState& o) const {
    return coverOpen == o.coverOpen && paperNearEnd == o.paperNearEnd && paperOut == o.paperOut &&
           drawerSensor == o.drawerSensor && offline == o.offline;
  }
  bool operator!=(const PrinterState& o) const { return !(*this == o); }
};

// Answers to GS I n.
struct PrinterIdentity {
  uint8_t modelId = 0x20;
  uint8_t typeId = 0x02;  // bit 1: an auto-cutter is fitted
  uint8_t romVersionId = 0x01;
  std::string firmware = "1.00 ZSIM";
  std::string maker = "ZOBELSO";
  std::string model = "VIRTUAL-80";
  std::string serial = "ZS0000001";
  std::string fontInfo = "ANK";
};

// DLE EOT n for n 1..4; nothing (no answer) for any other n.
std::optional<uint8_t> RealTimeStatusByte(int n, const PrinterState& s);
// GS r n for n 1, 2, 49, 50; nothing (no answer) for any other n.
std::optional<uint8_t> TransmitStatusByte(int n, const PrinterState& s);
// The four bytes pushed while automatic status back is on.
std::array<uint8_t, 4> AutomaticStatusBytes(const PrinterState& s);

}  // namespace sim
