#pragma once
// Printers that speak the standard ESC/POS command set: the TM-T88IV and
// the 80 mm and 58 mm families sorted into profiles by their model name.
#include <string>

#include "so/format/CCmdHelperBase.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

class CTM_T88IV : public CPrinterBase {
 public:
  CTM_T88IV();
  explicit CTM_T88IV(const std::u16string& modelName);

  // The code page configured for the device; CharacterSet at every open.
  void SetConfiguredCodePage(int32_t codePage) { configuredCodePage_ = codePage; }
  int32_t IsSupportBidi() override;
  void SetProperty_Open() override;

 protected:
  void InitCmdHelper() override { cmdHelper_ = &helper_; }

 private:
  void Initialize(const std::u16string& modelName);
  void SetDeviceParameter(const std::u16string& modelName);

  CCmdHelperBase helper_;
  int32_t configuredCodePage_ = 437;
};

}  // namespace Printer
}  // namespace QEL
