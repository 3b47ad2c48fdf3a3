#include "tool/win32/MainWindow.h"

#include "tool/win32/ControlRects.h"
#include "tool/win32/ControlState.h"
#include "tool/win32/PixelLayout.h"
#include "tool/win32/Text.h"
#include "tool/win32/TreeImages.h"
#include "tool/win32/resource.h"

namespace toolwin {
namespace {

const ControlRect kRects[] = {
    {IDC_lblDeviceList, RECT_lblDeviceList},
    {IDC_tvwDeviceList, RECT_tvwDeviceList},
    {IDC_btnAddDevice, RECT_btnAddDevice},
    {IDC_btnModifyDevice, RECT_btnModifyDevice},
    {IDC_btnDeleteDevice, RECT_btnDeleteDevice},
    {IDC_btnAddLogicName, RECT_btnAddLogicName},
    {IDC_btnSetCodepage, RECT_btnSetCodepage},
    {IDC_btnSelfTest, RECT_btnSelfTest},
    {IDC_btnQuit, RECT_btnQuit},
    {IDC_lblDeviceInf, RECT_lblDeviceInf},
    {IDC_lblDeviceInfoValue, RECT_lblDeviceInfoValue},
};
constexpr int kClient[] = {CLIENT_frmDevice};

HTREEITEM Next(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

MainWindow::MainWindow(tool::MainWindowModel& model, PrinterDialog& printerDialog,
                       LogicNameDialog& logicNameDialog, CashDrawerDialog& cashDrawerDialog,
                       CodepageDialog& codepageDialog, tool::HealthCheck& healthCheck)
    : model_(model),
      printerDialog_(printerDialog),
      logicNameDialog_(logicNameDialog),
      cashDrawerDialog_(cashDrawerDialog),
      codepageDialog_(codepageDialog),
      healthCheck_(healthCheck) {}

void MainWindow::Run(HINSTANCE instance) {
  instance_ = instance;
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_frmDevice), nullptr, Procedure,
                  reinterpret_cast<LPARAM>(this));
  if (images_ != nullptr) ImageList_Destroy(images_);
}

INT_PTR CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    reinterpret_cast<MainWindow*>(lParam)->window_ = window;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  return self == nullptr ? FALSE : self->Handle(message, wParam, lParam);
}

INT_PTR MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_tvwDeviceList && OnNotify(*header)) return TRUE;
      return FALSE;
    }
    case WM_CLOSE:
      // The system menu's Close ends the program like a confirmed Quit.
      EndDialog(window_, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

void MainWindow::OnInit() {
  tree_ = GetDlgItem(window_, IDC_tvwDeviceList);
  PlaceControls(window_, kRects);
  SizeAndCentre(window_, kClient[0], kClient[1], nullptr);
  images_ = CreateTreeImages();
  SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
  // Creation order of the windows: this one first, then its dialogs.
  model_.Create();
  printerDialog_.Create();
  logicNameDialog_.Create();
  cashDrawerDialog_.Create();
  model_.OnShow();
  Apply();
}

void MainWindow::OnCommand(int id) {
  switch (id) {
    case IDC_btnAddDevice:
      OpenDialog(model_.OnAdd());
      break;
    case IDC_btnModifyDevice:
      OpenDialog(model_.OnModify());
      break;
    case IDC_btnAddLogicName:
      OpenDialog(model_.OnLogicName());
      break;
    case IDC_btnSetCodepage:
      OpenDialog(model_.OnSetCodepage());
      break;
    case IDC_btnSelfTest:
      OpenDialog(model_.OnSelfTest());
      break;
    case IDC_btnDeleteDevice:
      model_.OnDelete();
      Apply();
      break;
    case IDC_btnQuit:
      if (model_.OnQuit()) EndDialog(window_, 0);
      break;
    default:
      // Escape (IDCANCEL) does not close the main window.
      break;
  }
}

void MainWindow::OpenDialog(tool::DialogRequest request) {
  switch (request) {
    case tool::DialogRequest::kAddPrinter:
    case tool::DialogRequest::kModifyPrinter: {
      const tool::DialogMode mode = request == tool::DialogRequest::kAddPrinter
                                        ? tool::DialogMode::kAdd
                                        : tool::DialogMode::kModify;
      const bool saved = printerDialog_.Run(instance_, window_, mode);
      model_.OnDialogClosed(request, saved);
      Apply();
      break;
    }
    case tool::DialogRequest::kAddDrawer:
    case tool::DialogRequest::kModifyDrawer: {
      const tool::DialogMode mode = request == tool::DialogRequest::kAddDrawer
                                        ? tool::DialogMode::kAdd
                                        : tool::DialogMode::kModify;
      const bool saved = cashDrawerDialog_.Run(instance_, window_, mode);
      model_.OnDialogClosed(request, saved);
      Apply();
      break;
    }
    case tool::DialogRequest::kAddLogicName:
    case tool::DialogRequest::kModifyLogicName: {
      const bool renaming = request == tool::DialogRequest::kModifyLogicName;
      const bool saved =
          logicNameDialog_.Run(instance_, window_, renaming ? tool::DialogMode::kModify : tool::DialogMode::kAdd,
                               renaming ? model_.state().selectedNodeText : std::u16string());
      model_.OnDialogClosed(request, saved);
      Apply();
      break;
    }
    case tool::DialogRequest::kSetCodepage:
      model_.OnDialogClosed(request, codepageDialog_.Run(instance_, window_));
      Apply();
      break;
    case tool::DialogRequest::kHealthCheck:
      // Runs on this thread: the interactive check's message box keeps the
      // window's messages flowing while it waits for the user.
      healthCheck_.Run();
      Apply();
      break;
    default:
      break;
  }
}

// Mouse clicks arrive as NM_CLICK, which also covers a click on the node that
// is already selected; the keyboard and other programs change the selection
// without one.
bool MainWindow::OnNotify(const NMHDR& header) {
  if (header.code == NM_CLICK) {
    TVHITTESTINFO hit{};
    const DWORD at = GetMessagePos();
    hit.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ScreenToClient(tree_, &hit.pt);
    SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.hItem == nullptr || (hit.flags & TVHT_ONITEM) == 0) return false;
    SelectQuietly(hit.hItem);
    model_.OnNodeClick(PathOf(hit.hItem));
    Apply();
    return false;
  }
  if (header.code == TVN_SELCHANGEDW) {
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (selectingQuietly_ || change.action == TVC_BYMOUSE || change.itemNew.hItem == nullptr) {
      return false;
    }
    model_.OnNodeClick(PathOf(change.itemNew.hItem));
    Apply();
  }
  return false;
}

