// The software rasteriser's inner interface: what one draw of transformed vertices needs (target, depth,
// scissor, states), the polygon clipper and the triangle and line fillers.
#pragma once

#include <cstddef>
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

inline uint32_t packColour(int a, int r, int g, int b) {
  return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
         static_cast<uint32_t>(b);
}
inline int channel(uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 255); }

// Without a colour target (and not picking) a context only measures: the extent grows as drawing would
// grow it, and nothing is written.
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
  // Triangles spanning at most this many pixel columns are filled from their edge functions rather than
  // by walking their edges (the same pixels either way).
  int narrowColumns = 8;
};

// Draw one triangle of transformed vertices with the context's states: trivial rejection, clipping when
// a vertex lies beyond the near or far plane or the guard band, culling, then the solid or wire fill.
void drawTriangle(RasterContext& context, const TLVertex& a, const TLVertex& b, const TLVertex& c, uint16_t flags);

// What filling an untextured triangle needs of a vertex: its screen position and depth, and its colour
// with the highlight already added.
struct ScreenVertex {
  float sx, sy, sz;
  uint32_t colour;
};

// Fill a triangle given in screen space; orientation decides culling. Shared by both paths. Screen
// vertices only for contexts without a texture.
void fillTriangle(RasterContext& context, const TLVertex& a, const TLVertex& b, const TLVertex& c);
void fillTriangle(RasterContext& context, const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
// A triangle of a list that draws something, and the rows it may draw on.
struct MeasuredTriangle {
  uint32_t index;  // in the list
  int top, bottom;
  bool full;  // needs the clipper or draws wires, so full vertices
};

// Measures a list of triangles as drawListedTriangle would draw them with the context, writing nothing:
// grows context.extent exactly as drawing would, and writes the triangles that would draw, in order,
// to `out` (room for `count`). Returns how many.
size_t measureTriangles(RasterContext& context, const TLVertex* vertices, size_t vertexCount, const Triangle3D* triangles,
                        size_t count, MeasuredTriangle* out);

// The screen vertices of `count` full ones, their colours as the context's filler would use them.
void toScreenVertices(const RasterContext& context, const TLVertex* from, size_t count, ScreenVertex* to);

// drawTriangle of one listed triangle, with its common cases taken here without the clipper's call:
// wholly outside, or solid and inside the guard band.
inline void drawListedTriangle(RasterContext& context, const TLVertex& a, const TLVertex& b, const TLVertex& c,
                               uint16_t flags) {
  if (a.clip & b.clip & c.clip & kOutsideBits) return;
  if (context.fill == D3DFILL_SOLID && ((a.clip | b.clip | c.clip) & kMustClipBits) == 0) fillTriangle(context, a, b, c);
  else drawTriangle(context, a, b, c, flags);
}
void drawLine(RasterContext& context, const TLVertex& a, const TLVertex& b);

// Screen position of a clip-space vertex.
void projectVertex(const RasterContext& context, TLVertex& v);

}  // namespace soft3d
