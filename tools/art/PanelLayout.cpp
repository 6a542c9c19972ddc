// The button rectangles of every panel bitmap.
#include "tools/art/PanelLayout.h"

const std::vector<PanelPicture>& panelPictures() {
  static const std::vector<PanelPicture> pictures = {
      {"vedit.bmp", "veditx.bmp", 100, 480,
       {{"cast", {18, 20, 58, 52}},
        {"page1back", {59, 95, 32, 13}},
        {"page1forward", {2, 187, 32, 13}},
        {"page2back", {59, 203, 32, 13}},
        {"page2forward", {2, 295, 32, 13}},
        {"page3back", {59, 311, 32, 13}},
        {"page3forward", {2, 403, 32, 13}},
        {"dots1", {41, 188, 54, 12}},
        {"dots2", {41, 296, 54, 12}},
        {"dots3", {41, 404, 54, 12}}}},
      {"vfile.bmp", nullptr, 100, 480, {{"cast", {18, 20, 58, 52}}}},
      {"hedit.bmp", "heditx.bmp", 540, 76,
       {{"undo", {0, 11, 49, 57}},
        {"zoomNearer", {55, 20, 13, 18}},
        {"zoomFarther", {77, 45, 12, 10}},
        {"orbitLeft", {108, 35, 26, 36}},
        {"orbitRight", {134, 35, 28, 36}},
        {"rotate", {113, 5, 41, 29}},
        {"movement", {169, 18, 54, 45}},
        {"colours", {227, 8, 185, 57}},
        {"hammer", {422, 9, 49, 59}},
        {"view3", {474, 36, 20, 17}},
        {"view2", {497, 6, 16, 14}},
        {"view1", {491, 53, 29, 17}},
        {"view4", {516, 41, 21, 12}},
        {"hiddenBlue", {538, 0, 1, 1}}}},
      {"hoption.bmp", "hoptionx.bmp", 540, 76,
       {{"help", {17, 8, 49, 52}},
        {"music", {72, 7, 46, 51}},
        {"background", {127, 8, 54, 49}},
        {"print", {195, 9, 64, 49}},
        {"settings", {264, 9, 66, 54}},
        {"snapshot", {3, 7, 47, 53}}}},
      {"hgame.bmp", "hgamex.bmp", 540, 76,
       {{"restart", {8, 9, 50, 62}},
        {"takeOff", {62, 10, 69, 59}},
        {"pause", {136, 9, 41, 61}},
        {"exit", {190, 7, 50, 63}},
        {"help", {291, 5, 60, 60}},
        {"music", {422, 19, 49, 47}},
        {"fastFlight", {477, 19, 46, 47}}}},
      {"mselect.bmp", "mselectx.bmp", 540, 24,
       {{"save", {226, 0, 64, 23}},
        {"edit", {292, 0, 62, 23}},
        {"game", {356, 0, 64, 23}},
        {"options", {422, 0, 63, 23}},
        {"minimise", {486, 0, 22, 23}},
        {"exit", {510, 0, 21, 23}}}},
      {"mselect2.bmp", nullptr, 320, 24, {}},
  };
  return pictures;
}

const PanelPicture* findPanel(const std::string& normalFile) {
  for (const PanelPicture& layout : panelPictures())
    if (normalFile == layout.normalFile) return &layout;
  return nullptr;
}