void MainWindow::Apply() {
  const tool::MainWindowState& s = model_.state();
  SetText(window_, s.caption);
  SetText(GetDlgItem(window_, IDC_lblDeviceList), s.deviceListLabel);
  SetText(GetDlgItem(window_, IDC_lblDeviceInf), s.deviceInfoLabel);
  SetText(GetDlgItem(window_, IDC_lblDeviceInfoValue), s.infoLine);
  ApplyButton(GetDlgItem(window_, IDC_btnAddDevice), s.add);
  ApplyButton(GetDlgItem(window_, IDC_btnModifyDevice), s.modify);
  ApplyButton(GetDlgItem(window_, IDC_btnDeleteDevice), s.remove);
  ApplyButton(GetDlgItem(window_, IDC_btnAddLogicName), s.logicName);
  ApplyButton(GetDlgItem(window_, IDC_btnSetCodepage), s.codepage);
  ApplyButton(GetDlgItem(window_, IDC_btnSelfTest), s.selfTest);
  ApplyButton(GetDlgItem(window_, IDC_btnQuit), s.quit);
  if (!treeShown_ || shownGeneration_ != s.treeGeneration) {
    FillTree();
    treeShown_ = true;
    shownGeneration_ = s.treeGeneration;
    if (s.selection) SelectQuietly(ItemAt(*s.selection));
  }
}

void MainWindow::FillTree() {
  selectingQuietly_ = true;
  SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  InsertChildren(TVI_ROOT, tool::TreeNode{{}, 0, false, {model_.state().tree}});
  SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tree_, nullptr, TRUE);
  selectingQuietly_ = false;
}

void MainWindow::InsertChildren(HTREEITEM parent, const tool::TreeNode& node) {
  for (const tool::TreeNode& child : node.children) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(Wide(child.text));
    insert.item.iImage = child.image;
    insert.item.iSelectedImage = child.image;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    InsertChildren(item, child);
    if (child.expanded) SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  }
}

tool::NodePath MainWindow::PathOf(HTREEITEM item) const {
  tool::NodePath path;
  for (HTREEITEM at = item; at != nullptr;) {
    HTREEITEM parent = Next(tree_, at, TVGN_PARENT);
    if (parent == nullptr) break;  // `at` is the root, which has no index
    size_t index = 0;
    for (HTREEITEM sibling = Next(tree_, parent, TVGN_CHILD); sibling != nullptr && sibling != at;
         sibling = Next(tree_, sibling, TVGN_NEXT)) {
      ++index;
    }
    path.insert(path.begin(), index);
    at = parent;
  }
  return path;
}

HTREEITEM MainWindow::ItemAt(const tool::NodePath& path) const {
  HTREEITEM at = Next(tree_, nullptr, TVGN_ROOT);
  for (size_t index : path) {
    at = Next(tree_, at, TVGN_CHILD);
    for (size_t i = 0; i < index && at != nullptr; ++i) at = Next(tree_, at, TVGN_NEXT);
    if (at == nullptr) return nullptr;
  }
  return at;
}

void MainWindow::SelectQuietly(HTREEITEM item) {
  if (item == nullptr) return;
  selectingQuietly_ = true;
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  selectingQuietly_ = false;
}

}  // namespace toolwin
