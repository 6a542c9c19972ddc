// The program's own cursor pictures, compiled in: small pictures with hot spots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CursorArt {
  const char* name;
  int size;      // square, in pixels
  int hotX, hotY;
};

// nullptr for names that are not ours ("arrow", "wait" and unknown names use the system's).
const CursorArt* findCursorArt(const std::string& name);
// The picture as ARGB8888 pixels, size x size, rows top to bottom.
std::vector<uint32_t> cursorPixels(const CursorArt& art);
