#pragma once
// Brand editions. A build of the tool is made for one edition: it decides the
// models the printer dialog offers and which configured devices the tool
// treats as its own. What a saved device gets as ProgID and description
// follows from its model instead (the model groups), whatever the edition.
#include <string>
#include <vector>

namespace tool {

// The edition this build is made for: the compile definition
// ZOBELSO_TOOL_EDITION, "TARROW" when none is given.
std::u16string BuildEdition();

// The edition's ProgID list text; empty for an edition the tool does not know.
std::u16string EditionProgIdList(const std::u16string& edition);
// The models offered in the driver list, in list order; empty for an unknown
// edition.
std::vector<std::u16string> EditionModels(const std::u16string& edition);
// Whether `edition` is the one that offers every model and accepts every
// printer as a drawer's printer.
bool IsDebugEdition(const std::u16string& edition);

// A device is the tool's own when its ProgID is not empty and occurs within
// the edition's ProgID list (letter case included).
bool IsOwnProgId(const std::u16string& progIdList, const std::u16string& progId);

// What a saved device gets as default value and DeviceDescription. Both are
// empty when the model belongs to no model group (nothing is written then).
struct ModelIdentity {
  std::u16string progId;
  std::u16string deviceDescription;
};

// For the printer dialog: the first group (the Molvane/VORNA models) yields
// an identity only under the editions "ML" and "VORNA".
ModelIdentity PrinterIdentity(const std::u16string& edition, const std::u16string& model);
// For the cash-drawer dialog, from the model of the drawer's printer: the
// first group yields the Molvane ProgID under "ML" and the VORNA ProgID under
// every other edition. Empty when the model belongs to no group.
std::u16string DrawerProgId(const std::u16string& edition, const std::u16string& model);

}  // namespace tool
