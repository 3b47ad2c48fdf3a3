#include <cstdio>
#include <string>

#include "so/printer/CPrinterBase.h"
#include "so/printer/OutputIdCounter.h"
#include "so/printer/PropertyIndex.h"

namespace QEL {
namespace Printer {

namespace {

std::u16string Widen(const char* text) {
  std::u16string out;
  for (; *text != '\0'; ++text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text)));
  return out;
}

std::u16string FormatNumbers(const int32_t* values, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += ',';
    text += std::to_string(values[i]);
  }
  return Widen(text.c_str());
}

// Reads "x,y,width,height": four decimal numbers and nothing else.
bool ParseFourNumbers(const std::u16string& text, int32_t out[4]) {
  size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (at >= text.size() || text[at] != u',') return false;
      ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
      negative = text[at] == u'-';
      ++at;
    }
    const size_t digitsFrom = at;
    int64_t value = 0;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
      value = value * 10 + (text[at] - u'0');
      if (value > 0x7FFFFFFF) return false;
      ++at;
    }
    if (at == digitsFrom) return false;
    out[i] = static_cast<int32_t>(negative ? -value : value);
  }
  return at == text.size();
}

bool IsCapability(int32_t index) { return index >= Pidx::CapFirst && index <= Pidx::CapLast; }

}  // namespace

long CPrinterBase::GetPropertyNumber(int32_t index, int32_t* value) {
  if (value == nullptr) return 0;
  const bool receiptPageMode = props_.pageModeStation == 2;
  switch (index) {
    case Pidx::OutputID: *value = OutputIdCounter::Last(); return 0;
    case Pidx::BinaryConversion: *value = props_.binaryConversion; return 0;
    case Pidx::AsyncMode: *value = props_.asyncMode; return 0;
    case Pidx::CharacterSet: *value = props_.characterSet; return 0;
    case Pidx::CoverOpen: *value = KnownStatus().coverOpen != 0 ? 1 : 0; return 0;
    case Pidx::ErrorStation: *value = props_.errorStation; return 0;
    case Pidx::MapMode: *value = props_.mapMode; return 0;
    case Pidx::RecEmpty: *value = KnownStatus().paperOut != 0 ? 1 : 0; return 0;
    case Pidx::RecLetterQuality: *value = props_.recLetterQuality; return 0;
    case Pidx::RecLineChars: *value = props_.recLineChars; return 0;
    case Pidx::RecLineHeight: *value = DOT2MapNumber_H(props_.recLineHeight); return 0;
    case Pidx::RecLineSpacing: *value = DOT2MapNumber_H(props_.recLineSpacing); return 0;
    case Pidx::RecLinesToPaperCut: *value = props_.recLinesToPaperCut; return 0;
    case Pidx::RecLineWidth: *value = DOT2MapNumber_H(props_.recLineWidth); return 0;
    case Pidx::RecNearEnd: *value = KnownStatus().nearEnd != 0 ? 1 : 0; return 0;
    case Pidx::RecSidewaysMaxChars: *value = props_.recSidewaysMaxChars; return 0;
    case Pidx::RecSidewaysMaxLines: *value = props_.recSidewaysMaxLines; return 0;
    case Pidx::SlpEmpty: *value = 0; return 0;
    case Pidx::SlpLetterQuality: *value = props_.slpLetterQuality; return 0;
    case Pidx::ErrorLevel: *value = props_.errorLevel; return 0;
    case Pidx::RotateSpecial: *value = props_.rotateSpecial; return 0;
    case Pidx::JrnCartridgeState: *value = props_.jrnCartridgeState; return 0;
    case Pidx::RecCurrentCartridge: *value = props_.recCurrentCartridge; return 0;
    case Pidx::PageModeDescriptor: *value = receiptPageMode ? 15 : 0; return 0;
    case Pidx::PageModeHorizontalPosition:
      *value = receiptPageMode ? DOT2MapNumber_H(props_.pageModeHorizontalPosition) : 0;
      return 0;
    case Pidx::PageModeVerticalPosition:
      *value = receiptPageMode ? DOT2MapNumber_H(props_.pageModeVerticalPosition) : 0;
      return 0;
    case Pidx::PageModePrintDirection: *value = props_.pageModePrintDirection; return 0;
    case Pidx::PageModeStation: *value = props_.pageModeStation; return 0;
    default: break;
  }
  // The journal and the concurrent-station capabilities do not exist here.
  if ((index >= Pidx::JrnEmpty && index <= Pidx::JrnNearEnd) ||
      (index >= Pidx::CapFirst && index <= Pidx::CapConcurrentRecSlp)) {
    SetRC(OPOS_E_NOT_SUPPORTED);
    return 0;
  }
  if ((index >= 8026 && index <= 8034) || index == Pidx::CartridgeNotify ||
      index == Pidx::JrnCurrentCartridge || index == Pidx::RecCartridgeState ||
      (index >= Pidx::SlpPrintSide && index <= Pidx::MapCharacterSet)) {
    *value = 0;
    return 0;
  }
  if (IsCapability(index)) *value = props_.Cap(index);
  return 0;
}

