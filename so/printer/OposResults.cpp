#include "so/printer/OposResults.h"

namespace QEL {
namespace Printer {

const char* GetStatusString(int32_t code) {
  switch (code) {
    case OPOS_SUCCESS: return "Successful";
    case OPOS_E_CLOSED: return "OPOS_E_CLOSED";
    case OPOS_E_NOTCLAIMED: return "OPOS_E_NOTCLAIMED";
    case OPOS_E_NOSERVICE: return "OPOS_E_NOSERVICE";
    case OPOS_E_DISABLED: return "OPOS_E_DISABLED";
    case OPOS_E_ILLEGAL: return "OPOS_E_ILLEGAL";
    case OPOS_E_NOHARDWARE: return "OPOS_E_NOHARDWARE";
    case OPOS_E_OFFLINE: return "OPOS_E_OFFLINE";
    case OPOS_E_NOEXIST: return "OPOS_E_NOEXIST";
    case OPOS_E_EXISTS: return "OPOS_E_EXISTS";
    case OPOS_E_TIMEOUT: return "OPOS_E_TIMEOUT";
    case OPOS_E_BUSY: return "OPOS_E_BUSY";
    case OPOS_E_EXTENDED: return "OPOS_E_EXTENDED";
    default: return "OPOS_E_FAILURE";  // 102 and 111 included: no text of their own
  }
}

}  // namespace Printer
}  // namespace QEL
