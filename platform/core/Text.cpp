// Text with SDL_ttf and the Nanum Gothic font from the data folder, blended into RGB565 surfaces.
#include "platform/text.h"

#include <SDL_ttf.h>

#include <map>
#include <vector>

#include "platform/paths.h"
#include "platform/process.h"

namespace {

struct FontCache {
  std::string folder;
  bool folderChosen = false;
  bool ttfStarted = false;
  std::map<std::pair<int, int>, TTF_Font*> fonts;  // (size, weight) -> font, nullptr when it failed
};

FontCache& cache() {
  static FontCache instance;
  return instance;
}

std::string fontFolder() {
  FontCache& c = cache();
  if (!c.folderChosen) {
    c.folderChosen = true;
    std::string root = findDataRoot();
    if (!root.empty()) c.folder = root + "font";
  }
  return c.folder;
}

TTF_Font* font(const TextStyle& style) {
  FontCache& c = cache();
  if (!c.ttfStarted) {
    if (TTF_Init() != 0) return nullptr;
    c.ttfStarted = true;
  }
  int size = std::max(6, std::min(96, style.size));
  auto key = std::make_pair(size, static_cast<int>(style.weight));
  auto found = c.fonts.find(key);
  if (found != c.fonts.end()) return found->second;
  std::string file = environmentValue("TOLVANE_FONT");
  if (file.empty())
    file = joinPath(fontFolder(), style.weight == TextWeight::Bold ? "NanumGothicBold.ttf" : "NanumGothic.ttf");
  TTF_Font* opened = TTF_OpenFont(resolvePath(file).c_str(), size);
  c.fonts[key] = opened;
  return opened;
}

}  // namespace

void closeFonts() {
  FontCache& c = cache();
  for (auto& [key, f] : c.fonts)
    if (f) TTF_CloseFont(f);
  c.fonts.clear();
  if (c.ttfStarted) TTF_Quit();
  c.ttfStarted = false;
}

std::string fontFilePath() {
  const std::string named = environmentValue("TOLVANE_FONT");
  return named.empty() ? joinPath(fontFolder(), "NanumGothic.ttf") : named;
}

bool fontLoads() { return font(TextStyle{}) != nullptr; }

void setFontFolder(const std::string& folder) {
  FontCache& c = cache();
  closeFonts();
  c.folder = folder;
  c.folderChosen = true;
}

Point measureText(const std::string& utf8, const TextStyle& style) {
  TTF_Font* f = font(style);
  if (!f || utf8.empty()) return Point{0, f ? TTF_FontHeight(f) : 0};
  int w = 0, h = 0;
  TTF_SizeUTF8(f, utf8.c_str(), &w, &h);
  return Point{w, h};
}

int drawText(Surface& surface, int x, int y, const std::string& utf8, const TextStyle& style, const Rect& clip) {
  TTF_Font* f = font(style);
  if (!f || utf8.empty()) return 0;
  SDL_Color colour{static_cast<Uint8>(red565(style.colour)), static_cast<Uint8>(green565(style.colour)),
                   static_cast<Uint8>(blue565(style.colour)), 255};
  SDL_Surface* rendered = TTF_RenderUTF8_Blended(f, utf8.c_str(), colour);
  if (!rendered) return 0;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (!argb) return 0;
  Rect area = intersectRect(intersectRect(Rect{x, y, x + argb->w, y + argb->h}, surface.bounds()), clip);
  int r = red565(style.colour), g = green565(style.colour), b = blue565(style.colour);
  SDL_LockSurface(argb);
  for (int py = area.top; py < area.bottom; ++py) {
    const uint32_t* src = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                           static_cast<size_t>(py - y) * argb->pitch);
    uint16_t* dst = surface.row(py);
    for (int px = area.left; px < area.right; ++px) {
      int alpha = static_cast<int>(src[px - x] >> 24);
      if (alpha == 0) continue;
      uint16_t under = dst[px];
      int nr = (r * alpha + red565(under) * (255 - alpha)) / 255;
      int ng = (g * alpha + green565(under) * (255 - alpha)) / 255;
      int nb = (b * alpha + blue565(under) * (255 - alpha)) / 255;
      dst[px] = rgb565(nr, ng, nb);
    }
  }
  SDL_UnlockSurface(argb);
  int width = argb->w;
  SDL_FreeSurface(argb);
  return width;
}

std::string wrapText(const std::string& utf8, const TextStyle& style, int maxWidth) {
  std::string result;
  size_t start = 0;
  while (start <= utf8.size()) {
    size_t end = utf8.find('\n', start);
    if (end == std::string::npos) end = utf8.size();
    std::string paragraph = utf8.substr(start, end - start);
    // Break at spaces where possible, otherwise between characters (Korean text often has long runs).
    std::string line;
    size_t i = 0;
    while (i < paragraph.size()) {
      size_t next = i + 1;
      while (next < paragraph.size() && (static_cast<unsigned char>(paragraph[next]) & 0xC0) == 0x80) ++next;
      std::string candidate = line + paragraph.substr(i, next - i);
      if (!line.empty() && measureText(candidate, style).x > maxWidth) {
        size_t space = line.rfind(' ');
        if (space != std::string::npos && space > 0) {
          result += line.substr(0, space) + "\n";
          line = line.substr(space + 1) + paragraph.substr(i, next - i);
        } else {
          result += line + "\n";
          line = paragraph.substr(i, next - i);
        }
      } else {
        line = candidate;
      }
      i = next;
    }
    result += line;
    if (end >= utf8.size()) break;
    result += "\n";
    start = end + 1;
  }
  return result;
}
