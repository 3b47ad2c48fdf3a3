#pragma once
// Everything of the code-page dialog that is not drawing: the code pages the
// language file offers, the printer's start-up code page selected among them,
// and writing the chosen one into the printer's device key at the context's
// selected key path.
#include <string>
#include <vector>

#include "tool/core/ToolContext.h"
#include "tool/model/Controls.h"

namespace tool {

struct CodepageDialogTexts {
  std::u16string caption, lblCodepage, btnOK, btnCancel;
};

class CodepageDialogModel {
 public:
  explicit CodepageDialogModel(ToolContext& context);

  // Shown: the texts read afresh, the display names and the numbers split
  // from the language file, and the position of the device's CodepageID
  // selected (the first position when no number equals it).
  void Show();
  void OnCodepageChanged(int index);
  // Writes the number paired with the selected name as CodepageID; a name
  // without a number, or no selection, writes nothing. The dialog closes.
  void OnOk();
  void OnCancel() {}

  const CodepageDialogTexts& texts() const { return texts_; }
  const ListState& codepage() const { return codepage_; }  // cmbCodepage
  const std::vector<std::u16string>& numbers() const { return numbers_; }
  bool saved() const { return saved_; }

 private:
  ToolContext& context_;
  CodepageDialogTexts texts_;
  ListState codepage_;
  std::vector<std::u16string> numbers_;  // paired with codepage_.items by position
  bool saved_ = false;
};

}  // namespace tool
