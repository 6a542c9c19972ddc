// Clipping of triangles against the near and far planes and the guard band in clip space, so that blocks
// partly behind the eye draw correctly; culling and the choice between solid and wire fill.
#include <cmath>

#include "platform/soft3d/Raster.h"

namespace soft3d {
namespace {

constexpr int kMaxPolygon = 12;

struct ClipVertex {
  TLVertex v;
  bool edgeOn = true;  // the edge from this vertex to the next one is drawn in wire fill
};

// Signed distance to a plane; inside when >= 0.
float distance(const TLVertex& v, int plane, const RasterContext& c) {
  switch (plane) {
    case 0: return v.cz;                   // near
    case 1: return v.cw - v.cz;            // far
    case 2: return v.cx + c.guardX * v.cw;  // left guard
    case 3: return c.guardX * v.cw - v.cx;  // right guard
    case 4: return c.guardY * v.cw - v.cy;  // top guard
    default: return v.cy + c.guardY * v.cw; // bottom guard
  }
}

// The point where the edge from an inside to an outside vertex crosses the plane. Always computed from
// the inside end, so two triangles sharing the edge get the same point.
TLVertex intersect(const TLVertex& in, const TLVertex& out, float dIn, float dOut) {
  const float t = dIn / (dIn - dOut);
  auto mix = [t](float a, float b) { return a + (b - a) * t; };
  TLVertex v;
  v.cx = mix(in.cx, out.cx);
  v.cy = mix(in.cy, out.cy);
  v.cz = mix(in.cz, out.cz);
  v.cw = mix(in.cw, out.cw);
  auto mixColour = [&mix](uint32_t a, uint32_t b) {
    int c[4];
    for (int k = 0; k < 4; ++k)
      c[k] = static_cast<int>(mix(static_cast<float>(channel(a, 24 - 8 * k)), static_cast<float>(channel(b, 24 - 8 * k))) + 0.5f);
    return packColour(c[0], c[1], c[2], c[3]);
  };
  v.colour = mixColour(in.colour, out.colour);
  v.specular = mixColour(in.specular, out.specular);
  v.u = mix(in.u, out.u);
  v.v = mix(in.v, out.v);
  return v;
}

int clipPolygon(const RasterContext& c, ClipVertex* poly, int count, int plane, ClipVertex* out) {
  int n = 0;
  for (int i = 0; i < count && n < kMaxPolygon - 1; ++i) {
    const ClipVertex& a = poly[i];
    const ClipVertex& b = poly[(i + 1) % count];
    const float da = distance(a.v, plane, c), db = distance(b.v, plane, c);
    if (da >= 0) {
      out[n++] = a;
      if (db < 0) out[n++] = ClipVertex{intersect(a.v, b.v, da, db), false};  // runs along the plane
    } else if (db >= 0) {
      out[n++] = ClipVertex{intersect(b.v, a.v, db, da), a.edgeOn};
    }
  }
  return n;
}

}  // namespace

void projectVertex(const RasterContext& c, TLVertex& v) {
  v.rhw = 1.0f / v.cw;
  v.sx = c.centreX + v.cx * v.rhw * c.scaleX;
  v.sy = c.centreY - v.cy * v.rhw * c.scaleY;
  v.sz = v.cz * v.rhw;
}

void drawTriangle(RasterContext& context, const TLVertex& a, const TLVertex& b, const TLVertex& c, uint16_t flags) {
  if (a.clip & b.clip & c.clip & kOutsideBits) return;
  const bool wire = context.fill != D3DFILL_SOLID;
  if (((a.clip | b.clip | c.clip) & kMustClipBits) == 0) {
    if (!wire) {
      fillTriangle(context, a, b, c);
      return;
    }
    ClipVertex poly[3] = {{a, (flags & D3DTRIFLAG_EDGEENABLE1) != 0}, {b, (flags & D3DTRIFLAG_EDGEENABLE2) != 0},
                          {c, (flags & D3DTRIFLAG_EDGEENABLE3) != 0}};
    const float area = (b.sx - a.sx) * (c.sy - a.sy) - (c.sx - a.sx) * (b.sy - a.sy);
    if (area == 0 || (area < 0 && context.cull == D3DCULL_CCW) || (area > 0 && context.cull == D3DCULL_CW)) return;
    for (int i = 0; i < 3; ++i)
      if (poly[i].edgeOn) drawLine(context, poly[i].v, poly[(i + 1) % 3].v);
    return;
  }

  ClipVertex buffers[2][kMaxPolygon];
  buffers[0][0] = {a, (flags & D3DTRIFLAG_EDGEENABLE1) != 0};
  buffers[0][1] = {b, (flags & D3DTRIFLAG_EDGEENABLE2) != 0};
  buffers[0][2] = {c, (flags & D3DTRIFLAG_EDGEENABLE3) != 0};
  int count = 3, current = 0;
  const uint32_t planeBits[6] = {D3DCLIP_FRONT, D3DCLIP_BACK, kGuardLeft, kGuardRight, kGuardTop, kGuardBottom};
  const uint32_t any = a.clip | b.clip | c.clip;
  for (int plane = 0; plane < 6 && count >= 3; ++plane) {
    if (!(any & planeBits[plane])) continue;
    count = clipPolygon(context, buffers[current], count, plane, buffers[1 - current]);
    current = 1 - current;
  }
  if (count < 3) return;
  ClipVertex* poly = buffers[current];
  for (int i = 0; i < count; ++i) {
    if (poly[i].v.cw <= 0) return;  // only possible for degenerate input; nothing sensible to draw
    projectVertex(context, poly[i].v);
  }
  if (!wire) {
    for (int i = 1; i + 1 < count; ++i) fillTriangle(context, poly[0].v, poly[i].v, poly[i + 1].v);
    return;
  }
  float area = 0;
  for (int i = 0; i < count; ++i) {
    const TLVertex& p = poly[i].v;
    const TLVertex& q = poly[(i + 1) % count].v;
    area += p.sx * q.sy - q.sx * p.sy;
  }
  if (area == 0 || (area < 0 && context.cull == D3DCULL_CCW) || (area > 0 && context.cull == D3DCULL_CW)) return;
  for (int i = 0; i < count; ++i)
    if (poly[i].edgeOn) drawLine(context, poly[i].v, poly[(i + 1) % count].v);
}

}  // namespace soft3d
