// The two help pages the help buttons open (help.html for building, GameHelp.html for the game) and
// the pictures they show, in the help folder.
#pragma once

#include "tools/art/Output.h"
#include "tools/art/Shapes.h"

// Needs the panel bitmaps already in out (the pages show parts of them); the game page lists the shipped
// levels by their titles with their list pictures (save/gimgNNN.bmp).
void makeHelp(OutputList& out, const std::vector<ShapeDesign>& shapes, const std::vector<std::string>& levelTitles);
