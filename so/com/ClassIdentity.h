#pragma once
// The identifiers under which the service-object class is known: the class,
// its application, its type library and its dispatch interface, and the
// ProgIDs the OPOS device keys name. They were generated once; the type
// library source (OPosPrinterSO.idl) carries the same values, and a test
// compares the compiled type library with these.
#include "platform/com.h"

namespace QEL {
namespace COM {

// {502264C6-EADD-45C2-9920-CDB8BF95FB72}
constexpr CLSID kClsidQELOposPrinterSO = {
    0x502264C6, 0xEADD, 0x45C2, {0x99, 0x20, 0xCD, 0xB8, 0xBF, 0x95, 0xFB, 0x72}};
// {B40838A1-31D1-4E75-AA11-D3A429E21639}
constexpr GUID kAppIdZobelso = {
    0xB40838A1, 0x31D1, 0x4E75, {0xAA, 0x11, 0xD3, 0xA4, 0x29, 0xE2, 0x16, 0x39}};
// {5FF87DA1-50F8-40A5-9CE3-17D0194AEBCE}
constexpr GUID kLibidOPosPrinterSOLib = {
    0x5FF87DA1, 0x50F8, 0x40A5, {0x9C, 0xE3, 0x17, 0xD0, 0x19, 0x4A, 0xEB, 0xCE}};
// {CED91DA7-D89E-4CD4-91D3-718B9290CD48}
constexpr IID kIidIQELOposPrinterSO = {
    0xCED91DA7, 0xD89E, 0x4CD4, {0x91, 0xD3, 0x71, 0x8B, 0x92, 0x90, 0xCD, 0x48}};

// The same, as the registry writes them.
constexpr char16_t kClsidText[] = u"{502264C6-EADD-45C2-9920-CDB8BF95FB72}";
constexpr char16_t kAppIdText[] = u"{B40838A1-31D1-4E75-AA11-D3A429E21639}";
constexpr char16_t kLibidText[] = u"{5FF87DA1-50F8-40A5-9CE3-17D0194AEBCE}";

// The type library's version and locale.
constexpr unsigned short kTypeLibMajor = 1;
constexpr unsigned short kTypeLibMinor = 0;

// The ProgID a device key names, and the one that follows the newest version.
constexpr char16_t kProgId[] = u"TarrowOposPrinterU1.13";
constexpr char16_t kVersionIndependentProgId[] = u"TarrowOposPrinterU1";

}  // namespace COM
}  // namespace QEL
