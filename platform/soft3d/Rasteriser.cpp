// Triangle and line filling. Vertices snap to 1/16 pixel; edges are walked with exact integer steps, and a
// pixel belongs to a triangle when its centre lies inside, or on a top or left edge, so triangles that
// share an edge leave no gap between them and draw no pixel twice. Colour, depth and texture coordinates
// are interpolated linearly in screen space (Gouraud, affine texturing), depth tested less-or-equal.
//
// Index: [SECTION] Edge walking  [SECTION] Span writers  [SECTION] Triangles  [SECTION] Lines
#include <algorithm>
#include <climits>
#include <cmath>
#include <type_traits>

#include <emmintrin.h>

#include "platform/soft3d/Raster.h"

namespace soft3d {
namespace {

// [SECTION] Edge walking

// Floor division by 16 of a 28.4 coordinate: an arithmetic shift rounds towards minus infinity.
inline int64_t floorDiv16(int64_t n) { return n >> 4; }

// Floor division for a positive divisor through a multiplication by its reciprocal, corrected to the
// exact quotient and remainder (0 <= r < d): a 64-bit integer division costs several times as much, and
// every edge needs two by the same divisor. The operands stay far below 2^53, so the estimate is within
// a step of the quotient and the corrections settle it.
inline void floorDivPositive(int64_t n, int64_t d, double reciprocal, int64_t& q, int64_t& r) {
  q = static_cast<int64_t>(static_cast<double>(n) * reciprocal);
  r = n - q * d;
  while (r < 0) {
    --q;
    r += d;
  }
  while (r >= d) {
    ++q;
    r -= d;
  }
}
// A screen coordinate to the nearest 1/16 pixel (28.4 fixed point), without a library call.
inline int snap(float v) {
  const float scaled = v * 16.0f + 0.5f;
  int t = static_cast<int>(scaled);
  return t - (scaled < static_cast<float>(t));
}

// snap() on four coordinates at once, with the same operations lane by lane.
inline __m128i snap4(__m128 v) {
  const __m128 scaled = _mm_add_ps(_mm_mul_ps(v, _mm_set1_ps(16.0f)), _mm_set1_ps(0.5f));
  const __m128i t = _mm_cvttps_epi32(scaled);
  return _mm_add_epi32(t, _mm_castps_si128(_mm_cmplt_ps(scaled, _mm_cvtepi32_ps(t))));
}

// First pixel row or column whose centre (16 k + 8) is at or beyond a 28.4 coordinate.
inline int firstCentre(int64_t fixed) { return static_cast<int>(floorDiv16(fixed - 8 + 15)); }

// One edge from (xa, ya) down to (xb, yb) in 28.4, walked row by row. x() is the first pixel whose
// centre is at or right of the edge on the current row: a left edge starts there (inclusive) and a right
// edge ends there (exclusive), which is the whole top-left rule for non-horizontal edges.
struct Edge {
  int64_t q = 0, r = 0, qs = 0, rs = 0, d = 1;
  void init(int xa, int ya, int xb, int yb, int row) {
    const int64_t dx = xb - xa, dy = yb - ya;
    d = 16 * dy;
    const int64_t n = (16 * static_cast<int64_t>(row) + 8 - ya) * dx + (static_cast<int64_t>(xa) - 8) * dy;
    const double reciprocal = 1.0 / static_cast<double>(d);
    floorDivPositive(n, d, reciprocal, q, r);
    floorDivPositive(16 * dx, d, reciprocal, qs, rs);
  }
  int x() const { return static_cast<int>(q + (r != 0)); }
  void step() {
    q += qs;
    r += rs;
    // Without a branch: whether the remainder overflows is close to random from row to row.
    const int64_t carry = -static_cast<int64_t>(r >= d);
    r -= d & carry;
    q -= carry;
  }
};

enum { kZ, kR, kG, kB, kSR, kSG, kSB, kU, kV, kPlanes };

// value(px, py) = base + ddx * px + ddy * py, in pixel units.
struct Planes {
  float base[kPlanes], ddx[kPlanes], ddy[kPlanes];
  float at(int i, float px, float py) const { return base[i] + ddx[i] * px + ddy[i] * py; }
};

template <class Sink>
void walkTriangle(const int* X, const int* Y, int row0, int row1, int left, int right,
                  Sink& sink) {
  int top = 0, mid = 1, bottom = 2;
  if (Y[mid] < Y[top]) std::swap(mid, top);
  if (Y[bottom] < Y[top]) std::swap(bottom, top);
  if (Y[bottom] < Y[mid]) std::swap(bottom, mid);
  const int64_t cross = static_cast<int64_t>(X[mid] - X[top]) * (Y[bottom] - Y[top]) -
                        static_cast<int64_t>(X[bottom] - X[top]) * (Y[mid] - Y[top]);
  const bool midOnRight = cross > 0;
  const int rowMid = firstCentre(Y[mid]);
  Edge longEdge, shortEdge;
  longEdge.init(X[top], Y[top], X[bottom], Y[bottom], row0);
  int row = row0;
  for (int part = 0; part < 2; ++part) {
    const int end = part == 0 ? std::min(rowMid, row1) : row1;
    if (row >= end) continue;
    if (part == 0) shortEdge.init(X[top], Y[top], X[mid], Y[mid], row);
    else shortEdge.init(X[mid], Y[mid], X[bottom], Y[bottom], row);
    Edge& l = midOnRight ? longEdge : shortEdge;
    Edge& r = midOnRight ? shortEdge : longEdge;
    for (; row < end; ++row) {
      const int xl = std::max(l.x(), left), xr = std::min(r.x(), right);
      if (xl < xr) sink.span(row, xl, xr);
      l.step();
      r.step();
    }
  }
}

// The low 32 bits of each lane's product (the same for signed and unsigned operands), in SSE2.
inline __m128i multiplyLow(__m128i a, __m128i b) {
  const __m128i even = _mm_mul_epu32(a, b), odd = _mm_mul_epu32(_mm_srli_epi64(a, 32), _mm_srli_epi64(b, 32));
  return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)), _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

template <int Lane>
inline __m128i broadcast(__m128i v) {
  return _mm_shuffle_epi32(v, Lane * 0x55);
}

// One edge's values at the first row's eight centres, and their step from row to row.
template <int Edge>
inline void edgeLanes(__m128i values, __m128i across, __m128i down, __m128i* low, __m128i* high, __m128i* steps) {
  const __m128i a = broadcast<Edge>(across);
  const __m128i ramp = _mm_add_epi32(_mm_and_si128(a, _mm_setr_epi32(0, -1, 0, -1)),
                                     _mm_and_si128(_mm_add_epi32(a, a), _mm_setr_epi32(0, 0, -1, -1)));  // 0, a, 2a, 3a
  low[Edge] = _mm_add_epi32(broadcast<Edge>(values), ramp);
  high[Edge] = _mm_add_epi32(low[Edge], _mm_slli_epi32(a, 2));
  steps[Edge] = broadcast<Edge>(down);
}

// A narrow triangle (at most eight candidate columns: most triangles of a brick scene) is filled from its
// three edge functions at eight pixel centres side by side instead. They are exact integers like the edge
// walk and follow the same rule for a centre on an edge (inside on a left or top edge, outside on a right
// or bottom one), so the same pixels are covered, without a division. The vertices run clockwise on the
// screen; column0 and the row range already lie within the clip, and every covered centre lies within
// the columns.
template <class Sink>
void fillNarrow(const int* X, const int* Y, int row0, int row1, int column0, int columns,
                Sink& sink) {
  // Lane i holds edge i, from vertex i to the next: E(x, y) = dx (y - Yi) - dy (x - Xi), positive inside.
  // Within the guard band and nine pixels across it stays far within 32 bits. A centre with E = 0 counts
  // only on a left or top edge (dy < 0, or dy = 0 and dx > 0), so 1 is taken off the others and a lane
  // is inside when no edge value is negative.
  const __m128i xs = _mm_loadu_si128(reinterpret_cast<const __m128i*>(X)), ys = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Y));
  const __m128i dx = _mm_sub_epi32(_mm_shuffle_epi32(xs, _MM_SHUFFLE(3, 0, 2, 1)), xs);
  const __m128i dy = _mm_sub_epi32(_mm_shuffle_epi32(ys, _MM_SHUFFLE(3, 0, 2, 1)), ys);
  const __m128i zero = _mm_setzero_si128();
  const __m128i inclusive =
      _mm_or_si128(_mm_cmplt_epi32(dy, zero), _mm_and_si128(_mm_cmpeq_epi32(dy, zero), _mm_cmpgt_epi32(dx, zero)));
  const __m128i ox = _mm_set1_epi32(16 * column0 + 8), oy = _mm_set1_epi32(16 * row0 + 8);
  const __m128i values = _mm_sub_epi32(_mm_sub_epi32(multiplyLow(dx, _mm_sub_epi32(oy, ys)), multiplyLow(dy, _mm_sub_epi32(ox, xs))),
                                       _mm_andnot_si128(inclusive, _mm_set1_epi32(1)));
  const __m128i across = _mm_sub_epi32(zero, _mm_slli_epi32(dy, 4)), down = _mm_slli_epi32(dx, 4);
  __m128i low[3], high[3], steps[3];
  edgeLanes<0>(values, across, down, low, high, steps);
  edgeLanes<1>(values, across, down, low, high, steps);
  edgeLanes<2>(values, across, down, low, high, steps);
  const int lanes = (1 << columns) - 1;
  for (int row = row0; row < row1; ++row) {
    const int outside =
        _mm_movemask_ps(_mm_castsi128_ps(_mm_or_si128(_mm_or_si128(low[0], low[1]), low[2]))) |
        _mm_movemask_ps(_mm_castsi128_ps(_mm_or_si128(_mm_or_si128(high[0], high[1]), high[2]))) << 4;
    // Inside lanes are contiguous: a row crosses a convex triangle in one interval.
    const unsigned inside = static_cast<unsigned>(~outside & lanes);
    if (inside) sink.span(row, column0 + __builtin_ctz(inside), column0 + 32 - __builtin_clz(inside));
    for (int i = 0; i < 3; ++i) {
      low[i] = _mm_add_epi32(low[i], steps[i]);
      high[i] = _mm_add_epi32(high[i], steps[i]);
    }
  }
}

