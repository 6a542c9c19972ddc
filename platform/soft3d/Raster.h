// The software rasteriser's inner interface: what one draw of transformed vertices needs (target, depth,
// scissor, states), the polygon clipper and the triangle and line fillers.
#pragma once

#include <cstdint>

#include "platform/device3d.h"

namespace soft3d {

// Clip bits beyond the visible volume's: the guard band outside which triangles are clipped rather than
// scissored. Inside it, fixed-point screen coordinates stay well within range.
enum : uint32_t {
  kGuardLeft = 0x1000, kGuardRight = 0x2000, kGuardTop = 0x4000, kGuardBottom = 0x8000,
  kOutsideBits = D3DCLIP_LEFT | D3DCLIP_RIGHT | D3DCLIP_TOP | D3DCLIP_BOTTOM | D3DCLIP_FRONT | D3DCLIP_BACK,
  kMustClipBits = D3DCLIP_FRONT | D3DCLIP_BACK | kGuardLeft | kGuardRight | kGuardTop | kGuardBottom,
};
constexpr float kGuardBand = 8.0f;
constexpr int kBandRows = 4;

inline uint32_t packColour(int a, int r, int g, int b) {
  return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
         static_cast<uint32_t>(b);
}
inline int channel(uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 255); }

struct RasterContext {
  uint16_t* colour = nullptr;  // target pixels, colourPitch pixels a row
  int colourPitch = 0;
  float* depth = nullptr;      // null when there is no depth buffer
  int depthPitch = 0;
  Rect clip;                   // scissor: the viewport within the target
  bool zTest = true, zWrite = true;
  uint32_t zFunc = D3DCMP_LESSEQUAL;
  bool flat = false;
  const TextureImage* texture = nullptr;
  bool decal = false;
  bool specular = true;
  uint32_t cull = D3DCULL_CCW;
  uint32_t fill = D3DFILL_SOLID;
  // Viewport mapping for vertices made by clipping.
  float centreX = 0, centreY = 0, scaleX = 1, scaleY = 1;
  float guardX = 1, guardY = 1;  // guard band in clip units (x/w, y/w)
  Rect extent{2048, 2048, 0, 0};
  bool drewAny = false;
  // Picking instead of drawing: coverage inside pickRect is recorded, nothing is written.
  bool picking = false;
  Rect pickRect;
  bool hit = false;
  float hitDepth = 0;
  // Drawing shared between threads: rows go to bands in groups of kBandRows, group g to band
  // g % bandCount, and this context fills only its band's rows. Extents still cover whole triangles.
  int bandCount = 1, band = 0;
  // Triangles spanning at most this many pixel columns are filled from their edge functions rather than
  // by walking their edges (the same pixels either way).
  int narrowColumns = 8;
  bool ownsRow(int row) const { return bandCount == 1 || (row / kBandRows) % bandCount == band; }
  bool ownsAnyRow(int top, int bottom) const;
};

// Draw one triangle of transformed vertices with the context's states: trivial rejection, clipping when
// a vertex lies beyond the near or far plane or the guard band, culling, then the solid or wire fill.
void drawTriangle(RasterContext& context, const TLVertex& a, const TLVertex& b, const TLVertex& c, uint16_t flags);

// Fill a triangle given in screen space; orientation decides culling. Shared by both paths.
void fillTriangle(RasterContext& context, const TLVertex& a, const TLVertex& b, const TLVertex& c);
void drawLine(RasterContext& context, const TLVertex& a, const TLVertex& b);

// Screen position of a clip-space vertex.
void projectVertex(const RasterContext& context, TLVertex& v);

}  // namespace soft3d
