// Running execute buffers: vertex transformation and lighting, state changes, triangles through the
// rasteriser, status extents, picking, TransformVertices and viewport clears.
//
// Index: [SECTION] Transform and lighting  [SECTION] Contexts  [SECTION] Execute and pick
//        [SECTION] TransformVertices  [SECTION] Clear
#include <algorithm>
#include <cmath>
#include <cstring>

#include <emmintrin.h>

#include "platform/soft3d/BandWorkers.h"
#include "platform/soft3d/DrawQueue.h"
#include "platform/soft3d/Raster.h"

using namespace soft3d;

namespace {

// [SECTION] Transform and lighting

bool liveHandle(const std::vector<bool>& live, uint32_t handle) { return handle >= 1 && handle <= live.size() && live[handle - 1]; }

D3DMatrix matrixOrIdentity(const Device3D& device, MatrixHandle handle) {
  D3DMatrix m;
  if (liveHandle(device.matrixLive, handle)) m = device.matrices[handle - 1];
  return m;
}

// A world-space direction seen in model space: through the transpose of the world matrix's upper 3 x 3,
// which inverts it for the rotations the camera builds.
D3DVector toModel(const D3DMatrix& world, const D3DVector& d) {
  return D3DVector{world.m[0][0] * d.x + world.m[0][1] * d.y + world.m[0][2] * d.z,
                   world.m[1][0] * d.x + world.m[1][1] * d.y + world.m[1][2] * d.z,
                   world.m[2][0] * d.x + world.m[2][1] * d.y + world.m[2][2] * d.z};
}

D3DVector normalised(D3DVector v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (length > 0) v = D3DVector{v.x / length, v.y / length, v.z / length};
  return v;
}

struct PreparedLight {
  D3DVector toLight;  // model space, unit length
  D3DVector half;     // halfway between the light and the viewer, model space
  D3DColourValue colour;
};

// The specular power curve, tabulated once per power: pow() per vertex would cost more than the rest of
// the lighting together.
struct PowerTable {
  float power = -1;
  float values[1025];
  void build(float p) {
    if (p == power) return;
    power = p;
    for (int i = 0; i <= 1024; ++i) values[i] = p <= 0 ? 1.0f : std::pow(i / 1024.0f, p);
  }
  float at(float x) const { return values[static_cast<int>(std::min(x, 1.0f) * 1024.0f)]; }
};
thread_local PowerTable powerTable;

// Lit colours by normal for one vertex run (see below). Entries carry the number of the run that made
// them, so a new run starts with none of them without clearing the table.
struct LitNormal {
  __m128i key = _mm_setzero_si128();
  uint32_t colour = 0, specular = 0;
};
struct LitCache {
  LitNormal entries[64];
  uint32_t run = 0;
  // The next run's number; when the count wraps round the table is cleared so no old entry can match.
  uint32_t nextRun() {
    if (++run == 0) {
      for (LitNormal& e : entries) e = LitNormal{};
      run = 1;
    }
    return run;
  }
};
thread_local LitCache litCache;

void processVertices(Device3D& device, const Viewport3D& viewport, const ExecuteBuffer& buffer, const Instruction& in,
                     bool light) {
  const ViewportData& vp = viewport.data;
  const size_t end = static_cast<size_t>(in.start) + in.count;
  // Triangles index vertices with 16 bits, so nothing beyond 65536 could ever be drawn.
  if (end > buffer.vertices.size() || static_cast<size_t>(in.dest) + in.count > 65536) return;
  if (device.transformed.size() < static_cast<size_t>(in.dest) + in.count) device.transformed.resize(static_cast<size_t>(in.dest) + in.count);
  const D3DMatrix world = matrixOrIdentity(device, device.world);
  const D3DMatrix m = multiply(multiply(world, matrixOrIdentity(device, device.view)), matrixOrIdentity(device, device.projection));
  const D3DMatrix view = matrixOrIdentity(device, device.view);

  Material3D material;
  if (device.d3d && liveHandle(device.d3d->materialLive, device.material)) material = device.d3d->materials[device.material - 1];
  PreparedLight lights[8];
  int lightCount = 0;
  if (light && device.d3d) {
    // The viewer looks along the view's forward axis; the viewer direction points back along it.
    const D3DVector toViewer = normalised(toModel(world, D3DVector{-view.m[0][2], -view.m[1][2], -view.m[2][2]}));
    for (LightHandle h : viewport.lights) {
      if (lightCount == 8 || !liveHandle(device.d3d->lightLive, h)) continue;
      const Light3D& l = device.d3d->lights[h - 1];
      PreparedLight& p = lights[lightCount++];
      const D3DVector direction = l.type == LightType::Directional ? l.direction : D3DVector{-l.position.x, -l.position.y, -l.position.z};
      p.toLight = normalised(toModel(world, D3DVector{-direction.x, -direction.y, -direction.z}));
      p.half = normalised(D3DVector{p.toLight.x + toViewer.x, p.toLight.y + toViewer.y, p.toLight.z + toViewer.z});
      p.colour = l.colour;
    }
    powerTable.build(material.power);
  }
  const float ambientR = ((device.ambient >> 16) & 255) / 255.0f, ambientG = ((device.ambient >> 8) & 255) / 255.0f,
              ambientB = (device.ambient & 255) / 255.0f;
  const float baseR = material.emissive.r + material.ambient.r * ambientR;
  const float baseG = material.emissive.g + material.ambient.g * ambientG;
  const float baseB = material.emissive.b + material.ambient.b * ambientB;
  // A material without a power has no highlight (a power of 0 would otherwise light every face fully).
  const bool specular = material.power > 0 && (material.specular.r > 0 || material.specular.g > 0 || material.specular.b > 0);
  // The four side planes at once: -x, x, y, -y against the limits times w give the left, right, top and
  // bottom bits in order (negating is exact, so -x > l * w is x < -l * w).
  const float gx = kGuardBand * vp.maxX, gy = kGuardBand * vp.maxY;
  const __m128 signs = _mm_setr_ps(-1.0f, 1.0f, 1.0f, -1.0f);
  const __m128 visible = _mm_setr_ps(vp.maxX, vp.maxX, vp.maxY, vp.maxY), guard = _mm_setr_ps(gx, gx, gy, gy);
  const __m128i keyMask = _mm_setr_epi32(-1, -1, -1, 0);
  const __m128i keyTag = _mm_setr_epi32(0, 0, 0, static_cast<int>(light ? litCache.nextRun() : 0));
  const float centreX = vp.x + vp.width * 0.5f, centreY = vp.y + vp.height * 0.5f;

  // The position goes through the matrix as one vector, row by row in the same order as the scalar sum
  // (x m0 + y m1 + z m2 + m3), and the screen position comes out as [sx, sy, sz] with the same operations:
  // subtracting a product is adding its negation, and adding -0 leaves depth exactly as it was.
  const __m128 row0 = _mm_loadu_ps(m.m[0]), row1 = _mm_loadu_ps(m.m[1]), row2 = _mm_loadu_ps(m.m[2]), row3 = _mm_loadu_ps(m.m[3]);
  const __m128 screenScale = _mm_setr_ps(vp.scaleX, -vp.scaleY, 1.0f, 1.0f);
  const __m128 screenCentre = _mm_setr_ps(centreX, centreY, -0.0f, 0.0f);
  const Vertex3D* source = buffer.vertices.data() + in.start;
  TLVertex* out = device.transformed.data() + in.dest;
  for (uint32_t i = 0; i < in.count; ++i) {
    const Vertex3D& s = source[i];
    TLVertex& t = out[i];
    // Source vertices are read once a frame: fetched ahead, and without pushing the frame's pixels out
    // of the larger caches.
    _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(source + i) + 16 * sizeof(Vertex3D)), _MM_HINT_NTA);
    const __m128 c = _mm_add_ps(_mm_add_ps(_mm_add_ps(_mm_mul_ps(_mm_set1_ps(s.x), row0), _mm_mul_ps(_mm_set1_ps(s.y), row1)),
                                           _mm_mul_ps(_mm_set1_ps(s.z), row2)),
                                row3);
    _mm_storeu_ps(&t.cx, c);
    const float w = _mm_cvtss_f32(_mm_shuffle_ps(c, c, _MM_SHUFFLE(3, 3, 3, 3)));
    const float cz = _mm_cvtss_f32(_mm_shuffle_ps(c, c, _MM_SHUFFLE(2, 2, 2, 2)));
    const __m128 sides = _mm_mul_ps(_mm_shuffle_ps(c, c, _MM_SHUFFLE(1, 1, 0, 0)), signs), ws = _mm_set1_ps(w);
    uint32_t clip = static_cast<uint32_t>(_mm_movemask_ps(_mm_cmpgt_ps(sides, _mm_mul_ps(visible, ws)))) |
                    static_cast<uint32_t>(_mm_movemask_ps(_mm_cmpgt_ps(sides, _mm_mul_ps(guard, ws)))) << 12;
    if (cz < 0 || w <= 0) clip |= D3DCLIP_FRONT;
    if (cz > w) clip |= D3DCLIP_BACK;
    t.clip = clip;
    if (w > 0) {
      const float rhw = 1.0f / w;
      const __m128 screen = _mm_add_ps(screenCentre, _mm_mul_ps(_mm_mul_ps(c, _mm_set1_ps(rhw)), screenScale));
      const __m128 zw = _mm_unpackhi_ps(screen, _mm_set1_ps(rhw));  // sz, rhw, -, rhw
      _mm_storeu_ps(&t.sx, _mm_shuffle_ps(screen, zw, _MM_SHUFFLE(1, 0, 1, 0)));
    }
    t.u = s.u;
    t.v = s.v;
    if (!light) {
      t.colour = 0xFFFFFFFF;
      t.specular = 0;
      continue;
    }
    // With directional lights and a distant viewer the lit colour depends on the normal alone, and a
    // buffer holds few distinct normals (every stud of a plate row has the same twenty), so results are
    // kept by normal for the rest of this vertex run. The key is the normal's bits with the run's number
    // in place of u, so that an entry from another run (or an empty one, all zero) never matches.
    const __m128i key = _mm_or_si128(_mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&s.nx)), keyMask), keyTag);
    uint32_t nxBits, nyBits, nzBits;
    std::memcpy(&nxBits, &s.nx, 4);
    std::memcpy(&nyBits, &s.ny, 4);
    std::memcpy(&nzBits, &s.nz, 4);
    LitNormal& cached = litCache.entries[((nxBits * 2654435761u) ^ (nyBits * 40503u) ^ (nzBits * 2246822519u)) >> 26];
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(key, cached.key)) == 0xFFFF) {
      t.colour = cached.colour;
      t.specular = cached.specular;
      continue;
    }
    float dr = 0, dg = 0, db = 0, sr = 0, sg = 0, sb = 0;
    for (int k = 0; k < lightCount; ++k) {
      const PreparedLight& l = lights[k];
      const float lambert = s.nx * l.toLight.x + s.ny * l.toLight.y + s.nz * l.toLight.z;
      if (lambert <= 0) continue;
      dr += lambert * l.colour.r;
      dg += lambert * l.colour.g;
      db += lambert * l.colour.b;
      if (specular) {
        const float facing = s.nx * l.half.x + s.ny * l.half.y + s.nz * l.half.z;
        if (facing > 0) {
          const float highlight = powerTable.at(facing);
          sr += highlight * l.colour.r;
          sg += highlight * l.colour.g;
          sb += highlight * l.colour.b;
        }
      }
    }
    auto byte = [](float v) { return static_cast<int>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    t.colour = packColour(byte(material.diffuse.a), byte(baseR + material.diffuse.r * dr),
                          byte(baseG + material.diffuse.g * dg), byte(baseB + material.diffuse.b * db));
    t.specular = packColour(0, byte(sr * material.specular.r), byte(sg * material.specular.g), byte(sb * material.specular.b));
    cached = LitNormal{key, t.colour, t.specular};
  }
}

