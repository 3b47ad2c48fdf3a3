#pragma once
// A plain ESC/POS printer that answers status requests: the stand-in model of
// the demo until the named printer models take its place.
#include "so/format/CCmdHelperBase.h"
#include "so/printer/CPrinterBase.h"

namespace demo {

class DemoPrinterModel : public QEL::Printer::CPrinterBase {
 public:
  DemoPrinterModel() {
    modelName_ = u"ESC/POS";
    asbConfigured_ = 1;
  }

 protected:
  QEL::Printer::CCmdHelperBase* CmdHelper() override { return &helper_; }
  int32_t IsSupportBidi() override { return 1; }

 private:
  QEL::Printer::CCmdHelperBase helper_;
};

}  // namespace demo
