#pragma once
// A minimal printer model for tests of the core before the real models:
// standard command set, configurable traits, and a log of the worker calls.
#include <string>
#include <vector>

#include "so/format/CCmdHelperBase.h"
#include "so/printer/CPrinterBase.h"

namespace testing_support {

class TestPrinterModel : public QEL::Printer::CPrinterBase {
 public:
  TestPrinterModel() {
    modelName_ = u"TEST";
    InitCmdHelper();
  }

  void SetSupportsBidi(int32_t value) { supportsBidi_ = value; }
  void SetAsbConfigured(int32_t value) { asbConfigured_ = value; }
  void SetRefreshInfoAtClaim(int32_t value) { refreshInfoAtClaim_ = value; }
  void SetModelName(const std::u16string& name) { modelName_ = name; }
  void SetDotPitches(float horizontal, float vertical) {
    traits_.horizontalDotPitch = horizontal;
    traits_.verticalDotPitch = vertical;
  }
  void SetPrintWidth(int32_t dots) { traits_.printWidth = dots; }
  // Non-zero: the model has a buzzer to remind of an open drawer.
  void SetDrawerTrait(int32_t value) { traits_.drawerTrait = value; }

  // What the core asked of its worker, of the model and of the status reader,
  // in order: "start", "suspend", "stop", "refresh", "state(initial)".
  const std::vector<std::string>& Calls() const { return calls_; }
  int SetPropertyOpenCount() const { return setPropertyOpenCount_; }

  int32_t GetPrinterState(bool initial) override {
    calls_.push_back(initial ? "state(initial)" : "state");
    return CPrinterBase::GetPrinterState(initial);
  }

 protected:
  void InitCmdHelper() override { cmdHelper_ = &helper_; }
  int32_t IsSupportBidi() override { return supportsBidi_; }
  void SetProperty_Open() override {
    CPrinterBase::SetProperty_Open();
    ++setPropertyOpenCount_;
  }
  int32_t RefreshPrinterInfo() override {
    calls_.push_back("refresh");
    return 0;
  }
  void StartWorker() override {
    calls_.push_back("start");
    CPrinterBase::StartWorker();
  }
  void SuspendWorker() override {
    calls_.push_back("suspend");
    CPrinterBase::SuspendWorker();
  }
  void StopWorker() override {
    calls_.push_back("stop");
    CPrinterBase::StopWorker();
  }

 private:
  QEL::Printer::CCmdHelperBase helper_;
  int32_t supportsBidi_ = 1;
  int setPropertyOpenCount_ = 0;
  std::vector<std::string> calls_;
};

}  // namespace testing_support