// [SECTION] Contexts

void makeContext(Device3D& device, const Viewport3D& viewport, RasterContext& c) {
  DisplaySurface* target = device.target;
  // Drawing queued by another device lands first; this device's own queue keeps its order by itself.
  for (DisplaySurface* s : {target, target->attachedDepth})
    if (s && s->queuedDrawing && s->queuedDrawing != device.drawQueue.get()) DisplaySurface::finishDrawingOn(*s);
  Surface& pixels = target->pixelsAsDrawn();
  const ViewportData& vp = viewport.data;
  c.colour = pixels.pixels.empty() ? nullptr : pixels.pixels.data();
  c.colourPitch = pixels.width;
  c.clip = intersectRect(Rect{vp.x, vp.y, vp.x + vp.width, vp.y + vp.height}, pixels.bounds());
  DisplaySurface* z = target->attachedDepth;
  if (z && z->depthWidth == pixels.width && z->depthHeight == pixels.height) {
    c.depth = z->depth.data();
    c.depthPitch = z->depthWidth;
  }
  const uint32_t* s = device.renderStates;
  c.zTest = s[D3DRENDERSTATE_ZENABLE] != 0;
  c.zWrite = s[D3DRENDERSTATE_ZWRITEENABLE] != 0;
  c.zFunc = s[D3DRENDERSTATE_ZFUNC];
  c.flat = s[D3DRENDERSTATE_SHADEMODE] == D3DSHADE_FLAT;
  c.specular = s[D3DRENDERSTATE_SPECULARENABLE] != 0;
  c.cull = s[D3DRENDERSTATE_CULLMODE];
  c.fill = s[D3DRENDERSTATE_FILLMODE];
  c.decal = s[D3DRENDERSTATE_TEXTUREMAPBLEND] == D3DTBLEND_DECAL;
  const TextureHandle texture = s[D3DRENDERSTATE_TEXTUREHANDLE];
  c.texture = liveHandle(device.textureLive, texture) && !device.textures[texture - 1].texels.empty()
                  ? &device.textures[texture - 1]
                  : nullptr;
  c.centreX = vp.x + vp.width * 0.5f;
  c.centreY = vp.y + vp.height * 0.5f;
  c.scaleX = vp.scaleX;
  c.scaleY = vp.scaleY;
  c.guardX = kGuardBand * vp.maxX;
  c.guardY = kGuardBand * vp.maxY;
}