long CPrinterBase::SetPropertyNumber(int32_t index, int32_t value, int32_t* result) {
  int32_t scratch = 0;
  int32_t& rc = result != nullptr ? *result : scratch;
  if (!opened_) {
    rc = OPOS_E_CLOSED;
    return 0;
  }
  rc = OPOS_SUCCESS;
  switch (index) {
    case Pidx::DeviceEnabled:
      DeviceEnable(value);
      return 0;
    case Pidx::BinaryConversion:
      props_.binaryConversion = value;
      return 0;
    case Pidx::AsyncMode:
      if (!IsQX1270Family()) props_.asyncMode = value != 0 ? 1 : 0;
      return 0;
    case Pidx::CharacterSet:
      rc = SetCharacterSetProperty(value);
      return 0;
    case Pidx::MapMode:
      if (value != props_.mapMode) {
        props_.mapMode = value;
        RewriteAreaTexts();
      }
      return 0;
    case Pidx::RecLetterQuality:
      if (value != props_.recLetterQuality) pending_.upsideDown = true;
      props_.recLetterQuality = value;
      return 0;
    case Pidx::RecLineChars:
      rc = SetRecLineChars(value);
      return 0;
    case Pidx::RecLineHeight:
      props_.recLineHeight = MapNumber2DOT_H(value);
      return 0;
    case Pidx::RecLineSpacing:
      props_.recLineSpacing = MapNumber2DOT_H(value);
      pending_.lineSpacing = true;
      return 0;
    case Pidx::SlpLetterQuality:
      props_.slpLetterQuality = value;
      return 0;
    case Pidx::RotateSpecial:
      props_.rotateSpecial = SetRotation(value);
      return 0;
    case Pidx::RecCurrentCartridge:
      props_.recCurrentCartridge = value;
      return 0;
    case Pidx::PageModeHorizontalPosition:
      if (props_.pageModeStation == 2) props_.pageModeHorizontalPosition = MapNumber2DOT_H(value);
      return 0;
    case Pidx::PageModeVerticalPosition:
      if (props_.pageModeStation == 2) props_.pageModeVerticalPosition = MapNumber2DOT_H(value);
      return 0;
    case Pidx::PageModePrintDirection:
      rc = SetPageModePrintDirection(value);
      return 0;
    case Pidx::PageModeStation:
      if (value == 2) {
        props_.pageModeStation = 2;
      } else {
        rc = SetRC(OPOS_E_PAGEMODE_REFUSED);
      }
      return 0;
    case Pidx::JrnLetterQuality:
    case Pidx::JrnLineChars:
    case Pidx::JrnLineHeight:
    case Pidx::JrnLineSpacing:
    case Pidx::CartridgeNotify:
    case Pidx::JrnCurrentCartridge:
      rc = SetRC(OPOS_E_NOT_SUPPORTED);
      return 0;
    default:
      rc = OPOS_E_ILLEGAL;
      return 0;
  }
}

int32_t CPrinterBase::SetCharacterSetProperty(int32_t value) {
  const std::u16string& list = props_.characterSetList;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(u',', start);
    if (comma == std::u16string::npos) comma = list.size();
    const std::u16string item = list.substr(start, comma - start);
    if (!item.empty() && item.size() <= 10) {
      int64_t number = 0;
      bool digits = true;
      for (char16_t c : item) {
        if (c < u'0' || c > u'9') {
          digits = false;
          break;
        }
        number = number * 10 + (c - u'0');
      }
      if (digits && number == value) {
        props_.characterSet = value;
        pending_.characterSet = true;
        return OPOS_SUCCESS;
      }
    }
    start = comma + 1;
  }
  return SetRC(OPOS_E_ILLEGAL);
}

