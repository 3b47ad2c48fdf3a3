#include "so/printer/PrinterProperties.h"

namespace QEL {
namespace Printer {

PrinterProperties::PrinterProperties() {
  const int32_t ones[] = {8504, 8516, 8517, 8518, 8519, 8520, 8521, 8522, 8524, 8525,
                          8526, 8527, 8528, 8529, 8531, 8549, 8553, 8560};
  for (int32_t index : ones) Cap(index) = 1;
  Cap(8548) = 998;  // CapCharacterSet: Kanji
}

}  // namespace Printer
}  // namespace QEL