// [SECTION] Span writers

inline int clampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
inline int32_t toFixed(float v) { return static_cast<int32_t>(std::clamp(v, -32000.0f, 32000.0f) * 65536.0f); }
// toFixed on four lanes at once, lane 0 set to zero; a NaN turns out as it does alone.
inline __m128i toFixed4(__m128 v) {
  const __m128 clamped = _mm_min_ps(_mm_set1_ps(32000.0f), _mm_max_ps(_mm_set1_ps(-32000.0f), v));
  const __m128i fixed = _mm_cvttps_epi32(_mm_mul_ps(clamped, _mm_set1_ps(65536.0f)));
  return _mm_and_si128(fixed, _mm_setr_epi32(0, -1, -1, -1));
}
inline int wrap(int t, int size) {
  if (static_cast<unsigned>(t) < static_cast<unsigned>(size)) return t;
  t %= size;
  return t < 0 ? t + size : t;
}
inline uint16_t pack(int r, int g, int b) {
  return static_cast<uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | (b >> 3));
}

bool depthPasses(uint32_t func, float z, float stored) {
  switch (func) {
    case D3DCMP_NEVER: return false;
    case D3DCMP_LESS: return z < stored;
    case D3DCMP_EQUAL: return z == stored;
    case D3DCMP_LESSEQUAL: return z <= stored;
    case D3DCMP_GREATER: return z > stored;
    case D3DCMP_NOTEQUAL: return z != stored;
    case D3DCMP_GREATEREQUAL: return z >= stored;
    default: return true;
  }
}

