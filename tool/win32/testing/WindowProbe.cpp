// zobelso-window-probe: reads a running program's windows back for the
// window tests, the way an accessibility tool would.
//
//   zobelso-window-probe show <caption> [--wait MS]
//       The visible top-level window with exactly this caption (the one that
//       takes input when several have it), every control
//       in it (panels' controls included) and the items of its tree views,
//       one line each: a kind word, then tab-separated key=value fields.
//   zobelso-window-probe select <caption> <item path> [--wait MS]
//       Selects the tree item whose texts from the root down, joined by '/',
//       are <item path>, as the arrow keys would.
//   zobelso-window-probe paint <caption> [--wait MS]
//       Has the window and its controls paint themselves now, so that a
//       screenshot taken next shows their current state.
//   zobelso-window-probe closed <caption> [--wait MS]
//       Succeeds once no visible top-level window has this caption.
//
// Coordinates: a window's x, y, w, h are its client area on the screen and
// ox, oy, ow, oh its whole window with the frame; a control's x, y, w, h are
// its rectangle in the client area of its top-level window, and cx, cy its
// centre on the screen, where a click lands.
// Exit status: 0 done, 1 window or item not found in time, 2 bad arguments.
// Texts are printed in UTF-8, tabs and line breaks in them as \t and \n.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tool/win32/testing/ControlNames.h"
#include "tool/win32/testing/RemoteTreeView.h"

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                      nullptr);
  return out;
}

// A field value that keeps the line's shape.
std::string Field(const std::wstring& text) {
  std::string out;
  for (char c : Utf8(text)) {
    if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c != '\r') {
      out += c;
    }
  }
  return out;
}

void Print(const std::string& line) {
  const std::string withEnd = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), withEnd.data(), static_cast<DWORD>(withEnd.size()),
            &written, nullptr);
}

std::wstring WindowText(HWND window) {
  // WM_GETTEXT is carried across processes; GetWindowText would not ask a
  // control of another process for its text.
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(got));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

struct Search {
  const std::wstring* caption;
  HWND enabled;   // the first match that takes input
  HWND disabled;  // the first match that is blocked by a modal window
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (!IsWindowVisible(window) || WindowText(window) != *search->caption) return TRUE;
  HWND& slot = IsWindowEnabled(window) ? search->enabled : search->disabled;
  if (slot == nullptr) slot = window;
  return search->enabled == nullptr;
}

// A message box may carry its owner's caption; the owner is disabled while the
// box is open, so the window that takes input is the one meant.
HWND FindTopLevel(const std::wstring& caption) {
  Search search{&caption, nullptr, nullptr};
  EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
  return search.enabled != nullptr ? search.enabled : search.disabled;
}

// Polls until `done` holds or `waitMs` passed; `done`'s last answer.
template <typename Done>
bool WaitFor(Done done, DWORD waitMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= waitMs) return done();
    Sleep(50);
  }
  return true;
}

std::string Number(long long n) { return std::to_string(n); }

std::string ComboItems(HWND combo) {
  std::wstring items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    if (length == CB_ERR) break;
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]));
    item.resize(static_cast<size_t>(length));
    if (i > 0) items += L"|";
    items += item;
  }
  return Field(items);
}

struct Listing {
  HWND top;
  bool printerDialog;
  std::vector<HWND> trees;
};

BOOL CALLBACK PrintControl(HWND control, LPARAM context) {
  auto* listing = reinterpret_cast<Listing*>(context);
  const int id = GetDlgCtrlID(control);
  const std::wstring cls = ClassOf(control);
  RECT r;
  GetWindowRect(control, &r);
  const LONG cx = (r.left + r.right) / 2;
  const LONG cy = (r.top + r.bottom) / 2;
  MapWindowPoints(nullptr, listing->top, reinterpret_cast<POINT*>(&r), 2);
  std::string line = "control\tname=" + std::string(probe::ControlNameOf(id, listing->printerDialog)) +
                     "\tid=" + Number(id) + "\tclass=" + Field(cls) +
                     "\ttext=" + Field(WindowText(control)) +
                     "\tenabled=" + Number(IsWindowEnabled(control) ? 1 : 0) +
                     "\tvisible=" + Number(IsWindowVisible(control) ? 1 : 0) +
                     "\tx=" + Number(r.left) + "\ty=" + Number(r.top) +
                     "\tw=" + Number(r.right - r.left) + "\th=" + Number(r.bottom - r.top) +
                     "\tcx=" + Number(cx) + "\tcy=" + Number(cy);
  const HWND parent = GetParent(control);
  if (parent != listing->top) line += "\tparent=" + Number(GetDlgCtrlID(parent));
  if (lstrcmpiW(cls.c_str(), L"ComboBox") == 0) {
    line += "\titems=" + ComboItems(control);
    line += "\tselection=" + Number(SendMessageW(control, CB_GETCURSEL, 0, 0));
  }
  if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
    const LONG style = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    line += "\tdefault=" + Number(style == BS_DEFPUSHBUTTON ? 1 : 0);
    line += "\tchecked=" + Number(SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
  }
  if (lstrcmpiW(cls.c_str(), L"Edit") == 0) {
    line += "\treadonly=" + Number((GetWindowLongW(control, GWL_STYLE) & ES_READONLY) ? 1 : 0);
  }
  if (lstrcmpiW(cls.c_str(), WC_TREEVIEWW) == 0) listing->trees.push_back(control);
  Print(line);
  return TRUE;
}

