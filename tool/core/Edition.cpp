#include "tool/core/Edition.h"

#include "tool/core/StringHelpers.h"

#ifndef ZOBELSO_TOOL_EDITION
#define ZOBELSO_TOOL_EDITION "TARROW"
#endif

namespace tool {

namespace {

struct EditionRow {
  const char16_t* key;
  const char16_t* progIdList;
  const char16_t* models;  // comma-separated, in list order
};

// The DEBUG list spells Tarrow in capitals and lacks the younger editions:
// a debug build treats their devices, TRAIL-3 ones included, as foreign.
const EditionRow kEditions[] = {
    {u"FRXCOM", u"FXOposPrinterU1.13", u"FX-310,FX-330"},
    {u"VORNA", u"VORNAOposPrinterU1.13", u"MV611,MV615,MV616,PLQ2-A"},
    {u"DEBUG",
     u"MolvaneOposPrinterU1.13,FXOposPrinterU1.13,VORNAOposPrinterU1.13,ZOBELOposPrinterU1.13,"
     u"KestrinOposPrinterU1.13,TARROWOposPrinterU1.13,OMBRAOposPrinterU1.13,",
     u"FX-310,FX-330,MV611,MV615,MV616,ZBL-72A,ZBL-72B,ZBL-72C,ZBL-52A,ZBL-52B,ZBL-52D,PLQ2-A,"
     u"KS-5510,KS-5500,TRAIL-3,TRAIL-3e,OM-Q240,OM-Q340,RD44"},
    {u"KN", u"KestrinOposPrinterU1.13", u"KS-5510,KS-5500"},
    {u"ML", u"MolvaneOposPrinterU1.13", u"MV616"},
    {u"ZOBEL", u"ZOBELOposPrinterU1.13", u"ZBL-72A,ZBL-72B,ZBL-72C,ZBL-52A,ZBL-52B,ZBL-52D"},
    {u"TARROW", u"TarrowOposPrinterU1.13", u"TRAIL-3,TRAIL-3e"},
    {u"OMBRA", u"OMBRAOposPrinterU1.13", u"OM-Q240,OM-Q340"},
    {u"SKEP", u"SKEPOposPrinterU1.13", u"LUMA212,LUMA212F"},
    {u"TUVO", u"TUVOOposPrinterU1.13", u"TUVO52,TUVO72"},
    {u"ARLOX", u"ARLOXOposPrinterU1.13", u"RD4V"},
    {u"Pelltree", u"PelltreeOposPrinterU1.13", u"N415,N416"},
};

struct ModelGroup {
  const char16_t* models;  // membership is a substring test on this text
  const char16_t* progId;  // null: depends on the edition (first group)
  const char16_t* description;
};

const ModelGroup kGroups[] = {
    {u"MV611,MV615,MV616,PLQ2-A,RD44,", nullptr, nullptr},
    {u"FX-310,FX-330", u"FXOposPrinterU1.13", u"Ferrix POS Printer"},
    {u"ZBL-72A,ZBL-72B,ZBL-72C,ZBL-52A,ZBL-52B,ZBL-52D,", u"ZOBELOposPrinterU1.13", u"ZOBEL POS Printer"},
    {u"OM-Q240,OM-Q340,", u"OMBRAOposPrinterU1.13", u"OMBRA POS Printer"},
    {u"KS-5510,KS-5500,", u"KestrinOposPrinterU1.13", u"Kestrin POS Printer"},
    {u"TRAIL-3,TRAIL-3e,", u"TarrowOposPrinterU1.13", u"Tarrow POS Printer"},
    {u"LUMA212,LUMA212F,", u"SKEPOposPrinterU1.13", u"SKEP POS Printer"},
    {u"RD4V,", u"ARLOXOposPrinterU1.13", u"ARLOX POS Printer"},
    {u"TUVO52,TUVO72,", u"TUVOOposPrinterU1.13", u"TUVO POS Printer"},
    {u"N415,N416,", u"PelltreeOposPrinterU1.13", u"Pelltree POS Printer"},
};

const EditionRow* FindEdition(const std::u16string& edition) {
  for (const EditionRow& row : kEditions) {
    if (edition == row.key) return &row;
  }
  return nullptr;
}

// An empty model would be "found" in every group; a device without a model
// belongs to none.
bool InGroup(const ModelGroup& group, const std::u16string& model) {
  return !model.empty() && std::u16string(group.models).find(model) != std::u16string::npos;
}

}  // namespace

std::u16string BuildEdition() { return FromAscii(ZOBELSO_TOOL_EDITION); }

std::u16string EditionProgIdList(const std::u16string& edition) {
  const EditionRow* row = FindEdition(edition);
  return row ? row->progIdList : u"";
}

std::vector<std::u16string> EditionModels(const std::u16string& edition) {
  const EditionRow* row = FindEdition(edition);
  return row ? Split(row->models, u",") : std::vector<std::u16string>();
}

bool IsDebugEdition(const std::u16string& edition) { return edition == u"DEBUG"; }

bool IsOwnProgId(const std::u16string& progIdList, const std::u16string& progId) {
  return !progId.empty() && progIdList.find(progId) != std::u16string::npos;
}

// The groups are tested one after the other and each match overwrites what an
// earlier one gave, as writing each group's values in turn would.
ModelIdentity PrinterIdentity(const std::u16string& edition, const std::u16string& model) {
  ModelIdentity identity;
  for (const ModelGroup& group : kGroups) {
    if (!InGroup(group, model)) continue;
    if (group.progId != nullptr) {
      identity = {group.progId, group.description};
    } else if (edition == u"ML") {
      identity = {u"MolvaneOposPrinterU1.13", u"Molvane POS Printer"};
    } else if (edition == u"VORNA") {
      identity = {u"VORNAOposPrinterU1.13", u"VORNA POS Printer"};
    }
  }
  return identity;
}

std::u16string DrawerProgId(const std::u16string& edition, const std::u16string& model) {
  std::u16string progId;
  for (const ModelGroup& group : kGroups) {
    if (!InGroup(group, model)) continue;
    if (group.progId != nullptr) {
      progId = group.progId;
    } else {
      progId = edition == u"ML" ? u"MolvaneOposPrinterU1.13" : u"VORNAOposPrinterU1.13";
    }
  }
  return progId;
}

}  // namespace tool
