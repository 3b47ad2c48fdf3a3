#pragma once
// OPOS result codes and the extended codes this service reports.
#include <cstdint>

namespace QEL {
namespace Printer {

enum OposResult : int32_t {
  OPOS_SUCCESS = 0,
  OPOS_E_CLOSED = 101,
  OPOS_E_CLAIMED = 102,
  OPOS_E_NOTCLAIMED = 103,
  OPOS_E_NOSERVICE = 104,
  OPOS_E_DISABLED = 105,
  OPOS_E_ILLEGAL = 106,
  OPOS_E_NOHARDWARE = 107,
  OPOS_E_OFFLINE = 108,
  OPOS_E_NOEXIST = 109,
  OPOS_E_EXISTS = 110,
  OPOS_E_FAILURE = 111,
  OPOS_E_TIMEOUT = 112,
  OPOS_E_BUSY = 113,
  OPOS_E_EXTENDED = 114,
};

enum OposExtendedResult : int32_t {
  OPOS_EPTR_COVER_OPEN = 201,
  OPOS_EPTR_REC_EMPTY = 203,
  OPOS_EPTR_TOOBIG = 206,
  OPOS_E_NOT_SUPPORTED = 300,
  OPOS_E_PAGEMODE_REFUSED = 301,
  OPOS_E_OPEN_FAILED = 306,
};

// OpenServiceW's own code for a port that cannot be used; never a ResultCode.
constexpr int32_t kOpenPortUnusable = 401;

// The name of a result code as the service reports it.
const char* GetStatusString(int32_t code);

}  // namespace Printer
}  // namespace QEL