int Show(HWND top) {
  RECT client;
  GetClientRect(top, &client);
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  RECT outer;
  GetWindowRect(top, &outer);
  const LONG ex = GetWindowLongW(top, GWL_EXSTYLE);
  const LRESULT defId = SendMessageW(top, DM_GETDEFID, 0, 0);
  Print("window\tcaption=" + Field(WindowText(top)) + "\tclass=" + Field(ClassOf(top)) +
        "\tx=" + Number(origin.x) + "\ty=" + Number(origin.y) + "\tw=" + Number(client.right) +
        "\th=" + Number(client.bottom) + "\tox=" + Number(outer.left) +
        "\toy=" + Number(outer.top) + "\tow=" + Number(outer.right - outer.left) +
        "\toh=" + Number(outer.bottom - outer.top) + "\tenabled=" + Number(IsWindowEnabled(top) ? 1 : 0) +
        "\ttopmost=" + Number((ex & WS_EX_TOPMOST) ? 1 : 0) +
        "\tdefid=" + Number(HIWORD(defId) == DC_HASDEFID ? LOWORD(defId) : 0));
  Listing listing{top, GetDlgItem(top, IDC_cmbPrinterDriver) != nullptr, {}};
  EnumChildWindows(top, PrintControl, reinterpret_cast<LPARAM>(&listing));
  for (HWND tree : listing.trees) {
    probe::RemoteTreeView view(tree);
    if (!view.Usable()) {
      Print("error\ttext=the tree view's process cannot be read");
      return 1;
    }
    for (const probe::TreeItem& item : view.Items()) {
      std::string line = "item\tpath=" + Field(item.path) + "\ttext=" + Field(item.text) +
                         "\tdepth=" + Number(item.depth) + "\timage=" + Number(item.image) +
                         "\tselectedimage=" + Number(item.selectedImage) +
                         "\tselected=" + Number(item.selected ? 1 : 0) +
                         "\texpanded=" + Number(item.expanded ? 1 : 0) +
                         "\tonscreen=" + Number(item.onScreen ? 1 : 0);
      if (item.onScreen) {
        line += "\tcx=" + Number((item.textRect.left + item.textRect.right) / 2) +
                "\tcy=" + Number((item.textRect.top + item.textRect.bottom) / 2);
      }
      Print(line);
    }
  }
  return 0;
}

int Usage() {
  std::fputs("usage: zobelso-window-probe show|select|paint|closed <caption> [item path] [--wait MS]\n",
             stderr);
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args;
  DWORD waitMs = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--wait" && i + 1 < argc) {
      waitMs = static_cast<DWORD>(_wtoi(argv[++i]));
    } else {
      args.emplace_back(argv[i]);
    }
  }
  if (args.size() < 2) return Usage();
  const std::wstring& command = args[0];
  const std::wstring& caption = args[1];

  if (command == L"closed" && args.size() == 2) {
    return WaitFor([&] { return FindTopLevel(caption) == nullptr; }, waitMs) ? 0 : 1;
  }
  HWND top = nullptr;
  if (!WaitFor([&] { return (top = FindTopLevel(caption)) != nullptr; }, waitMs)) {
    Print("error\ttext=no visible window \"" + Field(caption) + "\"");
    return 1;
  }
  if (command == L"show" && args.size() == 2) return Show(top);
  if (command == L"paint" && args.size() == 2) {
    return RedrawWindow(top, nullptr, nullptr,
                        RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW)
               ? 0
               : 1;
  }
  if (command == L"select" && args.size() == 3) {
    HWND tree = FindWindowExW(top, nullptr, WC_TREEVIEWW, nullptr);
    if (tree == nullptr) {
      Print("error\ttext=no tree view");
      return 1;
    }
    probe::RemoteTreeView view(tree);
    const bool selected =
        WaitFor([&] { return view.Select(args[2]); }, waitMs);
    if (!selected) Print("error\ttext=no tree item \"" + Field(args[2]) + "\"");
    return selected ? 0 : 1;
  }
  return Usage();
}