// ZMode: 0 no test, 1 less-or-equal, 2 any other comparison. Tex: 0 none, 1 modulate, 2 decal.
template <int ZMode, bool ZWrite, int Tex, bool Specular>
struct DrawSink {
  const RasterContext& context;
  const Planes& p;
  int32_t dr = 0, dg = 0, db = 0, dsr = 0, dsg = 0, dsb = 0, du = 0, dv = 0;
  __m128i step;  // 0, dr, dg, db

  DrawSink(const RasterContext& c, const Planes& planes) : context(c), p(planes) {
    step = toFixed4(_mm_loadu_ps(p.ddx));
    if constexpr (Tex == 0 && ZMode != 2) return;  // plain spans step by the vector alone
    dr = toFixed(p.ddx[kR]);
    dg = toFixed(p.ddx[kG]);
    db = toFixed(p.ddx[kB]);
    dsr = Specular ? toFixed(p.ddx[kSR]) : 0;
    dsg = Specular ? toFixed(p.ddx[kSG]) : 0;
    dsb = Specular ? toFixed(p.ddx[kSB]) : 0;
    du = Tex ? toFixed(p.ddx[kU]) : 0;
    dv = Tex ? toFixed(p.ddx[kV]) : 0;
  }

  void span(int y, int xl, int xr) {
    if constexpr (Tex == 0 && ZMode != 2) {
      plainSpan(y, xl, xr);
      return;
    }
    const float px = xl + 0.5f, py = y + 0.5f;
    float z = p.at(kZ, px, py);
    const float dz = p.ddx[kZ];
    int32_t r = toFixed(p.at(kR, px, py)), g = toFixed(p.at(kG, px, py)), b = toFixed(p.at(kB, px, py));
    int32_t sr = 0, sg = 0, sb = 0, u = 0, v = 0;
    if constexpr (Specular) {
      sr = toFixed(p.at(kSR, px, py));
      sg = toFixed(p.at(kSG, px, py));
      sb = toFixed(p.at(kSB, px, py));
    }
    if constexpr (Tex != 0) {
      u = toFixed(p.at(kU, px, py));
      v = toFixed(p.at(kV, px, py));
    }
    uint16_t* out = context.colour + static_cast<size_t>(y) * context.colourPitch;
    float* zrow = context.depth ? context.depth + static_cast<size_t>(y) * context.depthPitch : nullptr;
    for (int x = xl; x < xr; ++x) {
      bool pass = true;
      if constexpr (ZMode == 1) pass = z <= zrow[x];
      else if constexpr (ZMode == 2) pass = depthPasses(context.zFunc, z, zrow[x]);
      if (pass) {
        int cr = clampByte(r >> 16), cg = clampByte(g >> 16), cb = clampByte(b >> 16);
        if constexpr (Tex != 0) {
          const TextureImage& t = *context.texture;
          const uint32_t texel = t.texels[static_cast<size_t>(wrap(v >> 16, t.height)) * t.width + wrap(u >> 16, t.width)];
          const int tr = (texel >> 16) & 255, tg = (texel >> 8) & 255, tb = texel & 255;
          if constexpr (Tex == 1) {
            cr = (tr * cr + 255) >> 8;
            cg = (tg * cg + 255) >> 8;
            cb = (tb * cb + 255) >> 8;
          } else {
            cr = tr;
            cg = tg;
            cb = tb;
          }
          if constexpr (Specular) {
            cr = std::min(255, cr + clampByte(sr >> 16));
            cg = std::min(255, cg + clampByte(sg >> 16));
            cb = std::min(255, cb + clampByte(sb >> 16));
          }
        }
        out[x] = pack(cr, cg, cb);
        if constexpr (ZWrite) zrow[x] = z;
      }
      z += dz;
      r += dr;
      g += dg;
      b += db;
      if constexpr (Specular) {
        sr += dsr;
        sg += dsg;
        sb += dsb;
      }
      if constexpr (Tex != 0) {
        u += du;
        v += dv;
      }
    }
  }

