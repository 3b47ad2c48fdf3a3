#include "so/printer/CTM_T88IV.h"

#include <algorithm>
#include <initializer_list>

#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

namespace {

bool IsOneOf(const std::u16string& name, std::initializer_list<const char16_t*> names) {
  return std::any_of(names.begin(), names.end(), [&](const char16_t* n) { return name == n; });
}

const std::initializer_list<const char16_t*> k80mmNames = {
    u"FX-310",    u"FX-330",  u"MV611",   u"MV613",  u"MV615",   u"MV616",   u"ZBL-72A",
    u"ZBL-72B",   u"ZBL-72C", u"TRAIL-3", u"TRAIL-3e", u"KS-5510", u"KS-5500", u"QX611S201",
    u"OM-Q240",   u"OM-Q340", u"TUVO72",  u"N415",   u"N416",    u"LUMA212F"};

const std::initializer_list<const char16_t*> k58mmNames = {
    u"PLQ2-A", u"ZBL-52A", u"ZBL-52B", u"ZBL-52D", u"RD4V", u"RD44", u"TUVO52"};

// Printers that answer only once the claim has found them able to.
const std::initializer_list<const char16_t*> kProbedNames = {
    u"FX-310",  u"FX-330",   u"MV611",   u"MV613",   u"MV615",     u"MV616",   u"ZBL-72A",
    u"ZBL-72B", u"ZBL-72C",  u"TRAIL-3", u"TRAIL-3e", u"KS-5510",  u"KS-5500", u"QX611S201",
    u"OM-Q240", u"OM-Q340",  u"TUVO72",  u"TUVO52",  u"RD4V",      u"RD44",    u"N415",
    u"N416",    u"LUMA212F"};

const char16_t* const kListT =
    u"437,720,850,860,862,863,864,865,866,852,858,874,932,936,949,1252,1255,1256";

}  // namespace

CTM_T88IV::CTM_T88IV() : CTM_T88IV(u"QX330") {}

CTM_T88IV::CTM_T88IV(const std::u16string& modelName) { Initialize(modelName); }

void CTM_T88IV::Initialize(const std::u16string& modelName) {
  InitCmdHelper();
  SetModelIdentity(modelName, u"High Performance Printer", u"1.00");
  SetDeviceParameter(modelName);
}

void CTM_T88IV::SetDeviceParameter(const std::u16string& name) {
  const bool is80mm = IsOneOf(name, k80mmNames);
  const bool is58mm = IsOneOf(name, k58mmNames);
  const bool isT88IV = name == u"TM-T88IV";
  if (!is80mm && !is58mm && !isT88IV) return;

  traits_.fonts[0] = {u"A", 12, 24, kListT};
  traits_.fonts[1] = {u"B", 9, is58mm ? 16 : 17, kListT};
  traits_.statusMethod = is58mm ? 2 : 3;
  asbConfigured_ = is58mm ? 0 : 1;
  refreshInfoAtClaim_ = 1;
  props_.Cap(Pidx::CapRecLeft90) = 1;
  props_.Cap(Pidx::CapRecRight90) = 1;
  props_.Cap(Pidx::CapRecNearEndSensor) = 1;
  props_.recBarCodeRotationList = u"0,R90,L90,180";
  props_.recBitmapRotationList = u"0,R90,L90,180";

  if (is80mm) {
    traits_.horizontalDotPitch = 0.125f;
    traits_.verticalDotPitch = 0.0625f;
    traits_.printWidth = 576;
    traits_.pageAreaWidth = 576;
    traits_.pageAreaHeight = 936;
    traits_.pageModeConstant = 45;
    traits_.drawerTrait = 1;
    props_.Cap(Pidx::CapRecPapercut) = name == u"QX611S201" ? 0 : 1;
    props_.Cap(Pidx::CapRecPageMode) = 1;
    int32_t feed = 3600;
    traits_.cutterDistance = 2400;
    if (IsOneOf(name, {u"MV611", u"ZBL-72A", u"TRAIL-3e", u"KS-5510", u"OM-Q340"})) {
      traits_.cutterDistance = 2300;
      feed = 3450;
    } else if (IsOneOf(name, {u"MV615", u"ZBL-72B", u"OM-Q240", u"TUVO72", u"N415"})) {
      traits_.cutterDistance = 2200;
      feed = 3300;
    }
    CCmdHelperBase::SetCutFeedDistance(feed);
  } else if (is58mm) {
    traits_.horizontalDotPitch = 0.125f;
    traits_.verticalDotPitch = 0.125f;
    traits_.printWidth = 384;
    traits_.cutterDistance = 800;
    traits_.drawerTrait = 0;
    props_.Cap(Pidx::CapRecPapercut) = 0;
    props_.Cap(Pidx::CapRecPageMode) = 0;
  } else {
    traits_.horizontalDotPitch = 0.141f;
    traits_.verticalDotPitch = 0.0705f;
    traits_.printWidth = 512;
    traits_.pageAreaWidth = 512;
    traits_.pageAreaHeight = 1000;
    traits_.pageModeConstant = 45;
    traits_.drawerTrait = 0;
    props_.Cap(Pidx::CapRecPapercut) = 1;
    props_.Cap(Pidx::CapRecPageMode) = 1;
  }
  props_.pageModeArea = std::u16string();
  RewriteAreaTexts();
}

int32_t CTM_T88IV::IsSupportBidi() {
  if (!IsParallel() && PortReadBack() == 0) return 1;
  return IsOneOf(modelName_, kProbedNames) ? 0 : 1;
}

void CTM_T88IV::SetProperty_Open() {
  CPrinterBase::SetProperty_Open();
  props_.characterSet = configuredCodePage_;
  props_.recLetterQuality = 0;
  SelectDefaultFont();
  if (IsOneOf(modelName_, k58mmNames)) {
    props_.Cap(Pidx::CapRecRight90) = 0;
    traits_.cutterDistance = 800;
    props_.Cap(Pidx::CapRecPapercut) = modelName_ == u"RD44" ? 1 : 0;
    props_.Cap(Pidx::CapRecPageMode) = 0;
    refreshInfoAtClaim_ = 1;
    asbConfigured_ = 0;
    ClearUseAsb();
    traits_.drawerTrait = 0;
    traits_.statusMethod = 2;
  }
}

}  // namespace Printer
}  // namespace QEL
