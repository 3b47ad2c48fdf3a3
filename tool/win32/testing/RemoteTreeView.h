#pragma once
// A tree view that lives in another process. Its items can only be read
// through structures in that process's memory (the system does not carry
// TVM_GETITEM's buffers across processes), so every query goes through a
// small block allocated there.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace probe {

struct TreeItem {
  HTREEITEM handle = nullptr;
  std::wstring text;
  std::wstring path;  // texts from the root down, joined by '/'
  int depth = 0;      // 0 for a root item
  int image = -1;
  int selectedImage = -1;
  bool selected = false;
  bool expanded = false;
  bool onScreen = false;  // whether `textRect` is valid
  RECT textRect{};        // the item's text, in screen coordinates
};

class RemoteTreeView {
 public:
  explicit RemoteTreeView(HWND tree);
  ~RemoteTreeView();
  RemoteTreeView(const RemoteTreeView&) = delete;
  RemoteTreeView& operator=(const RemoteTreeView&) = delete;

  // False when the other process's memory cannot be reached.
  bool Usable() const { return block_ != nullptr; }
  // Every item, depth first in display order.
  std::vector<TreeItem> Items();
  // Makes the item with this path the selected one, as the arrow keys do;
  // false when no item has that path.
  bool Select(const std::wstring& path);

 private:
  void Collect(HTREEITEM first, const std::wstring& parentPath, int depth,
               std::vector<TreeItem>* items);
  bool Read(HTREEITEM handle, TreeItem* item);

  HWND tree_;
  HANDLE process_ = nullptr;
  char* block_ = nullptr;  // address in the other process
};

}  // namespace probe