void applyStates(Device3D& device, const ExecuteBuffer& buffer, const Instruction& in) {
  if (static_cast<size_t>(in.start) + in.count > buffer.states.size()) return;
  for (uint32_t k = 0; k < in.count; ++k) {
    const StateValue& sv = buffer.states[in.start + k];
    if (in.op == Op::StateRender) {
      if (sv.state < kRenderStateCount) device.renderStates[sv.state] = sv.value;
    } else if (in.op == Op::StateLight) {
      float f;
      std::memcpy(&f, &sv.value, sizeof f);
      switch (sv.state) {
        case D3DLIGHTSTATE_MATERIAL: device.material = sv.value; break;
        case D3DLIGHTSTATE_AMBIENT: device.ambient = sv.value; break;
        case D3DLIGHTSTATE_FOGMODE: device.fogMode = sv.value; break;
        case D3DLIGHTSTATE_FOGSTART: device.fogStart = f; break;
        case D3DLIGHTSTATE_FOGEND: device.fogEnd = f; break;
        default: break;
      }
    } else {
      switch (sv.state) {
        case D3DTRANSFORMSTATE_WORLD: device.world = sv.value; break;
        case D3DTRANSFORMSTATE_VIEW: device.view = sv.value; break;
        case D3DTRANSFORMSTATE_PROJECTION: device.projection = sv.value; break;
        default: break;
      }
    }
  }
}