  // The untextured span, the bulk of a frame. Spans are short (a stud's side is a pixel or two wide), so
  // what counts is the set-up: depth and the three colours come from their planes in one vector, with the
  // same float operations as Planes::at, and the colours step in 16.16 side by side. Packing the shifted
  // colours to 16 bits with saturation, then a maximum and a minimum, is the clamp to 0..255.
  void plainSpan(int y, int xl, int xr) {
    const __m128 px = _mm_set1_ps(xl + 0.5f), py = _mm_set1_ps(y + 0.5f);
    const __m128 at = _mm_add_ps(_mm_add_ps(_mm_loadu_ps(p.base), _mm_mul_ps(_mm_loadu_ps(p.ddx), px)),
                                 _mm_mul_ps(_mm_loadu_ps(p.ddy), py));
    float z = _mm_cvtss_f32(at);
    const float dz = p.ddx[kZ];
    __m128i colour = toFixed4(at);
    uint16_t* __restrict out = context.colour + static_cast<size_t>(y) * context.colourPitch;
    float* __restrict zrow = context.depth ? context.depth + static_cast<size_t>(y) * context.depthPitch : nullptr;
    for (int x = xl; x < xr; ++x) {
      if (ZMode == 0 || z <= zrow[x]) {
        const __m128i words = _mm_packs_epi32(_mm_srai_epi32(colour, 16), colour);  // lanes: 0, r, g, b, ...
        const __m128i bytes = _mm_min_epi16(_mm_max_epi16(words, _mm_setzero_si128()), _mm_set1_epi16(255));
        // The top five, six and five bits, then shifted into place and summed in pairs: r | g and b.
        const __m128i top = _mm_mulhi_epu16(bytes, _mm_setr_epi16(0, 1 << 13, 1 << 14, 1 << 13, 0, 0, 0, 0));
        const __m128i pairs = _mm_madd_epi16(top, _mm_setr_epi16(0, 1 << 11, 1 << 5, 1, 0, 0, 0, 0));
        const __m128i sum = _mm_add_epi32(pairs, _mm_shuffle_epi32(pairs, _MM_SHUFFLE(3, 2, 0, 1)));
        out[x] = static_cast<uint16_t>(_mm_cvtsi128_si32(sum));
        if constexpr (ZWrite) zrow[x] = z;
      }
      z += dz;
      colour = _mm_add_epi32(colour, step);
    }
  }
};

struct PickSink {
  RasterContext& context;
  const Planes& p;
  void span(int y, int xl, int xr) {
    for (int x = xl; x < xr; ++x) {
      const float z = p.at(kZ, x + 0.5f, y + 0.5f);
      if (!context.hit || z < context.hitDepth) context.hitDepth = z;
      context.hit = true;
    }
  }
};

// The columns are the candidates: from the first centre right of the leftmost vertex to the first right
// of the rightmost, within the clip; a narrow triangle spans at most eight of them before clipping.
template <int ZMode, bool ZWrite>
void walkDraw(const RasterContext& c, const Planes& p, const int* X, const int* Y, int r0, int r1, bool narrow,
              int column0, int column1) {
  const bool highlight = c.specular && c.texture;
  auto go = [&](auto sink) {
    if (narrow) fillNarrow(X, Y, r0, r1, column0, column1 - column0, sink);
    else walkTriangle(X, Y, r0, r1, c.clip.left, c.clip.right, sink);
  };
  if (!c.texture) go(DrawSink<ZMode, ZWrite, 0, false>(c, p));
  else if (c.decal) highlight ? go(DrawSink<ZMode, ZWrite, 2, true>(c, p)) : go(DrawSink<ZMode, ZWrite, 2, false>(c, p));
  else highlight ? go(DrawSink<ZMode, ZWrite, 1, true>(c, p)) : go(DrawSink<ZMode, ZWrite, 1, false>(c, p));
}

// The extent grows by a box already within the clip and not empty.
inline void growClippedExtent(RasterContext& context, int left, int top, int right, int bottom) {
  context.extent.left = std::min(context.extent.left, left);
  context.extent.top = std::min(context.extent.top, top);
  context.extent.right = std::max(context.extent.right, right);
  context.extent.bottom = std::max(context.extent.bottom, bottom);
  context.drewAny = true;
}

inline void growExtent(RasterContext& context, int left, int top, int right, int bottom) {
  left = std::max(left, context.clip.left);
  top = std::max(top, context.clip.top);
  right = std::min(right, context.clip.right);
  bottom = std::min(bottom, context.clip.bottom);
  if (left >= right || top >= bottom) return;
  growClippedExtent(context, left, top, right, bottom);
}

}  // namespace

// [SECTION] Triangles

namespace {

// A vertex's colour with its highlight added (each channel clamped to 255) when highlights are on.
inline uint32_t litColour(const RasterContext& context, const TLVertex& v) {
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_adds_epu8(_mm_cvtsi32_si128(static_cast<int>(v.colour)),
                                                               _mm_cvtsi32_si128(context.specular ? static_cast<int>(v.specular) : 0))));
}
inline uint32_t litColour(const RasterContext&, const ScreenVertex& v) { return v.colour; }

