#pragma once
// The OPOS result codes the COM class answers with.
#include <cstdint>

namespace QEL {
namespace COM {

constexpr int32_t kSuccess = 0;
constexpr int32_t kClosed = 101;
constexpr int32_t kNotClaimed = 103;
constexpr int32_t kNoService = 104;
constexpr int32_t kDisabled = 105;
constexpr int32_t kIllegal = 106;
constexpr int32_t kFailure = 111;
constexpr int32_t kBusy = 113;
constexpr int32_t kExtended = 114;
constexpr int32_t kExtCoverOpen = 201;     // extended: the printer's cover is open
constexpr int32_t kExtRecEmpty = 203;      // extended: the receipt paper is out
constexpr int32_t kExtNotSupported = 300;  // extended: a level or value the device does not know
constexpr int32_t kBadStation = 301;  // extended: not the receipt station
constexpr int32_t kReceipt = 2;       // the only station of these printers

}  // namespace COM
}  // namespace QEL
