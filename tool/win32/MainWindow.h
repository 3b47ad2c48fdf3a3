#pragma once
// TfrmDevice: the device tree window. A thin shell over the window logic: it
// turns clicks into the logic's events, opens the dialog an event asks for,
// and copies the logic's state onto the controls afterwards.
#include <windows.h>

#include <commctrl.h>

#include "tool/model/HealthCheck.h"
#include "tool/model/MainWindowModel.h"
#include "tool/win32/CashDrawerDialog.h"
#include "tool/win32/CodepageDialog.h"
#include "tool/win32/LogicNameDialog.h"
#include "tool/win32/PrinterDialog.h"

namespace toolwin {

class MainWindow {
 public:
  MainWindow(tool::MainWindowModel& model, PrinterDialog& printerDialog, LogicNameDialog& logicNameDialog,
             CashDrawerDialog& cashDrawerDialog, CodepageDialog& codepageDialog,
             tool::HealthCheck& healthCheck);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Shows the window until the user quits.
  void Run(HINSTANCE instance);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void OnInit();
  void OnCommand(int id);
  bool OnNotify(const NMHDR& header);
  void OpenDialog(tool::DialogRequest request);
  // Copies the logic's state onto the controls.
  void Apply();
  void FillTree();
  void InsertChildren(HTREEITEM parent, const tool::TreeNode& node);
  tool::NodePath PathOf(HTREEITEM item) const;
  HTREEITEM ItemAt(const tool::NodePath& path) const;
  // Selects without counting as a click.
  void SelectQuietly(HTREEITEM item);

  tool::MainWindowModel& model_;
  PrinterDialog& printerDialog_;
  LogicNameDialog& logicNameDialog_;
  CashDrawerDialog& cashDrawerDialog_;
  CodepageDialog& codepageDialog_;
  tool::HealthCheck& healthCheck_;
  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  HWND tree_ = nullptr;
  HIMAGELIST images_ = nullptr;
  unsigned shownGeneration_ = 0;
  bool treeShown_ = false;
  // Set while the window itself changes the tree's selection.
  bool selectingQuietly_ = false;
};

}  // namespace toolwin