// Both kinds of vertex start with sx, sy (and sz), so the set-up reads them alike; only full vertices
// carry what a texture needs.
template <class V>
void fill(RasterContext& context, const V& a, const V& b, const V& c) {
  const V* v[3] = {&a, &b, &c};
  alignas(16) int X[4], Y[4];
  // sx and sy lie side by side in a vertex: [ax, bx, ay, by], then c's pair twice.
  const __m128 ab = _mm_unpacklo_ps(_mm_loadu_ps(&a.sx), _mm_loadu_ps(&b.sx)), cc = _mm_loadu_ps(&c.sx);
  const __m128i snappedX = snap4(_mm_shuffle_ps(ab, cc, _MM_SHUFFLE(0, 0, 1, 0)));
  const __m128i snappedY = snap4(_mm_shuffle_ps(ab, cc, _MM_SHUFFLE(1, 1, 3, 2)));
  _mm_store_si128(reinterpret_cast<__m128i*>(X), snappedX);
  _mm_store_si128(reinterpret_cast<__m128i*>(Y), snappedY);
  // Twice the area, (x1 - x0)(y2 - y0) - (x2 - x0)(y1 - y0), with both products side by side in doubles:
  // within the guard band the deltas stay below 2^20, so products and difference are exact.
  const __m128i dx = _mm_sub_epi32(snappedX, _mm_shuffle_epi32(snappedX, 0));
  const __m128i dy = _mm_sub_epi32(snappedY, _mm_shuffle_epi32(snappedY, 0));
  const __m128d products = _mm_mul_pd(_mm_cvtepi32_pd(_mm_shuffle_epi32(dx, _MM_SHUFFLE(3, 3, 2, 1))),
                                      _mm_cvtepi32_pd(_mm_shuffle_epi32(dy, _MM_SHUFFLE(3, 3, 1, 2))));
  const double area = _mm_cvtsd_f64(_mm_sub_sd(products, _mm_unpackhi_pd(products, products)));
  if (area == 0) return;
  // Screen y runs down, so a positive area is a clockwise triangle as seen on the screen.
  if (area < 0) {
    if (context.cull == D3DCULL_CCW) return;
    std::swap(v[1], v[2]);
    std::swap(X[1], X[2]);
    std::swap(Y[1], Y[2]);
  } else if (context.cull == D3DCULL_CW) {
    return;
  }
  const Rect clip = context.picking ? intersectRect(context.clip, context.pickRect) : context.clip;
  const int row0 = std::max(firstCentre(std::min({Y[0], Y[1], Y[2]})), clip.top);
  const int row1 = std::min(firstCentre(std::max({Y[0], Y[1], Y[2]})), clip.bottom);
  if (row0 >= row1) return;
  const int minX = std::min({X[0], X[1], X[2]}), maxX = std::max({X[0], X[1], X[2]});
  if (!context.picking) {
    // The rows are already within the clip and not empty.
    const int left = std::max(static_cast<int>(floorDiv16(minX)), clip.left);
    const int right = std::min(static_cast<int>(floorDiv16(maxX + 15)), clip.right);
    if (left < right) growClippedExtent(context, left, row0, right, row1);
  }
  if (!context.colour && !context.picking) return;  // measuring only
  // A sliver between two columns' centres covers no pixel: every edge lies within minX..maxX, so a span
  // starts at or right of the first centre from minX and ends at or left of the first from maxX.
  const int column0 = std::max(firstCentre(minX), clip.left), column1 = std::min(firstCentre(maxX), clip.right);
  if (column0 >= column1) return;
  // Narrow before clipping: a wide triangle cut down to a few columns by the clip is walked (its edge
  // functions could leave 32 bits).
  const bool narrow = firstCentre(maxX) - firstCentre(minX) <= std::min(context.narrowColumns, 8);

  // Attribute planes from the snapped positions.
  // In pixels, as vectors [x0, x1 - x0, x2 - x0, -] and the same for y: the integer differences are
  // converted and scaled by 1/16 exactly as one at a time.
  const __m128i notFirst = _mm_setr_epi32(0, -1, -1, -1);
  const __m128i xs = _mm_load_si128(reinterpret_cast<const __m128i*>(X));
  const __m128i ys = _mm_load_si128(reinterpret_cast<const __m128i*>(Y));
  const __m128 sixteenth = _mm_set1_ps(1 / 16.0f);
  const __m128 sx = _mm_mul_ps(_mm_cvtepi32_ps(_mm_sub_epi32(xs, _mm_and_si128(_mm_shuffle_epi32(xs, 0), notFirst))), sixteenth);
  const __m128 sy = _mm_mul_ps(_mm_cvtepi32_ps(_mm_sub_epi32(ys, _mm_and_si128(_mm_shuffle_epi32(ys, 0), notFirst))), sixteenth);
  const __m128 fx0v = _mm_shuffle_ps(sx, sx, 0x00), dx1v = _mm_shuffle_ps(sx, sx, 0x55), dx2v = _mm_shuffle_ps(sx, sx, 0xAA);
  const __m128 fy0v = _mm_shuffle_ps(sy, sy, 0x00), dy1v = _mm_shuffle_ps(sy, sy, 0x55), dy2v = _mm_shuffle_ps(sy, sy, 0xAA);
  const float fx0 = _mm_cvtss_f32(fx0v), fy0 = _mm_cvtss_f32(fy0v);
  const float dx1 = _mm_cvtss_f32(dx1v), dy1 = _mm_cvtss_f32(dy1v);
  const float dx2 = _mm_cvtss_f32(dx2v), dy2 = _mm_cvtss_f32(dy2v);
  const float inverse = 1.0f / (dx1 * dy2 - dx2 * dy1);
  Planes planes;
  const V& shade = a;  // flat shading takes the first vertex's colour
  if (std::is_same_v<V, ScreenVertex> || !context.texture) {
    // Only depth and colour are interpolated, as one vector [z, r, g, b] a vertex; the saturating byte
    // add is the colour plus highlight clamped to 255.
    const __m128i zero = _mm_setzero_si128();
    __m128 values[3];
    for (int i = 0; i < 3; ++i) {
      const __m128i sum = _mm_cvtsi32_si128(static_cast<int>(litColour(context, context.flat ? shade : *v[i])));
      const __m128 argb = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(sum, zero), zero));  // b, g, r, a
      values[i] = _mm_move_ss(_mm_shuffle_ps(argb, argb, _MM_SHUFFLE(0, 1, 2, 3)), _mm_set_ss(v[i]->sz));
    }
    const __m128 d1 = _mm_sub_ps(values[1], values[0]), d2 = _mm_sub_ps(values[2], values[0]);
    const __m128 ddx = _mm_mul_ps(_mm_sub_ps(_mm_mul_ps(d1, dy2v), _mm_mul_ps(d2, dy1v)), _mm_set1_ps(inverse));
    const __m128 ddy = _mm_mul_ps(_mm_sub_ps(_mm_mul_ps(d2, dx1v), _mm_mul_ps(d1, dx2v)), _mm_set1_ps(inverse));
    _mm_storeu_ps(planes.ddx, ddx);
    _mm_storeu_ps(planes.ddy, ddy);
    _mm_storeu_ps(planes.base, _mm_sub_ps(_mm_sub_ps(values[0], _mm_mul_ps(ddx, fx0v)), _mm_mul_ps(ddy, fy0v)));
  } else if constexpr (std::is_same_v<V, TLVertex>) {
    float values[3][kPlanes];
    for (int i = 0; i < 3; ++i) {
      const TLVertex& s = context.flat ? shade : *v[i];
      values[i][kZ] = v[i]->sz;
      values[i][kR] = static_cast<float>(channel(s.colour, 16));
      values[i][kG] = static_cast<float>(channel(s.colour, 8));
      values[i][kB] = static_cast<float>(channel(s.colour, 0));
      values[i][kSR] = static_cast<float>(channel(s.specular, 16));
      values[i][kSG] = static_cast<float>(channel(s.specular, 8));
      values[i][kSB] = static_cast<float>(channel(s.specular, 0));
      values[i][kU] = v[i]->u * context.texture->width;
      values[i][kV] = v[i]->v * context.texture->height;
    }
    for (int k = 0; k < kPlanes; ++k) {
      const float d1 = values[1][k] - values[0][k], d2 = values[2][k] - values[0][k];
      planes.ddx[k] = (d1 * dy2 - d2 * dy1) * inverse;
      planes.ddy[k] = (d2 * dx1 - d1 * dx2) * inverse;
      planes.base[k] = values[0][k] - planes.ddx[k] * fx0 - planes.ddy[k] * fy0;
    }
  }

  if (context.picking) {
    PickSink sink{context, planes};
    walkTriangle(X, Y, row0, row1, clip.left, clip.right, sink);
    return;
  }
  if (!context.colour) return;
  const bool test = context.zTest && context.depth;
  const bool write = context.zWrite && context.depth;
  if (!test) {
    write ? walkDraw<0, true>(context, planes, X, Y, row0, row1, narrow, column0, column1)
          : walkDraw<0, false>(context, planes, X, Y, row0, row1, narrow, column0, column1);
  } else if (context.zFunc == D3DCMP_LESSEQUAL) {
    write ? walkDraw<1, true>(context, planes, X, Y, row0, row1, narrow, column0, column1)
          : walkDraw<1, false>(context, planes, X, Y, row0, row1, narrow, column0, column1);
  } else {
    write ? walkDraw<2, true>(context, planes, X, Y, row0, row1, narrow, column0, column1)
          : walkDraw<2, false>(context, planes, X, Y, row0, row1, narrow, column0, column1);
  }
}

}  // namespace

