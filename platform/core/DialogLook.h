// The look that message boxes and dialogs share: the grey face, bevels, the caption bar, push buttons,
// the etched frame of a group box and the dotted focus rectangle.
#pragma once

#include <string>

#include "platform/surface.h"
#include "platform/text.h"

constexpr int kCaptionHeight = 22;

constexpr uint16_t kFace = rgb565(212, 208, 200), kLight = rgb565(255, 255, 255), kShadow = rgb565(128, 128, 128),
                   kDark = rgb565(64, 64, 64), kCaptionLeft = rgb565(10, 36, 106),
                   kCaptionRight = rgb565(166, 202, 240), kTextColour = rgb565(0, 0, 0);

enum class Bevel { Raised, Sunken };

struct ButtonLook {
  bool sunken = false;   // held down with the pointer inside
  bool framed = false;   // the button Enter presses: a black frame around it
  bool focused = false;  // a dotted rectangle inside it
  bool enabled = true;   // grey, engraved text when not
};

void paintBevel(Surface& s, const Rect& r, Bevel bevel);
// The whole window: the face colour inside a raised bevel.
void paintWindowFace(Surface& s);
// The caption bar across the top of the window: a dark to light blue gradient and the title in bold white.
void paintCaptionBar(Surface& s, const std::string& title);
// A one-pixel outline just inside r.
void paintOutline(Surface& s, const Rect& r, uint16_t colour);
// Every other pixel of an outline just inside r, in black.
void paintFocusRect(Surface& s, const Rect& r);
// A groove (a shadow line above a light one) just inside r.
void paintEtchedFrame(Surface& s, const Rect& r);
void paintPushButton(Surface& s, const Rect& r, const std::string& label, const TextStyle& style, ButtonLook look);
// Text as it is drawn on a disabled control: grey with a light shadow, as if engraved.
void drawGreyText(Surface& s, int x, int y, const std::string& utf8, const TextStyle& style, const Rect& clip);
// The distance between the lines of wrapped body text.
int bodyLineHeight(const TextStyle& style);
