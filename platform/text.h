// Text drawing with the program's Korean font (Nanum Gothic, shipped in the data folder).
#pragma once

#include <string>

#include "platform/surface.h"

enum class TextWeight { Regular, Bold };

struct TextStyle {
  int size = 12;                          // pixel height of the font
  TextWeight weight = TextWeight::Regular;
  uint16_t colour = 0;                    // RGB565
};

// Draw UTF-8 text with its top-left corner at (x, y), clipped to the surface and to clip.
// Returns the width drawn in pixels; 0 when the font is missing (text is then simply not drawn).
int drawText(Surface& surface, int x, int y, const std::string& utf8, const TextStyle& style, const Rect& clip);
// Width and height that drawText would cover.
Point measureText(const std::string& utf8, const TextStyle& style);
// Split text into lines at '\n' and where a line would be wider than maxWidth (between words when it can).
std::string wrapText(const std::string& utf8, const TextStyle& style, int maxWidth);
// Where the font file lives: "<DataRoot>/font/NanumGothic.ttf" unless TOLVANE_FONT names one.
void setFontFolder(const std::string& folder);
// The regular font's file, and whether it opens.
std::string fontFilePath();
bool fontLoads();