void fillTriangle(RasterContext& context, const TLVertex& a, const TLVertex& b, const TLVertex& c) { fill(context, a, b, c); }

void fillTriangle(RasterContext& context, const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
  fill(context, a, b, c);
}

namespace {

// Lane-wise minimum and maximum of 32-bit integers in SSE2.
inline __m128i min4(__m128i a, __m128i b) {
  const __m128i greater = _mm_cmpgt_epi32(a, b);
  return _mm_or_si128(_mm_and_si128(greater, b), _mm_andnot_si128(greater, a));
}
inline __m128i max4(__m128i a, __m128i b) {
  const __m128i greater = _mm_cmpgt_epi32(a, b);
  return _mm_or_si128(_mm_and_si128(greater, a), _mm_andnot_si128(greater, b));
}
inline int lowestOf(__m128i v) {
  v = min4(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
  return _mm_cvtsi128_si32(min4(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1))));
}
inline int highestOf(__m128i v) {
  v = max4(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
  return _mm_cvtsi128_si32(max4(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1))));
}

// Measures up to four solid triangles within the guard band, one a lane, with the filler's own
// arithmetic up to its extent (the same snapping, area and rounding) and without a branch on the
// outcome. Lanes past `count` repeat the last triangle and are left out.
struct FourAtOnce {
  __m128i clipLeft, clipTop, clipRight, clipBottom;
  bool keepNegative, keepPositive;
  __m128i left = _mm_set1_epi32(INT_MAX), top = _mm_set1_epi32(INT_MAX);
  __m128i right = _mm_set1_epi32(INT_MIN), bottom = _mm_set1_epi32(INT_MIN);

