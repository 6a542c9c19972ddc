// Where every live button of the panel bitmaps sits (x, y, width, height in panel pixels). The program's
// panel code copies exactly these rectangles from the normal and pressed bitmaps.
#pragma once

#include <string>
#include <vector>

struct PanelRect {
  int x = 0, y = 0, w = 0, h = 0;
};

struct PanelButton {
  const char* name;
  PanelRect rect;
};

struct PanelPicture {
  const char* normalFile;   // under bmp/
  const char* pressedFile;  // nullptr when the panel has no pressed bitmap
  int width, height;
  std::vector<PanelButton> buttons;
};

// Every panel bitmap of the bmp folder with its buttons.
const std::vector<PanelPicture>& panelPictures();
const PanelPicture* findPanel(const std::string& normalFile);

// The three block-picture places of the side panel and the page arrows beside them.
constexpr PanelRect blockPicturePlaces[3] = {{2, 113, 86, 71}, {2, 221, 86, 71}, {2, 329, 86, 71}};
// The colour dots right of each page-forward arrow: row 0-2, colour 1-6 at k = 0-5.
constexpr PanelRect colourDotRect(int row, int k) {
  return PanelRect{41 + 9 * k, blockPicturePlaces[row].y + blockPicturePlaces[row].h + 4, 9, 12};
}
// The edit panel's six colour cells: white, yellow, red, green, blue, black.
constexpr int colourCellX[6] = {227, 258, 289, 320, 351, 382};
constexpr int colourCellY = 8, colourCellW = 30, colourCellH = 57;
