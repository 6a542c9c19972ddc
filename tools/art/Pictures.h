// The single pictures of the data folder: start picture, credits picture, dialog banner, empty-slot
// card, explosion sprite, sky and background pictures with their thumbnails, and new-plate pictures.
#pragma once

#include "tools/art/Output.h"
#include "tools/art/Shapes.h"

constexpr int backgroundCount = 20;
constexpr int thumbnailWidth = 98, thumbnailHeight = 69;
// The plate sizes (studs across x, studs across z) of the 20 new-scene choices.
constexpr int plateSizes[20][2] = {{10, 10}, {15, 15}, {10, 20}, {15, 30}, {20, 30}, {20, 40}, {30, 40},
                                   {30, 60}, {30, 90}, {40, 60}, {60, 90}, {40, 20}, {50, 30}, {60, 40},
                                   {70, 40}, {80, 50}, {90, 60}, {90, 70}, {90, 80}, {90, 90}};

// The start picture shows some of the shapes, so it takes the designs.
void makePictures(OutputList& out, const std::vector<ShapeDesign>& shapes);
void makeBackgrounds(OutputList& out);
