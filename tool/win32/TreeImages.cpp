#include "tool/win32/TreeImages.h"

namespace toolwin {
namespace {

constexpr int kSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  RECT r{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// A filled shape with a dark outline.
void Outlined(HDC dc, const POINT* points, int count, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(48, 48, 48));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Polygon(dc, points, count);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void Box(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  const POINT p[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
  Outlined(dc, p, 4, colour);
}

void Folder(HDC dc, COLORREF colour) {
  const POINT p[] = {{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}};
  Outlined(dc, p, 6, colour);
}

void Printer(HDC dc) {
  Box(dc, 4, 1, 11, 7, RGB(255, 255, 255));   // paper
  Box(dc, 1, 6, 14, 12, RGB(150, 150, 160));  // body
  Fill(dc, 4, 9, 11, 10, RGB(40, 40, 40));    // paper exit
  Fill(dc, 11, 7, 13, 8, RGB(60, 200, 60));   // power light
}

void Drawer(HDC dc) {
  Box(dc, 1, 4, 14, 13, RGB(176, 120, 64));  // till
  Fill(dc, 3, 8, 13, 9, RGB(90, 60, 30));    // drawer seam
  Fill(dc, 6, 10, 10, 11, RGB(230, 230, 230));  // handle
}

void Tag(HDC dc, COLORREF colour) {
  const POINT p[] = {{1, 8}, {5, 3}, {14, 3}, {14, 13}, {5, 13}};
  Outlined(dc, p, 5, colour);
  Fill(dc, 5, 7, 7, 9, RGB(255, 255, 255));  // the tag's hole
}

}  // namespace

HIMAGELIST CreateTreeImages() {
  HIMAGELIST images = ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, 6, 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  for (int index = 0; index < 6; ++index) {
    HBITMAP picture = CreateCompatibleBitmap(screen, kSize, kSize);
    HGDIOBJ old = SelectObject(dc, picture);
    Fill(dc, 0, 0, kSize, kSize, kTransparent);
    switch (index) {
      case 0: Folder(dc, RGB(96, 144, 224)); break;
      case 1: Printer(dc); break;
      case 2: Folder(dc, RGB(240, 200, 80)); break;
      case 3: Drawer(dc); break;
      case 4: Tag(dc, RGB(96, 192, 96)); break;
      default: Tag(dc, RGB(240, 150, 60)); break;
    }
    SelectObject(dc, old);
    ImageList_AddMasked(images, picture, kTransparent);
    DeleteObject(picture);
  }
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return images;
}

}  // namespace toolwin
