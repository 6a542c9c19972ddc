// The side panel's block-picture strips: one 86 x 71 band per palette entry, each a rendering of that
// very brick, slope or shape, centred on the strip's cream background.
#pragma once

#include <vector>

#include "tools/art/Output.h"
#include "tools/art/Picture.h"

constexpr int stripBandWidth = 86, stripBandHeight = 71;

// What each band shows: a brick or slope (kind 0 or 2) with its studs, or a catalogue kind.
struct PaletteEntry {
  int kind = 0;
  int studsX = 0, studsZ = 0;
};
std::vector<PaletteEntry> brickPalette();          // 22 bands
std::vector<PaletteEntry> shapePalette(int page);  // page 1: 37 bands, page 2: 39 bands

// One band: the block drawn by the 3D device, fitted and centred. The catalogue must be loaded.
Picture paintPaletteBand(const PaletteEntry& entry, int index);
// Writes bmp/blocks01.bmp, blocks02.bmp and blocks03.bmp.
void makeBlockStrips(OutputList& out);
