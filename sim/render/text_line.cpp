#include "sim/render/text_line.h"

#include "sim/render/dot_images.h"

namespace sim {
namespace render {

bool TextLine::Add(const PrintedImage& piece, int areaWidth) {
  if (!pieces_.empty() && cursor_ + piece.width > areaWidth) return false;
  pieces_.push_back({cursor_, piece});
  cursor_ += piece.width;
  return true;
}

void TextLine::MoveTo(int x) {
  cursor_ = x < 0 ? 0 : x;
  placed_ = true;
}

int TextLine::Height() const {
  int height = 0;
  for (const Piece& p : pieces_) {
    if (p.image.height > height) height = p.image.height;
  }
  return height;
}

PrintedImage TextLine::Compose(int width, int align) const {
  const int height = Height();
  PrintedImage line = BlankImage(width, height);
  int used = 0;
  for (const Piece& p : pieces_) {
    if (p.x + p.image.width > used) used = p.x + p.image.width;
  }
  int offset = 0;
  if (!placed_ && used < width) {
    if (align == 1) offset = (width - used) / 2;
    if (align == 2) offset = width - used;
  }
  for (const Piece& p : pieces_) Stamp(p.image, offset + p.x, height - p.image.height, &line);
  return line;
}

void TextLine::Clear() {
  pieces_.clear();
  cursor_ = 0;
  placed_ = false;
}

}  // namespace render
}  // namespace sim