long CPrinterBase::GetPropertyString(int32_t index, std::u16string* text) {
  if (text == nullptr) return 0;
  switch (index) {
    case Pidx::CheckHealthText: *text = props_.checkHealthText; break;
    case Pidx::DeviceDescription: *text = props_.deviceDescription; break;
    case Pidx::DeviceName: *text = props_.deviceName; break;
    case Pidx::CharacterSetList: *text = props_.characterSetList; break;
    case Pidx::JrnLineCharsList: text->clear(); break;
    case Pidx::RecLineCharsList: *text = props_.recLineCharsList; break;
    case Pidx::SlpLineCharsList: text->clear(); break;
    case Pidx::ErrorString: *text = props_.errorString; break;
    case Pidx::FontTypefaceList: *text = props_.fontTypefaceList; break;
    case Pidx::RecBarCodeRotationList: *text = props_.recBarCodeRotationList; break;
    case Pidx::SlpBarCodeRotationList: text->clear(); break;
    case Pidx::RecBitmapRotationList: *text = props_.recBitmapRotationList; break;
    case Pidx::SlpBitmapRotationList: text->clear(); break;
    case Pidx::PageModeArea: *text = props_.pageModeArea; break;
    case Pidx::PageModePrintArea:
      if (props_.pageModeStation == 2) {
        *text = props_.pageModePrintArea;
      } else {
        text->clear();
      }
      break;
    default: break;
  }
  return 0;
}

long CPrinterBase::SetPropertyString(int32_t index, const std::u16string& text, int32_t* result) {
  if (index != Pidx::PageModePrintArea) return 0;
  const int32_t rc = SetPageModePrintAreaText(text);
  if (result != nullptr) *result = rc;
  return 0;
}

int32_t CPrinterBase::SetPageModePrintAreaText(const std::u16string& text) {
  SetRC(OPOS_E_PAGEMODE_REFUSED);
  if (text.size() > 30 || text.size() <= 6) return OPOS_E_EXTENDED;
  int32_t numbers[4];
  if (!ParseFourNumbers(text, numbers)) return SetRC(OPOS_E_ILLEGAL);
  int32_t dots[4];
  for (int i = 0; i < 4; ++i) dots[i] = MapNumber2DOT_H(numbers[i]);
  if (ValidatePageModePrintArea(dots[0], dots[1], dots[2], dots[3]) != 0) {
    return SetRC(OPOS_E_ILLEGAL);
  }
  props_.pageModePrintArea = text.substr(0, 50);
  props_.printAreaX = dots[0];
  props_.printAreaY = dots[1];
  props_.printAreaWidth = dots[2];
  props_.printAreaHeight = dots[3];
  pending_.printArea = true;
  return SetRC(OPOS_SUCCESS);
}

void CPrinterBase::RewriteAreaTexts() {
  const int32_t area[2] = {DOT2MapNumber_H(traits_.pageAreaWidth),
                           DOT2MapNumber_H(traits_.pageAreaHeight)};
  props_.pageModeArea = FormatNumbers(area, 2);
  const int32_t print[4] = {DOT2MapNumber_H(props_.printAreaX), DOT2MapNumber_H(props_.printAreaY),
                            DOT2MapNumber_H(props_.printAreaWidth),
                            DOT2MapNumber_H(props_.printAreaHeight)};
  props_.pageModePrintArea = FormatNumbers(print, 4);
}

int32_t CPrinterBase::ValidatePageModePrintArea(int32_t x, int32_t y, int32_t width,
                                                int32_t height) const {
  if (x < 0 || y < 0 || width < 0 || height < 0) return OPOS_E_ILLEGAL;
  if (static_cast<int64_t>(x) + width > traits_.pageAreaWidth) return OPOS_E_ILLEGAL;
  if (static_cast<int64_t>(y) + height > traits_.pageAreaHeight) return OPOS_E_ILLEGAL;
  return OPOS_SUCCESS;
}

}  // namespace Printer
}  // namespace QEL
