#include "tool/model/CodepageDialogModel.h"

#include "tool/core/StringHelpers.h"

namespace tool {

CodepageDialogModel::CodepageDialogModel(ToolContext& context) : context_(context) {}

void CodepageDialogModel::Show() {
  texts_.caption = context_.Text(u"FormSetCodepage_Caption");
  texts_.lblCodepage = context_.Text(u"FormSetCodepage_lblCodepage");
  texts_.btnOK = context_.Text(u"FormSetCodepage_btnOK");
  texts_.btnCancel = context_.Text(u"FormSetCodepage_btnCancel");
  codepage_.items = Split(context_.Text(u"FormSetCodepage_cmbCodepage_Items"), u",");
  numbers_ = Split(context_.language().CollectValue(u"CodepageIDList"), u",");
  saved_ = false;
  const std::u16string current =
      context_.registry().ReadString(context_.selectedKeyPath, QEL::Config::kCodepageID);
  codepage_.selected = codepage_.items.empty() ? -1 : 0;
  for (size_t i = 0; i < codepage_.items.size() && i < numbers_.size(); ++i) {
    if (numbers_[i] == current) {
      codepage_.selected = static_cast<int>(i);
      break;
    }
  }
}

void CodepageDialogModel::OnCodepageChanged(int index) {
  codepage_.selected = index >= 0 && index < static_cast<int>(codepage_.items.size()) ? index : -1;
}

void CodepageDialogModel::OnOk() {
  const int index = codepage_.selected;
  if (index < 0 || index >= static_cast<int>(numbers_.size())) return;
  context_.registry().WriteString(context_.selectedKeyPath, QEL::Config::kCodepageID,
                                  numbers_[static_cast<size_t>(index)]);
  saved_ = true;
}

}  // namespace tool
