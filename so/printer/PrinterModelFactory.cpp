#include "so/printer/PrinterModelFactory.h"

#include "so/printer/CQX1270SMB.h"
#include "so/printer/CTM_T88IV.h"

namespace QEL {
namespace Printer {

namespace {

const char16_t* const kStandardModels[] = {
    u"TM-T88IIM", u"TM-T88IIMT", u"TM-T88IIMS", u"TM-T88IIML", u"TM-T88IIMU", u"TM-T88IV",
    u"QX840S",    u"PLQ2",       u"FX-310",     u"FX-330",     u"MV616",      u"MV611",
    u"MV615",     u"ZBL-52A",    u"ZBL-52B",    u"ZBL-52D",    u"ZBL-72A",    u"ZBL-72B",
    u"ZBL-72C",   u"TRAIL-3",    u"TRAIL-3e",   u"KS-5510",    u"KS-5500",    u"PLQ2-A",
    u"QX611S201", u"OM-Q240",    u"OM-Q340",    u"AX52PA",     u"RD4V",       u"RD44",
    u"TUVO72",    u"TUVO52",     u"N415",       u"N416",       u"LUMA212F"};

}  // namespace

std::unique_ptr<CPrinterBase> CreatePrinterModel(const std::u16string& modelName, int32_t* error) {
  if (error != nullptr) *error = 0;
  for (const char16_t* name : kStandardModels) {
    if (modelName == name) return std::make_unique<CTM_T88IV>(modelName);
  }
  if (modelName == u"QX1270SMB" || modelName == u"QX1270") {
    return std::make_unique<CQX1270SMB>(modelName);
  }
  if (error != nullptr) *error = kUnknownModelError;
  return nullptr;
}

}  // namespace Printer
}  // namespace QEL
