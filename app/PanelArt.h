// The panel pictures and the painters that put them on the side panel, the bottom panel and the tab strip.
#pragma once

#include <array>
#include <string>

#include "platform/surface.h"
#include "platform/window.h"

// How many pages each block picture leafs through.
constexpr std::array<int, 3> kBlockPageCount{22, 37, 39};

struct PanelArt {
  Surface vedit, veditx, vfile, hedit, heditx, hoption, hoptionx, hgame, hgamex, mselect, mselectx, mselect2;
  std::array<Surface, 3> blocks;        // the block-picture strips, one band of 86 x 71 per block
  std::array<int, 3> blockPage{1, 1, 1};  // the page each block picture shows
};

struct Program;

// The first set loads before the renderer starts; the second after the windows are shown, and paints the
// edit screen's panels and the tab strip.
void loadPanelBitmapsFirst(Program& p);
void loadPanelBitmapsSecond(Program& p);
// Read a .bmp file into a picture; a missing file shows "BMP file Does not exist" with its path, owned by
// owner. False (and an empty picture) when it cannot be read.
bool loadPicture(const std::string& path, HWindow owner, Surface& picture);
// Copy a rectangle of a picture one to one onto the window at the same place.
void drawPicture(HWindow window, const Surface& picture, const Rect& rect);
// The side panel's block picture n (1-3) at its current page.
void paintBlockPicture(Program& p, int n);
// The edit screen's side panel (with the three block pictures) and bottom panel.
void PaintEditPanels(Program& p);
// The options screen's panels (also the game-selection screen's) and the game screen's.
void PaintOptionPanels(Program& p);
void PaintGameSelectPanels(Program& p);
void PaintGamePanels(Program& p);
// The left 370 x 76 pixels of the game screen's bottom panel, where its buttons sit.
void paintGameLeft(Program& p);
// The tab strip's base picture, the game strip over its right part, and one tab highlighted.
enum class Tab { Edit, Options, Game, Save };
void paintTabBase(Program& p);
void paintGameStrip(Program& p);
void paintTabHighlight(Program& p, Tab tab);