  size_t measure(const TLVertex* vertices, const Triangle3D* triangles, const uint32_t* index, int count,
                 MeasuredTriangle* out) {
    alignas(16) float x[3][4], y[3][4];
    for (int lane = 0; lane < 4; ++lane) {
      const Triangle3D& t = triangles[index[std::min(lane, count - 1)]];
      const TLVertex *a = &vertices[t.v1], *b = &vertices[t.v2], *c = &vertices[t.v3];
      x[0][lane] = a->sx, y[0][lane] = a->sy;
      x[1][lane] = b->sx, y[1][lane] = b->sy;
      x[2][lane] = c->sx, y[2][lane] = c->sy;
    }
    const __m128i x0 = snap4(_mm_load_ps(x[0])), y0 = snap4(_mm_load_ps(y[0]));
    const __m128i x1 = snap4(_mm_load_ps(x[1])), y1 = snap4(_mm_load_ps(y[1]));
    const __m128i x2 = snap4(_mm_load_ps(x[2])), y2 = snap4(_mm_load_ps(y[2]));
    // Twice the area, (x1 - x0)(y2 - y0) - (x2 - x0)(y1 - y0), in doubles two lanes at a time: exact, as
    // in the filler.
    const __m128i dx1 = _mm_sub_epi32(x1, x0), dy1 = _mm_sub_epi32(y1, y0);
    const __m128i dx2 = _mm_sub_epi32(x2, x0), dy2 = _mm_sub_epi32(y2, y0);
    auto area = [&](int shuffle) {
      auto half = [shuffle](__m128i v) {
        return _mm_cvtepi32_pd(shuffle ? _mm_shuffle_epi32(v, _MM_SHUFFLE(3, 2, 3, 2)) : v);
      };
      return _mm_sub_pd(_mm_mul_pd(half(dx1), half(dy2)), _mm_mul_pd(half(dx2), half(dy1)));
    };
    const __m128d low = area(0), high = area(1);
    const int negative = _mm_movemask_pd(_mm_cmplt_pd(low, _mm_setzero_pd())) |
                         _mm_movemask_pd(_mm_cmplt_pd(high, _mm_setzero_pd())) << 2;
    const int positive = _mm_movemask_pd(_mm_cmpgt_pd(low, _mm_setzero_pd())) |
                         _mm_movemask_pd(_mm_cmpgt_pd(high, _mm_setzero_pd())) << 2;
    const __m128i minX = min4(min4(x0, x1), x2), maxX = max4(max4(x0, x1), x2);
    const __m128i minY = min4(min4(y0, y1), y2), maxY = max4(max4(y0, y1), y2);
    const __m128i seven = _mm_set1_epi32(7);
    // First centres at or past a coordinate: (v - 8 + 15) >> 4; the columns by floor division by 16.
    const __m128i row0 = max4(_mm_srai_epi32(_mm_add_epi32(minY, seven), 4), clipTop);
    const __m128i row1 = min4(_mm_srai_epi32(_mm_add_epi32(maxY, seven), 4), clipBottom);
    const __m128i col0 = max4(_mm_srai_epi32(minX, 4), clipLeft);
    const __m128i col1 = min4(_mm_srai_epi32(_mm_add_epi32(maxX, _mm_set1_epi32(15)), 4), clipRight);
    const __m128i some = _mm_and_si128(_mm_cmplt_epi32(row0, row1), _mm_cmplt_epi32(col0, col1));
    const int kept = (keepNegative ? negative : 0) | (keepPositive ? positive : 0);
    const int drawn = kept & _mm_movemask_ps(_mm_castsi128_ps(some)) & ((1 << count) - 1);
    const __m128i lanes = _mm_setr_epi32(drawn & 1 ? -1 : 0, drawn & 2 ? -1 : 0, drawn & 4 ? -1 : 0, drawn & 8 ? -1 : 0);
    left = min4(left, _mm_or_si128(_mm_and_si128(lanes, col0), _mm_andnot_si128(lanes, _mm_set1_epi32(INT_MAX))));
    top = min4(top, _mm_or_si128(_mm_and_si128(lanes, row0), _mm_andnot_si128(lanes, _mm_set1_epi32(INT_MAX))));
    right = max4(right, _mm_or_si128(_mm_and_si128(lanes, col1), _mm_andnot_si128(lanes, _mm_set1_epi32(INT_MIN))));
    bottom = max4(bottom, _mm_or_si128(_mm_and_si128(lanes, row1), _mm_andnot_si128(lanes, _mm_set1_epi32(INT_MIN))));
    alignas(16) int tops[4], bottoms[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(tops), row0);
    _mm_store_si128(reinterpret_cast<__m128i*>(bottoms), row1);
    size_t n = 0;
    for (int lane = 0; lane < count; ++lane) {
      out[n] = MeasuredTriangle{index[lane], tops[lane], bottoms[lane], false};
      n += (drawn >> lane) & 1;
    }
    return n;
  }
};

}  // namespace