// [SECTION] Execute and pick

BandWorkers* workersFor(Device3D& device) {
  if (!device.bandsChosen) {
    device.bandsChosen = true;
    const int bands = bandCountFor(device.renderThreads);
    device.bandWorkers = bands > 1 ? std::make_shared<BandWorkers>(bands) : nullptr;
  }
  return device.bandWorkers.get();
}

// With several threads a device queues its triangles and fills them together later (see DrawQueue).
DrawQueue* queueFor(Device3D& device) {
  if (!workersFor(device)) return nullptr;
  if (!device.drawQueue) device.drawQueue = std::make_shared<DrawQueue>(device.bandWorkers);
  return device.drawQueue.get();
}

void drawTriangles(RasterContext& context, const Device3D& device, const ExecuteBuffer& buffer, size_t start, size_t count) {
  const size_t vertexCount = device.transformed.size();
  const TLVertex* vertices = device.transformed.data();
  const Triangle3D* triangles = buffer.triangles.data() + start;
  for (size_t k = 0; k < count; ++k) {
    const Triangle3D& t = triangles[k];
    if (t.v1 >= vertexCount || t.v2 >= vertexCount || t.v3 >= vertexCount) continue;
    drawListedTriangle(context, vertices[t.v1], vertices[t.v2], vertices[t.v3], t.flags);
  }
}

