#include "so/printer/CQX1270SMB.h"

#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

CQX1270SMB::CQX1270SMB() : CQX1270SMB(u"QX1270SMB") {}

CQX1270SMB::CQX1270SMB(const std::u16string& modelName) { Initialize(modelName); }

void CQX1270SMB::Initialize(const std::u16string& modelName) {
  InitCmdHelper();
  SetModelIdentity(modelName, u"VORNA High Performance Printer", u"1.52");
  SetDeviceParameter();
}

void CQX1270SMB::SetDeviceParameter() {
  traits_.horizontalDotPitch = 0.125f;
  traits_.verticalDotPitch = 0.0625f;
  traits_.printWidth = 576;
  traits_.fonts[0] = {u"A", 12, 24, u"437,720,850,860,862,863,865,866,852,858,874,932,936,1252,1255,1256"};
  traits_.fonts[1] = {u"B", 9, 17, u"437,850,860,862,863,865,866,852,858,874,932,936,1252,1255,1256"};
  traits_.pageAreaWidth = 576;
  traits_.pageAreaHeight = 936;
  traits_.pageModeConstant = 45;
  traits_.cutterDistance = 2600;
  traits_.statusMethod = 3;
  traits_.drawerTrait = 0;
  asbConfigured_ = 0;
  refreshInfoAtClaim_ = 0;
  props_.Cap(Pidx::CapRecPapercut) = 0;
  props_.Cap(Pidx::CapRecPageMode) = 0;
  props_.Cap(Pidx::CapRecLeft90) = 0;
  props_.Cap(Pidx::CapRecRight90) = 0;
  props_.Cap(Pidx::CapRecNearEndSensor) = 0;
  props_.Cap(8564) = 1;
  props_.Cap(8565) = 1;
  props_.recBarCodeRotationList = u"0,180";
  props_.recBitmapRotationList = u"0,180";
  RewriteAreaTexts();
}

void CQX1270SMB::SetProperty_Open() {
  CPrinterBase::SetProperty_Open();
  props_.characterSet = 437;
  props_.recLetterQuality = 0;
  SelectDefaultFont();
  MarkBidirectional();
}

}  // namespace Printer
}  // namespace QEL