size_t measureTriangles(RasterContext& context, const TLVertex* vertices, size_t vertexCount, const Triangle3D* triangles,
                        size_t count, MeasuredTriangle* out) {
  // The slow cases go through the rasteriser itself, with no target; the common one, solid within the
  // guard band, four at a time. Triangles come out in the order they came.
  RasterContext slow = context;
  slow.colour = nullptr;
  slow.picking = false;
  const bool solid = context.fill == D3DFILL_SOLID;
  FourAtOnce four;
  four.clipLeft = _mm_set1_epi32(context.clip.left);
  four.clipTop = _mm_set1_epi32(context.clip.top);
  four.clipRight = _mm_set1_epi32(context.clip.right);
  four.clipBottom = _mm_set1_epi32(context.clip.bottom);
  four.keepNegative = context.cull != D3DCULL_CCW;
  four.keepPositive = context.cull != D3DCULL_CW;
  Rect extent = context.extent;
  bool drewAny = context.drewAny;
  size_t n = 0;
  uint32_t waiting[4];
  int waitingCount = 0;
  for (size_t k = 0; k < count; ++k) {
    const Triangle3D& t = triangles[k];
    if (t.v1 >= vertexCount || t.v2 >= vertexCount || t.v3 >= vertexCount) continue;
    const TLVertex &a = vertices[t.v1], &b = vertices[t.v2], &c = vertices[t.v3];
    if (a.clip & b.clip & c.clip & kOutsideBits) continue;
    if (solid && ((a.clip | b.clip | c.clip) & kMustClipBits) == 0) {
      waiting[waitingCount++] = static_cast<uint32_t>(k);
      if (waitingCount == 4) {
        n += four.measure(vertices, triangles, waiting, 4, out + n);
        waitingCount = 0;
      }
      continue;
    }
    if (waitingCount) {
      n += four.measure(vertices, triangles, waiting, waitingCount, out + n);
      waitingCount = 0;
    }
    slow.extent = Rect{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    drawTriangle(slow, a, b, c, t.flags);
    const Rect& e = slow.extent;
    if (e.top >= e.bottom) continue;
    extent = Rect{std::min(extent.left, e.left), std::min(extent.top, e.top), std::max(extent.right, e.right),
                  std::max(extent.bottom, e.bottom)};
    drewAny = true;
    out[n++] = MeasuredTriangle{static_cast<uint32_t>(k), e.top, e.bottom, true};
  }
  if (waitingCount) n += four.measure(vertices, triangles, waiting, waitingCount, out + n);
  const int fourTop = lowestOf(four.top);
  if (fourTop != INT_MAX) {
    extent = Rect{std::min(extent.left, lowestOf(four.left)), std::min(extent.top, fourTop),
                  std::max(extent.right, highestOf(four.right)), std::max(extent.bottom, highestOf(four.bottom))};
    drewAny = true;
  }
  context.extent = extent;
  context.drewAny = drewAny;
  return n;
}

void toScreenVertices(const RasterContext& context, const TLVertex* from, size_t count, ScreenVertex* to) {
  for (size_t i = 0; i < count; ++i) to[i] = ScreenVertex{from[i].sx, from[i].sy, from[i].sz, litColour(context, from[i])};
}

// [SECTION] Lines

void drawLine(RasterContext& context, const TLVertex& a, const TLVertex& b) {
  const float dx = b.sx - a.sx, dy = b.sy - a.sy;
  const int steps = std::max(1, static_cast<int>(std::ceil(std::max(std::fabs(dx), std::fabs(dy)))));
  const Rect clip = context.picking ? intersectRect(context.clip, context.pickRect) : context.clip;
  const bool addSpecular = context.specular;
  for (int i = 0; i <= steps; ++i) {
    const float t = static_cast<float>(i) / steps;
    const int x = static_cast<int>(std::floor(a.sx + dx * t)), y = static_cast<int>(std::floor(a.sy + dy * t));
    if (!clip.contains(x, y)) continue;
    const float z = a.sz + (b.sz - a.sz) * t;
    if (context.picking) {
      if (!context.hit || z < context.hitDepth) context.hitDepth = z;
      context.hit = true;
      continue;
    }
    growExtent(context, x, y, x + 1, y + 1);
    if (!context.colour) continue;
    float* zp = context.depth ? context.depth + static_cast<size_t>(y) * context.depthPitch + x : nullptr;
    if (zp && context.zTest && !depthPasses(context.zFunc, z, *zp)) continue;
    const TLVertex& s0 = a;
    const TLVertex& s1 = context.flat ? a : b;
    auto mixed = [&](int shift) {
      float value = channel(s0.colour, shift) + (channel(s1.colour, shift) - channel(s0.colour, shift)) * t;
      if (addSpecular) value += channel(s0.specular, shift) + (channel(s1.specular, shift) - channel(s0.specular, shift)) * t;
      return clampByte(static_cast<int>(value));
    };
    context.colour[static_cast<size_t>(y) * context.colourPitch + x] = pack(mixed(16), mixed(8), mixed(0));
    if (zp && context.zWrite) *zp = z;
  }
}

}  // namespace soft3d
