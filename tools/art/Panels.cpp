// Artwork of the panel bitmaps. Each panel is painted once with its buttons up and once with them down;
// the program only ever copies the button rectangles out of the pressed picture.
//
// Index: [SECTION] Shared pieces  [SECTION] Side panels  [SECTION] Edit bottom panel
//        [SECTION] Options and game bottom panels  [SECTION] Tab strips  [SECTION] Output

#include "tools/art/Panels.h"

#include "tools/art/Icons.h"
#include "tools/art/PanelLayout.h"

#include <cmath>

// [SECTION] Shared pieces

namespace {
const Colour sideBase = rgbColour(46, 96, 186);
const Colour bottomBase = rgbColour(40, 86, 170);
const Colour rimInk = rgbColour(24, 28, 44);

// Everything drawn for a button stays inside its rectangle: the program copies only that rectangle from
// the pressed picture, so anything spilling over would show the normal look beside a pressed button.
class ClipTo {
public:
  ClipTo(cairo_t* cr, PanelRect r) : context(cr) {
    cairo_save(cr);
    cairo_rectangle(cr, r.x, r.y, r.w, r.h);
    cairo_clip(cr);
  }
  ~ClipTo() { cairo_restore(context); }
  ClipTo(const ClipTo&) = delete;
  ClipTo& operator=(const ClipTo&) = delete;

private:
  cairo_t* context;
};

PanelRect buttonRect(const char* panel, const char* name) {
  const PanelPicture* layout = findPanel(panel);
  for (const PanelButton& b : layout->buttons)
    if (std::string(b.name) == name) return b.rect;
  return {};
}

// A button with an icon over a short label; labels go only on buttons tall enough for both.
void iconButton(cairo_t* cr, PanelRect r, Colour face, Look look, Icon icon, const char* label,
                Colour iconFill = palette::white) {
  ClipTo clip(cr, r);
  drawButtonFace(cr, r.x, r.y, r.w, r.h, face, look, std::min(8.0, std::min(r.w, r.h) / 3.0));
  double off = pressOffset(look);
  double cx = r.x + r.w / 2.0 + off;
  bool withLabel = label && r.h >= 40;
  double iconSize = std::min(r.w * 0.78, (withLabel ? r.h - 16 : r.h) * 0.82);
  double iconCy = r.y + (withLabel ? (r.h - 13) / 2.0 + 1 : r.h / 2.0) + off;
  drawIcon(cr, icon, cx, iconCy, iconSize, look == Look::Pressed ? shade(iconFill, 0.85) : iconFill, rimInk);
  if (withLabel)
    drawOutlinedText(cr, label, cx, r.y + r.h - 9 + off, 11, Weight::Bold, palette::white, shade(face, 0.35), 1.6);
}

void textButton(cairo_t* cr, PanelRect r, Colour face, Look look, const char* text, double size) {
  ClipTo clip(cr, r);
  drawButtonFace(cr, r.x, r.y, r.w, r.h, face, look, std::min(5.0, r.h / 3.0));
  double off = pressOffset(look);
  drawOutlinedText(cr, text, r.x + r.w / 2.0 + off, r.y + r.h / 2.0 + off, size, Weight::Bold, palette::white,
                   shade(face, 0.3), 1.4);
}

// A recessed well, as a frame around a picture area or behind a group of buttons.
void drawWell(cairo_t* cr, double x, double y, double w, double h, Colour base) {
  roundedRect(cr, x, y, w, h, 5);
  setColour(cr, shade(base, 0.55));
  cairo_fill(cr);
  roundedRect(cr, x + 1, y + 1, w - 2, h - 2, 4);
  setColour(cr, shade(base, 0.75));
  cairo_fill(cr);
  cairo_move_to(cr, x + 3, y + h - 0.5);
  cairo_line_to(cr, x + w - 3, y + h - 0.5);
  setColour(cr, shade(base, 1.5), 0.8);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

}  // namespace

void drawBrickFront(cairo_t* cr, double x, double y, double w, double h, Colour colour, int studs) {
  double studW = w / studs * 0.55, studH = h * 0.22;
  for (int i = 0; i < studs; ++i) {
    double sx = x + (i + 0.5) * w / studs - studW / 2;
    roundedRect(cr, sx, y - studH, studW, studH + 2, 1.5);
    setColour(cr, shade(colour, 1.15));
    cairo_fill_preserve(cr);
    setColour(cr, shade(colour, 0.5));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  roundedRect(cr, x, y, w, h, 2);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  Colour top = shade(colour, 1.25), bottom = shade(colour, 0.8);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  setColour(cr, shade(colour, 0.45));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void drawLogo(cairo_t* cr, double cx, double cy, double size) {
  const char* letters[] = {"T", "o", "l", "v", "a", "n", "e"};
  const Colour colours[] = {palette::red, palette::yellow, palette::green, palette::blue,
                            palette::orange, palette::red, palette::yellow};
  double total = 0;
  double widths[7];
  for (int i = 0; i < 7; ++i) {
    widths[i] = textWidth(cr, letters[i], size, Weight::Bold) * 0.92;
    total += widths[i];
  }
  double x = cx - total / 2;
  for (int i = 0; i < 7; ++i) {
    double wobble = (i % 2 == 0 ? -1 : 1) * size * 0.04;
    drawOutlinedText(cr, letters[i], x + widths[i] / 2, cy + wobble, size, Weight::Bold, colours[i],
                     rgbColour(20, 24, 40), std::max(1.2, size * 0.07));
    x += widths[i];
  }
}

// [SECTION] Side panels

namespace {
void paintSideBackdrop(cairo_t* cr) {
  drawPanelBackdrop(cr, 100, 480, sideBase);
}

void paintCast(cairo_t* cr, Look look) {
  PanelRect r = buttonRect("vedit.bmp", "cast");
  iconButton(cr, r, palette::orange, look, Icon::Star, "만든 사람", palette::yellow);
}

// The palette colours 1-6 in order: white, yellow, black, red, green, blue.
const Colour dotColours[6] = {rgbColour(250, 250, 250), rgbColour(255, 214, 0), rgbColour(40, 40, 44),
                              rgbColour(228, 30, 30), rgbColour(30, 170, 60), rgbColour(30, 90, 220)};

void paintEditSide(cairo_t* cr, Look look) {
  paintSideBackdrop(cr);
  paintCast(cr, look);
  drawOutlinedText(cr, "블록 상자", 50, 84, 12, Weight::Bold, palette::yellow, rimInk, 1.6);
  const char* captions[3] = {"벽돌", "모양 1", "모양 2"};
  for (int i = 0; i < 3; ++i) {
    PanelRect place = blockPicturePlaces[i];
    drawWell(cr, place.x - 1, place.y - 2, place.w + 10, place.h + 4, sideBase);
    fillGradient(cr, place.x, place.y, place.w, place.h, palette::cream, rgbColour(230, 236, 250));
    // The caption sits left of the page-back arrow, the brick row right of the page-forward arrow.
    drawOutlinedText(cr, captions[i], 29, place.y - 11, 11, Weight::Bold, palette::white, rimInk, 1.5);
    // The colour dots new blocks take their colour from; the pressed picture rings each dot.
    for (int k = 0; k < 6; ++k) {
      PanelRect dot = colourDotRect(i, k);
      double cx = dot.x + dot.w / 2.0, cy = dot.y + dot.h / 2.0;
      if (look == Look::Pressed) {  // a light tile behind the chosen dot
        ClipTo clip(cr, dot);
        fillGradient(cr, dot.x, dot.y + 0.5, dot.w, dot.h - 1, palette::white, palette::yellow);
      }
      drawStud(cr, cx, cy, 3.2, dotColours[k]);
    }
    const char* names[6] = {"page1back", "page1forward", "page2back", "page2forward", "page3back", "page3forward"};
    for (int k = 0; k < 2; ++k) {
      PanelRect a = buttonRect("vedit.bmp", names[i * 2 + k]);
      ClipTo clip(cr, a);
      drawButtonFace(cr, a.x, a.y, a.w, a.h, palette::yellow, look, 4);
      double off = pressOffset(look);
      drawIcon(cr, k == 0 ? Icon::ArrowLeft : Icon::ArrowRight, a.x + a.w / 2.0 + off, a.y + a.h / 2.0 + off, 11,
               palette::red, rimInk);
    }
  }
  // Below the last strip: a little stack of bricks.
  drawBrickFront(cr, 20, 458, 60, 14, palette::red, 4);
  drawBrickFront(cr, 28, 440, 44, 14, palette::blue, 3);
  drawBrickFront(cr, 36, 422, 28, 14, palette::yellow, 2);
}

void paintFileSide(cairo_t* cr) {
  paintSideBackdrop(cr);
  paintCast(cr, Look::Normal);
  drawWell(cr, 8, 96, 84, 300, sideBase);
  fillGradient(cr, 10, 98, 80, 296, rgbColour(120, 190, 255), rgbColour(210, 236, 255));
  // A tower of bricks in the window, the toy's own picture.
  const Colour colours[] = {palette::red, palette::yellow, palette::blue, palette::green, palette::orange,
                            palette::red, palette::white};
  double y = 372;
  for (int i = 0; i < 7; ++i) {
    double w = (i % 2 == 0) ? 56 : 40;
    drawBrickFront(cr, 50 - w / 2 + ((i % 3) - 1) * 4, y, w, 18, colours[i], i % 2 == 0 ? 4 : 3);
    y -= 24;
  }
  for (int i = 0; i < 5; ++i) drawStud(cr, 20 + i * 15, 392, 4, palette::green);
  cairo_save(cr);
  cairo_translate(cr, 50, 436);
  drawLogo(cr, 0, 0, 22);
  cairo_restore(cr);
  drawOutlinedText(cr, "블록 놀이", 50, 462, 12, Weight::Bold, palette::white, rimInk, 1.5);
}

// [SECTION] Edit bottom panel

const Colour toolColours[6] = {rgbColour(250, 250, 250), rgbColour(255, 214, 0), rgbColour(228, 30, 30),
                               rgbColour(30, 170, 60), rgbColour(30, 90, 220), rgbColour(40, 40, 44)};

void paintColourCell(cairo_t* cr, int index, Look look) {
  double x = colourCellX[index], y = colourCellY, w = colourCellW, h = colourCellH;
  Colour c = toolColours[index];
  ClipTo clip(cr, {colourCellX[index], colourCellY, colourCellW, colourCellH});
  drawButtonFace(cr, x, y, w, h, rgbColour(210, 214, 226), look, 5);
  double off = pressOffset(look);
  // A standing brick of the cell's colour with two studs; a chosen colour gets a tick.
  drawBrickFront(cr, x + 5 + off, y + 18 + off, w - 10, 30, c, 2);
  if (look == Look::Pressed) {
    cairo_move_to(cr, x + 9 + off, y + 33);
    cairo_line_to(cr, x + 14 + off, y + 39);
    cairo_line_to(cr, x + 22 + off, y + 27);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, index == 0 || index == 1 ? rimInk : palette::white);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  drawStud(cr, x + w / 2 + off, y + 8 + off, 3, c);
}

void paintEditBottom(cairo_t* cr, Look look) {
  drawPanelBackdrop(cr, 540, 76, bottomBase);
  drawWell(cr, 50, 4, 54, 68, bottomBase);
  drawOutlinedText(cr, "가까이", 86, 13, 9, Weight::Bold, palette::white, rimInk, 1.2);
  drawOutlinedText(cr, "멀리", 64, 52, 9, Weight::Bold, palette::white, rimInk, 1.2);
  drawWell(cr, 224, 4, 191, 65, bottomBase);
  drawWell(cr, 472, 2, 67, 71, bottomBase);
  drawOutlinedText(cr, "시점", 482, 20, 10, Weight::Bold, palette::yellow, rimInk, 1.3);
  drawOutlinedText(cr, "회전", 163, 10, 9, Weight::Bold, palette::white, rimInk, 1.2);

  iconButton(cr, buttonRect("hedit.bmp", "undo"), palette::orange, look, Icon::Undo, "취소");
  iconButton(cr, buttonRect("hedit.bmp", "zoomNearer"), palette::blue, look, Icon::Plus, nullptr);
  iconButton(cr, buttonRect("hedit.bmp", "zoomFarther"), palette::blue, look, Icon::Minus, nullptr);
  iconButton(cr, buttonRect("hedit.bmp", "orbitLeft"), palette::green, look, Icon::OrbitLeft, nullptr);
  iconButton(cr, buttonRect("hedit.bmp", "orbitRight"), palette::green, look, Icon::OrbitRight, nullptr);
  iconButton(cr, buttonRect("hedit.bmp", "rotate"), palette::yellow, look, Icon::Rotate, nullptr);
  // The movement toggle shows its mode: up = hop over obstacles, down = slide along them.
  if (look == Look::Normal)
    iconButton(cr, buttonRect("hedit.bmp", "movement"), rgbColour(140, 70, 190), look, Icon::HopOver, "넘기");
  else
    iconButton(cr, buttonRect("hedit.bmp", "movement"), rgbColour(140, 70, 190), look, Icon::Slide, "밀기");
  for (int i = 0; i < 6; ++i) paintColourCell(cr, i, look);
  iconButton(cr, buttonRect("hedit.bmp", "hammer"), rgbColour(120, 128, 146), look, Icon::Hammer, "망치");
  const char* views[4][2] = {{"view1", "1"}, {"view2", "2"}, {"view3", "3"}, {"view4", "4"}};
  for (auto& v : views) {
    PanelRect r = buttonRect("hedit.bmp", v[0]);
    textButton(cr, r, rgbColour(0, 160, 180), look, v[1], std::min(11.0, r.h - 2.0));
  }
}

// [SECTION] Options and game bottom panels

void paintOptionBottom(cairo_t* cr, Look look) {
  drawPanelBackdrop(cr, 540, 76, bottomBase);
  iconButton(cr, buttonRect("hoption.bmp", "help"), palette::blue, look, Icon::Help, "도움말");
  // Music: up = playing, down = silent.
  iconButton(cr, buttonRect("hoption.bmp", "music"), palette::green, look,
             look == Look::Normal ? Icon::Music : Icon::MusicOff, look == Look::Normal ? "음악" : "끔");
  iconButton(cr, buttonRect("hoption.bmp", "background"), palette::orange, look, Icon::Picture, "배경");
  iconButton(cr, buttonRect("hoption.bmp", "print"), rgbColour(120, 128, 146), look, Icon::Printer, "인쇄");
  iconButton(cr, buttonRect("hoption.bmp", "settings"), rgbColour(140, 70, 190), look, Icon::Gear, "설정");
  drawWell(cr, 344, 8, 186, 58, bottomBase);
  fillGradient(cr, 346, 10, 182, 54, rgbColour(255, 250, 232), rgbColour(255, 232, 170));
  drawLogo(cr, 437, 30, 24);
  drawText(cr, "옵션 · 꾸미기", 437, 54, 11, Weight::Bold, rgbColour(90, 60, 20));
}

void paintGameBottom(cairo_t* cr, Look look) {
  drawPanelBackdrop(cr, 540, 76, rgbColour(30, 120, 90));
  iconButton(cr, buttonRect("hgame.bmp", "restart"), palette::orange, look, Icon::Restart, "다시");
  iconButton(cr, buttonRect("hgame.bmp", "takeOff"), palette::red, look, Icon::Aeroplane, "출발");
  iconButton(cr, buttonRect("hgame.bmp", "pause"), palette::blue, look, Icon::Pause, "멈춤");
  // The exit button has no pressed look: it is painted up in both pictures.
  iconButton(cr, buttonRect("hgame.bmp", "exit"), rgbColour(120, 128, 146), Look::Normal, Icon::ExitDoor, "나가기");
  iconButton(cr, buttonRect("hgame.bmp", "help"), palette::blue, look, Icon::Help, "도움말");
  iconButton(cr, buttonRect("hgame.bmp", "music"), palette::green, look,
             look == Look::Normal ? Icon::Music : Icon::MusicOff, look == Look::Normal ? "음악" : "끔");
  iconButton(cr, buttonRect("hgame.bmp", "fastFlight"), palette::yellow, look, Icon::FastFlight, "빨리",
             palette::red);
  // Between the groups: a target flag and the game's title.
  Colour deep = rgbColour(30, 120, 90);
  drawWell(cr, 244, 6, 43, 64, deep);
  cairo_move_to(cr, 258, 62);
  cairo_line_to(cr, 258, 14);
  setColour(cr, rimInk);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_move_to(cr, 259, 15);
  cairo_line_to(cr, 282, 23);
  cairo_line_to(cr, 259, 31);
  cairo_close_path(cr);
  setColour(cr, palette::yellow);
  cairo_fill_preserve(cr);
  setColour(cr, rimInk);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  drawBrickFront(cr, 248, 58, 34, 9, palette::yellow, 2);
  drawWell(cr, 356, 6, 62, 64, deep);
  drawOutlinedText(cr, "비행기", 387, 26, 13, Weight::Bold, palette::yellow, rimInk, 1.6);
  drawOutlinedText(cr, "게임", 387, 48, 15, Weight::Bold, palette::white, rimInk, 1.8);
  drawOutlinedText(cr, "음악 · 속도", 472, 9, 9, Weight::Bold, palette::white, rimInk, 1.2);
}

// [SECTION] Tab strips

const Colour stripBase = rgbColour(22, 44, 96);

void paintTab(cairo_t* cr, PanelRect r, Colour face, const char* text, bool active) {
  ClipTo clip(cr, r);
  cairo_save(cr);
  double x = r.x + 0.5, y = r.y + 1.5, w = r.w - 1, h = r.h;
  cairo_move_to(cr, x, y + h);
  cairo_line_to(cr, x, y + 5);
  cairo_arc(cr, x + 5, y + 5, 5, M_PI, 1.5 * M_PI);
  cairo_arc(cr, x + w - 5, y + 5, 5, 1.5 * M_PI, 2 * M_PI);
  cairo_line_to(cr, x + w, y + h);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  Colour top = shade(face, active ? 1.35 : 1.15), bottom = shade(face, active ? 0.95 : 0.75);
  cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  setColour(cr, shade(face, 0.4));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  Colour textColour = active ? rimInk : palette::white;
  Colour rim = active ? shade(face, 1.6) : shade(face, 0.3);
  drawOutlinedText(cr, text, r.x + r.w / 2.0, r.y + 12.5, 13, Weight::Bold, textColour, rim, 1.2);
  cairo_restore(cr);
}

void paintStripBackdrop(cairo_t* cr, double w) {
  fillGradient(cr, 0, 0, w, 24, rgbColour(40, 70, 140), stripBase);
  cairo_move_to(cr, 0, 23.5);
  cairo_line_to(cr, w, 23.5);
  setColour(cr, palette::yellow);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

const char* tabNames[4][2] = {{"save", "저장"}, {"edit", "편집"}, {"game", "게임"}, {"options", "옵션"}};
const Colour tabColours[4] = {palette::green, palette::blue, palette::red, palette::orange};

void paintTabStrip(cairo_t* cr, bool highlighted) {
  paintStripBackdrop(cr, 540);
  for (int i = 0; i < 5; ++i) drawStud(cr, 12 + i * 13, 12, 4.2, tabColours[i % 4]);
  drawLogo(cr, 140, 12, 17);
  for (int i = 0; i < 4; ++i) {
    PanelRect r = buttonRect("mselect.bmp", tabNames[i][0]);
    paintTab(cr, r, highlighted ? palette::yellow : tabColours[i], tabNames[i][1], highlighted);
  }
  Look look = highlighted ? Look::Pressed : Look::Normal;
  PanelRect m = buttonRect("mselect.bmp", "minimise"), x = buttonRect("mselect.bmp", "exit");
  {
    ClipTo clip(cr, m);
    drawButtonFace(cr, m.x, m.y + 1, m.w, m.h - 1, rgbColour(120, 128, 146), look, 4);
    drawIcon(cr, Icon::Minimise, m.x + m.w / 2.0 + pressOffset(look), 12 + pressOffset(look), 14, palette::white, rimInk);
  }
  ClipTo clip(cr, x);
  drawButtonFace(cr, x.x, x.y + 1, x.w, x.h - 1, palette::red, look, 4);
  drawIcon(cr, Icon::Close, x.x + x.w / 2.0 + pressOffset(look), 12 + pressOffset(look), 13, palette::white, rimInk);
}

// The game strip replaces the tabs while a game is on: every tab shown asleep.
void paintGameStrip(cairo_t* cr) {
  paintStripBackdrop(cr, 320);
  const Colour asleep = rgbColour(110, 116, 134);
  for (int i = 0; i < 4; ++i) {
    PanelRect r = buttonRect("mselect.bmp", tabNames[i][0]);
    r.x -= 220;
    paintTab(cr, r, asleep, tabNames[i][1], false);
  }
  PanelRect m = buttonRect("mselect.bmp", "minimise"), x = buttonRect("mselect.bmp", "exit");
  drawButtonFace(cr, m.x - 220, 1, m.w, 22, asleep, Look::Normal, 4);
  drawIcon(cr, Icon::Minimise, m.x - 220 + m.w / 2.0, 12, 14, rgbColour(200, 200, 210), rimInk);
  drawButtonFace(cr, x.x - 220, 1, x.w, 22, asleep, Look::Normal, 4);
  drawIcon(cr, Icon::Close, x.x - 220 + x.w / 2.0, 12, 13, rgbColour(200, 200, 210), rimInk);
}

// [SECTION] Output

template <typename Painter>
std::string paintBmp(int w, int h, Painter painter) {
  Canvas canvas(w, h);
  painter(canvas.cr());
  return encodeBmp(canvas.picture());
}
}  // namespace

void makePanels(OutputList& out) {
  out.push_back({"bmp/vedit.bmp", paintBmp(100, 480, [](cairo_t* cr) { paintEditSide(cr, Look::Normal); })});
  out.push_back({"bmp/veditx.bmp", paintBmp(100, 480, [](cairo_t* cr) { paintEditSide(cr, Look::Pressed); })});
  out.push_back({"bmp/vfile.bmp", paintBmp(100, 480, [](cairo_t* cr) { paintFileSide(cr); })});
  out.push_back({"bmp/hedit.bmp", paintBmp(540, 76, [](cairo_t* cr) { paintEditBottom(cr, Look::Normal); })});
  out.push_back({"bmp/heditx.bmp", paintBmp(540, 76, [](cairo_t* cr) { paintEditBottom(cr, Look::Pressed); })});
  out.push_back({"bmp/hoption.bmp", paintBmp(540, 76, [](cairo_t* cr) { paintOptionBottom(cr, Look::Normal); })});
  out.push_back({"bmp/hoptionx.bmp", paintBmp(540, 76, [](cairo_t* cr) { paintOptionBottom(cr, Look::Pressed); })});
  out.push_back({"bmp/hgame.bmp", paintBmp(540, 76, [](cairo_t* cr) { paintGameBottom(cr, Look::Normal); })});
  out.push_back({"bmp/hgamex.bmp", paintBmp(540, 76, [](cairo_t* cr) { paintGameBottom(cr, Look::Pressed); })});
  out.push_back({"bmp/mselect.bmp", paintBmp(540, 24, [](cairo_t* cr) { paintTabStrip(cr, false); })});
  out.push_back({"bmp/mselectx.bmp", paintBmp(540, 24, [](cairo_t* cr) { paintTabStrip(cr, true); })});
  out.push_back({"bmp/mselect2.bmp", paintBmp(320, 24, [](cairo_t* cr) { paintGameStrip(cr); })});
}
