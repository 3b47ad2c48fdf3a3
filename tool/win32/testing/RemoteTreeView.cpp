#include "tool/win32/testing/RemoteTreeView.h"

#include <commctrl.h>

#include <cstring>

namespace probe {
namespace {

constexpr int kTextChars = 512;

// Where each part of a query sits in the block of the other process.
struct RemoteLayout {
  TVITEMW item;
  RECT rect;
  wchar_t text[kTextChars];
};

}  // namespace

RemoteTreeView::RemoteTreeView(HWND tree) : tree_(tree) {
  DWORD pid = 0;
  GetWindowThreadProcessId(tree, &pid);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process_ == nullptr) return;
  block_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, sizeof(RemoteLayout),
                                             MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
}

RemoteTreeView::~RemoteTreeView() {
  if (block_ != nullptr) VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
  if (process_ != nullptr) CloseHandle(process_);
}

bool RemoteTreeView::Read(HTREEITEM handle, TreeItem* item) {
  RemoteLayout local{};
  local.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
  local.item.hItem = handle;
  local.item.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
  local.item.pszText = reinterpret_cast<wchar_t*>(block_ + offsetof(RemoteLayout, text));
  local.item.cchTextMax = kTextChars;
  // TVM_GETITEMRECT takes the item's handle in the rectangle it fills.
  memcpy(&local.rect, &handle, sizeof(handle));
  if (!WriteProcessMemory(process_, block_, &local, sizeof(local), nullptr)) return false;
  if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block_))) return false;
  const bool onScreen =
      SendMessageW(tree_, TVM_GETITEMRECT, TRUE,
                   reinterpret_cast<LPARAM>(block_ + offsetof(RemoteLayout, rect))) != 0;
  if (!ReadProcessMemory(process_, block_, &local, sizeof(local), nullptr)) return false;
  local.text[kTextChars - 1] = L'\0';
  item->handle = handle;
  item->text = local.text;
  item->image = local.item.iImage;
  item->selectedImage = local.item.iSelectedImage;
  item->selected = (local.item.state & TVIS_SELECTED) != 0;
  item->expanded = (local.item.state & TVIS_EXPANDED) != 0;
  item->onScreen = onScreen;
  if (onScreen) {
    item->textRect = local.rect;
    MapWindowPoints(tree_, nullptr, reinterpret_cast<POINT*>(&item->textRect), 2);
  }
  return true;
}

void RemoteTreeView::Collect(HTREEITEM first, const std::wstring& parentPath, int depth,
                             std::vector<TreeItem>* items) {
  for (HTREEITEM at = first; at != nullptr;
       at = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_NEXT,
                                                     reinterpret_cast<LPARAM>(at)))) {
    TreeItem item;
    if (!Read(at, &item)) return;
    item.depth = depth;
    item.path = parentPath.empty() ? item.text : parentPath + L"/" + item.text;
    items->push_back(item);
    const std::wstring path = item.path;
    auto child = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(at)));
    Collect(child, path, depth + 1, items);
  }
}

std::vector<TreeItem> RemoteTreeView::Items() {
  std::vector<TreeItem> items;
  if (!Usable()) return items;
  auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  Collect(root, L"", 0, &items);
  return items;
}

bool RemoteTreeView::Select(const std::wstring& path) {
  for (const TreeItem& item : Items()) {
    if (item.path != path) continue;
    return SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET,
                        reinterpret_cast<LPARAM>(item.handle)) != 0;
  }
  return false;
}

}  // namespace probe
