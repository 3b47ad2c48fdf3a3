#pragma once
// The six small pictures of the device tree, drawn at start instead of
// shipped as files. Their order is the image index of each node kind: 0 the
// root and the printer class, 1 a printer, 2 the cash-drawer class, 3 a cash
// drawer, 4 a printer's logical name, 5 a cash drawer's logical name.
#include <windows.h>

#include <commctrl.h>

namespace toolwin {

// A new image list of 16 × 16 pictures; the caller destroys it.
HIMAGELIST CreateTreeImages();

}  // namespace toolwin
