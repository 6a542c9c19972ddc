// The file dialog's list drawn as pictures: each row a sign and a name, the sunken white well behind the
// rows and the scroll bar's track; and texts shortened to fit a width.
#include "app/FileDialog.h"

#include "platform/text.h"

namespace {

constexpr uint16_t kWhite = rgb565(255, 255, 255), kFace = rgb565(212, 208, 200), kShadow = rgb565(128, 128, 128),
                   kDark = rgb565(64, 64, 64), kBlack = rgb565(0, 0, 0), kSelection = rgb565(10, 36, 106),
                   kTrack = rgb565(236, 234, 230), kFolderBody = rgb565(250, 214, 100),
                   kFolderTab = rgb565(226, 178, 60), kFolderEdge = rgb565(150, 110, 30),
                   kPageEdge = rgb565(96, 96, 96), kPageLine = rgb565(150, 160, 190);
constexpr int kRowFont = 12, kTextLeft = 24;

void outline(Surface& s, const Rect& r, uint16_t colour) {
  fillSurfaceRect(s, Rect{r.left, r.top, r.right, r.top + 1}, colour);
  fillSurfaceRect(s, Rect{r.left, r.bottom - 1, r.right, r.bottom}, colour);
  fillSurfaceRect(s, Rect{r.left, r.top, r.left + 1, r.bottom}, colour);
  fillSurfaceRect(s, Rect{r.right - 1, r.top, r.right, r.bottom}, colour);
}

// Light on the top and left edges, dark on the bottom and right (or the other way round when sunken).
void bevel(Surface& s, const Rect& r, uint16_t topLeft, uint16_t bottomRight) {
  fillSurfaceRect(s, Rect{r.left, r.top, r.right, r.top + 1}, topLeft);
  fillSurfaceRect(s, Rect{r.left, r.top, r.left + 1, r.bottom}, topLeft);
  fillSurfaceRect(s, Rect{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  fillSurfaceRect(s, Rect{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void drawFolderSign(Surface& s, int x, int y) {
  fillSurfaceRect(s, Rect{x + 1, y, x + 7, y + 3}, kFolderTab);
  fillSurfaceRect(s, Rect{x, y + 2, x + 16, y + 12}, kFolderBody);
  outline(s, Rect{x, y + 2, x + 16, y + 12}, kFolderEdge);
  fillSurfaceRect(s, Rect{x + 1, y, x + 7, y + 1}, kFolderEdge);
}

void drawPageSign(Surface& s, int x, int y) {
  fillSurfaceRect(s, Rect{x + 2, y, x + 13, y + 14}, kWhite);
  outline(s, Rect{x + 2, y, x + 13, y + 14}, kPageEdge);
  for (int line = 0; line < 3; ++line)
    fillSurfaceRect(s, Rect{x + 4, y + 4 + line * 3, x + 11, y + 5 + line * 3}, kPageLine);
}

size_t previousCharacterStart(const std::string& text, size_t at) {
  while (at > 0 && (static_cast<unsigned char>(text[--at]) & 0xC0) == 0x80) {}
  return at;
}

size_t nextCharacterStart(const std::string& text, size_t at) {
  while (++at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {}
  return std::min(at, text.size());
}

}  // namespace

std::string fitText(const std::string& text, int fontSize, int width, TextCut cut) {
  const TextStyle style{fontSize, TextWeight::Regular, kBlack};
  if (measureText(text, style).x <= width) return text;
  const std::string dots = "…";
  if (cut == TextCut::End) {
    std::string kept = text;
    while (!kept.empty() && measureText(kept + dots, style).x > width)
      kept.resize(previousCharacterStart(kept, kept.size()));
    return kept + dots;
  }
  size_t from = 0;
  while (from < text.size() && measureText(dots + text.substr(from), style).x > width)
    from = nextCharacterStart(text, from);
  return dots + text.substr(from);
}

Surface folderEntryPicture(const FolderEntry& entry, bool selected, int width, int height) {
  Surface s(width, height, kWhite);
  const TextStyle style{kRowFont, TextWeight::Regular, selected ? kWhite : kBlack};
  const std::string name = fitText(entry.name, kRowFont, width - kTextLeft - 6, TextCut::End);
  const int textWidth = measureText(name, style).x;
  if (selected) fillSurfaceRect(s, Rect{kTextLeft - 2, 1, kTextLeft + textWidth + 3, height - 1}, kSelection);
  const int signTop = (height - 14) / 2;
  if (entry.folder)
    drawFolderSign(s, 4, signTop + 1);
  else
    drawPageSign(s, 4, signTop);
  const int textHeight = measureText("가", style).y;
  drawText(s, kTextLeft, (height - textHeight) / 2 - 1, name, style, s.bounds());
  return s;
}

Surface listWellPicture(int width, int height) {
  Surface s(width, height, kWhite);
  bevel(s, s.bounds(), kShadow, kWhite);
  bevel(s, Rect{1, 1, width - 1, height - 1}, kDark, kFace);
  return s;
}

Surface scrollTrackPicture(int width, int height, int top, int rows, int total) {
  Surface s(width, height, kTrack);
  if (total <= rows || height < 8) return s;
  const int thumb = std::max(10, height * rows / total);
  const int at = (height - thumb) * top / std::max(1, total - rows);
  const Rect r{0, at, width, at + thumb};
  fillSurfaceRect(s, r, kFace);
  bevel(s, r, kFace, kDark);
  bevel(s, Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kWhite, kShadow);
  return s;
}
