#pragma once
// The maker's own reference printers with their framed command set.
#include <string>

#include "so/format/CmdHelper_QX1270.h"
#include "so/printer/CPrinterBase.h"

namespace QEL {
namespace Printer {

class CQX1270SMB : public CPrinterBase {
 public:
  CQX1270SMB();
  explicit CQX1270SMB(const std::u16string& modelName);

  int32_t IsSupportBidi() override { return 1; }
  void SetProperty_Open() override;

 protected:
  void InitCmdHelper() override { cmdHelper_ = &helper_; }

 private:
  void Initialize(const std::u16string& modelName);
  void SetDeviceParameter();

  CmdHelper_QX1270 helper_;
};

}  // namespace Printer
}  // namespace QEL
