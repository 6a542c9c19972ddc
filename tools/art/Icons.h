// The button symbols of the panels, drawn as vector shapes centred in a box of a given size.
#pragma once

#include "tools/art/Paint.h"

enum class Icon {
  Undo, Plus, Minus, OrbitLeft, OrbitRight, Rotate, HopOver, Slide, Hammer, Help, Music, MusicOff, Picture,
  Printer, Gear, Camera, Restart, Aeroplane, Pause, ExitDoor, FastFlight, Minimise, Close, ArrowLeft, ArrowRight,
  Star, PaintPot, Play
};

// Draws the icon so that it fits a size x size square centred on (cx, cy).
void drawIcon(cairo_t* cr, Icon icon, double cx, double cy, double size, Colour fill, Colour rim);