// Runs the instructions; when picking, triangles are tested against the pick rectangle instead of drawn.
HResult run(Device3D& device, ExecuteBuffer& buffer, ViewportHandle viewportHandle, const Rect* pickRect) {
  if (!device.d3d || !device.target) return kErrorInvalidDevice;
  if (!liveHandle(device.d3d->viewportLive, viewportHandle)) return kErrorInvalidHandle;
  const Viewport3D& viewport = device.d3d->viewports[viewportHandle - 1];
  if (!viewport.dataSet) return kErrorViewportDataNotSet;
  if (buffer.locked) return kErrorExecuteLocked;
  uint32_t offset = 0;
  for (const Instruction& in : buffer.instructions) {
    offset += 4;
    switch (in.op) {
      case Op::ProcessVertices:
        processVertices(device, viewport, buffer, in, in.flags == D3DPROCESSVERTICES_TRANSFORMLIGHT);
        offset += 16;
        break;
      case Op::SetStatus:
        if (in.flags & D3DSETSTATUS_STATUS) buffer.status.status = in.status;
        if (in.flags & D3DSETSTATUS_EXTENTS) buffer.status.extent = in.extent;
        offset += 24;
        break;
      case Op::StateLight:
      case Op::StateRender:
      case Op::StateTransform:
        applyStates(device, buffer, in);
        offset += 8 * in.count;
        break;
      case Op::Triangle: {
        RasterContext context;
        makeContext(device, viewport, context);
        context.extent = buffer.status.extent;
        if (pickRect) {
          context.picking = true;
          context.pickRect = pickRect->empty() ? Rect{pickRect->left, pickRect->top, pickRect->left + 1, pickRect->top + 1}
                                               : *pickRect;
        }
        const size_t count = std::min<size_t>(in.count, buffer.triangles.size() - std::min<size_t>(in.start, buffer.triangles.size()));
        if (!pickRect) {
          if (DrawQueue* queue = queueFor(device))
            queueTriangles(*queue, context, *device.target, device.transformed.data(), device.transformed.size(),
                           buffer.triangles.data() + in.start, count);
          else
            drawTriangles(context, device, buffer, in.start, count);
          buffer.status.extent = context.extent;
          offset += 8 * in.count;
          break;
        }
        const size_t vertexCount = device.transformed.size();
        for (size_t k = 0; k < count; ++k) {
          const Triangle3D& t = buffer.triangles[in.start + k];
          if (t.v1 >= vertexCount || t.v2 >= vertexCount || t.v3 >= vertexCount) continue;
          context.hit = false;
          drawTriangle(context, device.transformed[t.v1], device.transformed[t.v2], device.transformed[t.v3], t.flags);
          if (context.picking && context.hit)
            device.pickRecords.push_back(PickRecord{static_cast<uint8_t>(Op::Triangle), offset + 8 * static_cast<uint32_t>(k), context.hitDepth});
        }
        if (!pickRect) buffer.status.extent = context.extent;
        offset += 8 * in.count;
        break;
      }
      case Op::Exit:
        return kResultOk;
    }
  }
  return kResultOk;
}

}  // namespace

HResult execute(Device3D& device, ExecuteBuffer& buffer, ViewportHandle viewport, uint32_t) {
  if (!device.inScene) return kErrorSceneNotInScene;
  return run(device, buffer, viewport, nullptr);
}

HResult pick(Device3D& device, ExecuteBuffer& buffer, ViewportHandle viewport, uint32_t, const Rect& rect) {
  device.pickRecords.clear();
  return run(device, buffer, viewport, &rect);
}

const std::vector<PickRecord>& pickRecords(const Device3D& device) { return device.pickRecords; }

void setRenderThreads(Device3D& device, int count) {
  device.drawQueue.reset();  // what it holds lands first
  device.renderThreads = std::max(0, count);
  device.bandWorkers.reset();
  device.bandsChosen = false;
}

int renderThreadCount(Device3D& device) {
  BandWorkers* workers = workersFor(device);
  return workers ? workers->bands() : 1;
}

// [SECTION] TransformVertices

HResult transformVertices(Device3D& device, ViewportHandle viewportHandle, const Vertex3D* in, TLVertex* out,
                          size_t count, uint32_t flags, uint32_t& offScreen) {
  offScreen = 0;
  if (!device.d3d || !liveHandle(device.d3d->viewportLive, viewportHandle)) return kErrorInvalidHandle;
  const Viewport3D& viewport = device.d3d->viewports[viewportHandle - 1];
  if (!viewport.dataSet) return kErrorViewportDataNotSet;
  if (count == 0) return kResultOk;
  // More vertices than one run may hold are refused: the vertex stage would leave them untransformed.
  if (!in || !out || count > 65536) return kErrorInvalidParams;
  ExecuteBuffer scratch;
  scratch.vertices.assign(in, in + count);
  Instruction instruction;
  instruction.op = Op::ProcessVertices;
  instruction.count = static_cast<uint32_t>(count);
  std::vector<TLVertex> saved;
  saved.swap(device.transformed);
  processVertices(device, viewport, scratch, instruction, false);
  uint32_t all = ~0u;
  for (size_t i = 0; i < count; ++i) {
    out[i] = device.transformed[i];
    out[i].clip &= kOutsideBits;
    all &= out[i].clip;
  }
  device.transformed.swap(saved);
  if (flags == D3DTRANSFORM_CLIPPED) offScreen = all;
  return kResultOk;
}

// [SECTION] Clear

HResult clearViewport(Device3D& device, ViewportHandle viewportHandle, const Rect* rects, size_t count, uint32_t flags) {
  if (!device.d3d || !device.target) return kErrorInvalidDevice;
  if (!liveHandle(device.d3d->viewportLive, viewportHandle)) return kErrorInvalidHandle;
  const Viewport3D& viewport = device.d3d->viewports[viewportHandle - 1];
  if (!viewport.dataSet) return kErrorViewportDataNotSet;
  if (count > 0 && !rects) return kErrorInvalidParams;
  DisplaySurface& target = *device.target;
  const ViewportData& vp = viewport.data;
  const Rect area = intersectRect(Rect{vp.x, vp.y, vp.x + vp.width, vp.y + vp.height}, target.pixels().bounds());
  DisplaySurface* z = target.attachedDepth;

  // The background: its material's texture stretched over the whole viewport, else its diffuse colour.
  const TextureImage* picture = nullptr;
  uint16_t colour = 0;
  if (device.d3d && liveHandle(device.d3d->materialLive, viewport.background)) {
    const Material3D& m = device.d3d->materials[viewport.background - 1];
    auto byte = [](float v) { return static_cast<int>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    colour = rgb565(byte(m.diffuse.r), byte(m.diffuse.g), byte(m.diffuse.b));
    if (liveHandle(device.textureLive, m.texture) && !device.textures[m.texture - 1].texels.empty())
      picture = &device.textures[m.texture - 1];
  }
  std::vector<int> columns;
  if (picture) {
    columns.resize(vp.width);
    for (int x = 0; x < vp.width; ++x) columns[x] = static_cast<int>(static_cast<int64_t>(x) * picture->width / vp.width);
  }
  Surface& pixels = target.pixels();
  for (size_t i = 0; i < count; ++i) {
    const Rect r = intersectRect(rects[i], area);
    if (r.empty()) continue;
    if (flags & D3DCLEAR_TARGET) {
      for (int y = r.top; y < r.bottom; ++y) {
        uint16_t* row = pixels.row(y);
        if (!picture) {
          std::fill(row + r.left, row + r.right, colour);
          continue;
        }
        const int ty = static_cast<int>(static_cast<int64_t>(y - vp.y) * picture->height / vp.height);
        const uint32_t* texels = picture->texels.data() + static_cast<size_t>(ty) * picture->width;
        for (int x = r.left; x < r.right; ++x) {
          const uint32_t t = texels[columns[x - vp.x]];
          row[x] = rgb565((t >> 16) & 255, (t >> 8) & 255, t & 255);
        }
      }
    }
    if ((flags & D3DCLEAR_ZBUFFER) && z) surfaceFillDepth(*z, &r, 1.0f);
  }
  if (flags & D3DCLEAR_TARGET) surfacePresented(target);
  return kResultOk;
}
