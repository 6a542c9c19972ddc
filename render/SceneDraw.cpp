// Drawing blocks: the one reusable execute buffer, the block buffer (body and studs), blocks with face
// pictures drawn face by face, the base plate with its studs one row at a time, and the selection box.
//
// Index: [SECTION] Extents  [SECTION] Executing  [SECTION] Block buffers  [SECTION] Blocks  [SECTION] Selection box
#include <algorithm>

#include "render/RenderDevice.h"
#include "render/SceneRenderer.h"
#include "scene/World.h"

// [SECTION] Extents

Rect screenRectOf(const SceneRenderer& r, const Block& block) {
  auto found = r.screenRects.find(block.serial);
  return found == r.screenRects.end() ? Rect{0, 0, -1, -1} : found->second;
}

Rect uniteExtent(const Rect& a, const Rect& b) {
  if (b.left >= b.right || b.top >= b.bottom) return a;
  if (a.left >= a.right || a.top >= a.bottom) return b;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

bool extentsOverlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

namespace {

constexpr uint32_t kMaxIndex = 0xFFFF;  // the device indexes vertices with 16 bits

// [SECTION] Executing

// The one buffer is kept while the size needed stays the same; another size makes a new one.
ExecuteBuffer& lockBuffer(SceneRenderer& r, size_t bytes) {
  if (bytes != r.executeBufferSize) {
    r.executeBuffer = ExecuteBuffer{};
    r.executeBufferSize = bytes;
  }
  r.executeBuffer.clear();
  r.executeBuffer.locked = true;
  return r.executeBuffer;
}

// Unlock, load the camera, draw. The status extent of what was drawn lands in executeData; false (and the
// inverted extent) when any step fails.
bool runBuffer(SceneRenderer& r) {
  ExecuteBuffer& b = r.executeBuffer;
  b.locked = false;
  r.executeData = ExecuteStatus{};
  if (!r.device || !r.direct3D) return false;
  if (failed(setMatrix(*r.device, r.worldMatrix, r.cameraMatrix))) return false;
  if (failed(beginScene(*r.device))) return false;
  const HResult result = execute(*r.device, b, r.viewport, D3DEXECUTE_CLIPPED);
  const HResult ended = endScene(*r.device);
  if (failed(result) || failed(ended)) return false;
  r.executeData = b.status;
  return true;
}

Rect drawnExtent(SceneRenderer& r) { return r.executeData.extent; }

Vertex3D toDevice(const Vertex& v) { return Vertex3D{v.x, v.y, v.z, v.nx, v.ny, v.nz, v.u, v.v}; }

void addTriangle(std::vector<Triangle3D>& out, int32_t a, int32_t b, int32_t c, uint16_t flags) {
  if (a < 0 || b < 0 || c < 0 || static_cast<uint32_t>(std::max({a, b, c})) > kMaxIndex) return;
  out.push_back(Triangle3D{static_cast<uint16_t>(a), static_cast<uint16_t>(b), static_cast<uint16_t>(c), flags});
}

void beginInstructions(SceneRenderer& /*r*/, ExecuteBuffer& b, uint32_t material) {
  b.setStatus(D3DSETSTATUS_STATUS | D3DSETSTATUS_EXTENTS, D3DSTATUS_DEFAULT, kExecuteStartExtent);
  b.stateLight({{D3DLIGHTSTATE_MATERIAL, material}});
  b.processVertices(D3DPROCESSVERTICES_TRANSFORMLIGHT, 0, 0, static_cast<uint32_t>(b.vertices.size()));
}

// The triangles go last; the byte offset of the first one is what pick records are counted from.
void endInstructions(SceneRenderer& r, ExecuteBuffer& b, const std::vector<Triangle3D>& triangles) {
  r.pickBase = static_cast<uint32_t>(b.instructionBytes()) + 4;
  b.triangleList(triangles.data(), triangles.size());
  b.exit();
}

void appendStuds(SceneRenderer& /*r*/, const Block& block, ExecuteBuffer& b, std::vector<Triangle3D>& triangles) {
  const size_t cells = std::min(block.studCells.size(), block.studVertices.size());
  for (size_t c = 0; c < cells; ++c) {
    const StudCell& cell = block.studCells[c];
    if (cell.visible != 1) continue;
    const size_t mesh = static_cast<size_t>(cell.cellIndex) < block.studVertices.size() ? cell.cellIndex : c;
    const int32_t base = static_cast<int32_t>(b.vertices.size());
    for (const Vertex& v : block.studVertices[mesh]) b.vertices.push_back(toDevice(v));
    for (int t = 0; t + 2 < 30; t += 3)
      addTriangle(triangles, base + block.studTriangles[t], base + block.studTriangles[t + 1],
                  base + block.studTriangles[t + 2], D3DTRIFLAG_EDGEENABLETRIANGLE);
  }
}

// [SECTION] Block buffers

size_t bodyVertexCount(const Block& block) {
  return std::min(block.vertices.size(), static_cast<size_t>(std::max(block.vertexCount, 0)));
}

size_t visibleStudCount(const Block& block) {
  const size_t cells = std::min(block.studCells.size(), block.studVertices.size());
  size_t n = 0;
  for (size_t c = 0; c < cells; ++c) n += block.studCells[c].visible == 1;
  return n;
}

size_t blockBufferBytes(const Block& block, size_t vertices) {
  const size_t triangles = isShapeKind(block.kind) ? vertices / 3 : vertices / 2;
  return 8 * (triangles + 4 * vertices) + 104;
}

}  // namespace

// Body vertices, then the studs still showing; one material for all. Shared with picking.
void prepareBlockBuffer(SceneRenderer& r, const Block& block) {
  const bool studs = r.drawStuds == 1;
  const size_t body = bodyVertexCount(block);
  const size_t count = body + (studs ? kStudVertexCount * visibleStudCount(block) : 0);
  ExecuteBuffer& b = lockBuffer(r, blockBufferBytes(block, count));
  b.vertices.reserve(count);
  for (size_t i = 0; i < body; ++i) b.vertices.push_back(toDevice(block.vertices[i]));
  std::vector<Triangle3D> triangles;
  const size_t triangleValues =
      std::min(block.triangles.size(), static_cast<size_t>(std::max(block.triangleCount, 0)) * 3);
  for (size_t t = 0; t + 3 <= triangleValues; t += 3) {
    const int32_t a = block.triangles[t], c1 = block.triangles[t + 1], c2 = block.triangles[t + 2];
    if (static_cast<size_t>(std::max({a, c1, c2})) >= body) continue;  // a damaged mesh loses the triangle only
    addTriangle(triangles, a, c1, c2, D3DTRIFLAG_EDGEENABLETRIANGLE);
  }
  if (studs) appendStuds(r, block, b, triangles);
  beginInstructions(r, b, materialHandle(*r.materials, block.faceMaterials[0]));
  b.stateRender({{D3DRENDERSTATE_TEXTUREHANDLE, 0},
                 {D3DRENDERSTATE_WRAPU, 0},
                 {D3DRENDERSTATE_WRAPV, 0},
                 {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID}});
  endInstructions(r, b, triangles);
}

namespace {

// The studs that are marked visible, in the given material; the plate's rows and pictured blocks use it.
void prepareStudBuffer(SceneRenderer& r, const Block& block, int32_t materialSlot) {
  const size_t n = kStudVertexCount * visibleStudCount(block);
  ExecuteBuffer& b = lockBuffer(r, 8 * (n / 2 + 4 * n + 12));
  std::vector<Triangle3D> triangles;
  appendStuds(r, block, b, triangles);
  beginInstructions(r, b, materialHandle(*r.materials, materialSlot));
  // Solid fill is set again because the selection box leaves the device drawing wire frames.
  b.stateRender({{D3DRENDERSTATE_TEXTUREHANDLE, 0},
                 {D3DRENDERSTATE_WRAPU, 0},
                 {D3DRENDERSTATE_WRAPV, 0},
                 {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID}});
  endInstructions(r, b, triangles);
}

void prepareFaceBuffer(SceneRenderer& r, const Block& block, int face) {
  ExecuteBuffer& b = lockBuffer(r, 240);
  for (int i = 0; i < 4; ++i) b.vertices.push_back(toDevice(block.vertices[4 * face + i]));
  std::vector<Triangle3D> triangles;
  addTriangle(triangles, 0, 1, 2, D3DTRIFLAG_EDGEENABLETRIANGLE);
  addTriangle(triangles, 2, 3, 0, D3DTRIFLAG_EDGEENABLETRIANGLE);
  beginInstructions(r, b, materialHandle(*r.materials, block.faceMaterials[face]));
  b.stateRender({{D3DRENDERSTATE_TEXTUREHANDLE, static_cast<uint32_t>(block.faceTextureHandles[face])},
                 {D3DRENDERSTATE_WRAPU, 0},
                 {D3DRENDERSTATE_WRAPV, 0},
                 {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID}});
  endInstructions(r, b, triangles);
}

bool hasFacePicture(const Block& block) {
  return std::any_of(block.faceTextureHandles.begin(), block.faceTextureHandles.end(),
                     [](int32_t h) { return h != 0; });
}

bool drawPicturedBlock(SceneRenderer& r, Block& block) {
  Rect covered = kEmptyExtent;
  bool allDrawn = block.vertices.size() >= 24;
  if (allDrawn) {
    for (int face = 0; face < 6; ++face) {
      prepareFaceBuffer(r, block, face);
      if (runBuffer(r))
        covered = uniteExtent(covered, drawnExtent(r));
      else
        allDrawn = false;
    }
  }
  if (r.drawStuds == 1) {
    prepareStudBuffer(r, block, block.studMaterial);
    if (runBuffer(r))
      covered = uniteExtent(covered, drawnExtent(r));
    else
      allDrawn = false;
  }
  r.screenRects[block.serial] = covered.left >= covered.right ? kExecuteStartExtent : covered;
  r.frameExtent = uniteExtent(r.frameExtent, covered);
  return allDrawn;
}

}  // namespace

// [SECTION] Blocks

bool drawBlock(SceneRenderer& r, Block& block) {
  if (block.kind == BasePlate) {
    drawBasePlate(r, block);
    return true;
  }
  if (hasFacePicture(block)) return drawPicturedBlock(r, block);
  prepareBlockBuffer(r, block);
  if (!runBuffer(r)) return false;
  const Rect drawn = drawnExtent(r);
  r.screenRects[block.serial] = drawn;
  r.frameExtent = uniteExtent(r.frameExtent, drawn);
  return true;
}

void drawBasePlate(SceneRenderer& r, Block& block) {
  for (StudCell& cell : block.studCells) cell.visible = 0;
  prepareBlockBuffer(r, block);
  if (runBuffer(r)) r.frameExtent = uniteExtent(r.frameExtent, drawnExtent(r));
  if (r.drawStuds != 1) return;
  const size_t columns = static_cast<size_t>(std::max(block.studsX, 0));
  const size_t rows = std::max(block.studsZ, 0);
  if (columns == 0 || block.studCells.size() < columns * rows) return;
  for (size_t row = 0; row < rows; ++row) {
    if (row > 0)
      for (size_t c = 0; c < columns; ++c) block.studCells[(row - 1) * columns + c].visible = 0;
    for (size_t c = 0; c < columns; ++c) block.studCells[row * columns + c].visible = 1;
    prepareStudBuffer(r, block, block.faceMaterials[0]);
    if (runBuffer(r)) r.frameExtent = uniteExtent(r.frameExtent, drawnExtent(r));
  }
}

void drawMovingSet(SceneRenderer& r, World& world) {
  r.frameExtent = kEmptyExtent;
  for (Block* block : world.movingSet.entries) drawBlock(r, *block);
}

// [SECTION] Selection box

namespace {

// The brick body's corners (signs only), shading values and picture coordinates, face by face.
struct BoxCorner {
  int8_t sx, sy, sz;
  float nx, ny, nz, u, v;
};
constexpr BoxCorner kBoxTemplate[24] = {
    {-1, 1, 1, 0, 0.6f, 0, 0.1f, 0},  {1, 1, 1, 0, 0.4f, 0, 0.1f, 0.1f}, {1, 1, -1, 0, 0.6f, 0, 0, 0.1f},
    {-1, 1, -1, 0, 1, 0, 0, 0},       {1, 1, -1, 0, 0.15f, -1, 1, 0},    {1, -1, -1, 0, 0.05f, -1, 1, 1},
    {-1, -1, -1, 0, 0.05f, -1, 0, 1}, {-1, 1, -1, 0, 0.15f, -1, 0, 0},   {1, 1, 1, 1, 0.15f, 0, 1, 0},
    {1, -1, 1, 1, 0.05f, 0, 1, 1},    {1, -1, -1, 1, 0.05f, 0, 0, 1},    {1, 1, -1, 1, 0.15f, 0, 0, 0},
    {-1, 1, 1, 0, 0.15f, 1, 1, 0},    {-1, -1, 1, 0, 0.05f, 1, 1, 1},    {1, -1, 1, 0, 0.05f, 1, 0, 1},
    {1, 1, 1, 0, 0.15f, 1, 0, 0},     {-1, -1, -1, -1, 0.2f, 0, 0, 1},   {-1, -1, 1, -1, 0.1f, 0, 1, 1},
    {-1, 1, 1, -1, 0.1f, 0, 1, 0},    {-1, 1, -1, -1, 0.2f, 0, 0, 0},    {1, -1, -1, 0, -1, 0, 1, 1},
    {1, -1, 1, 0, -1, 0, 0, 1},       {-1, -1, 1, 0, -1, 0, 0, 0},       {-1, -1, -1, 0, -1, 0, 1, 0},
};

// The white of the box is taken from the material table once per table generation.
int boxMaterialSlot(SceneRenderer& r) {
  MaterialTable& table = *r.materials;
  if (r.boxSlot < 0 || r.boxGeneration != table.generation || table.slots[r.boxSlot].references <= 0) {
    int32_t texture = 0;
    r.boxSlot = acquireMaterial(table, 1, 1, 1, 1, -1, texture);
    r.boxGeneration = table.generation;
  }
  return r.boxSlot;
}

}  // namespace

void drawSelectionBox(SceneRenderer& r, const Block& block) {
  const Vec3 lo{block.outerMin.x - 0.5f, block.outerMin.y, block.outerMin.z - 0.5f};
  const Vec3 hi{block.outerMax.x + 0.5f, block.outerMax.y, block.outerMax.z + 0.5f};
  ExecuteBuffer& b = lockBuffer(r, 968);
  for (const BoxCorner& c : kBoxTemplate)
    b.vertices.push_back(
        Vertex3D{c.sx < 0 ? lo.x : hi.x, c.sy < 0 ? lo.y : hi.y, c.sz < 0 ? lo.z : hi.z, c.nx, c.ny, c.nz, c.u, c.v});
  std::vector<Triangle3D> triangles;
  for (int f = 0; f < 6; ++f) {
    const int32_t v = 4 * f;
    addTriangle(triangles, v, v + 1, v + 2, D3DTRIFLAG_EDGEENABLE1 | D3DTRIFLAG_EDGEENABLE2);
    addTriangle(triangles, v + 2, v + 3, v, D3DTRIFLAG_EDGEENABLE1 | D3DTRIFLAG_EDGEENABLE2);
  }
  b.setStatus(D3DSETSTATUS_STATUS | D3DSETSTATUS_EXTENTS, D3DSTATUS_DEFAULT, kExecuteStartExtent);
  b.stateLight({{D3DLIGHTSTATE_MATERIAL, materialHandle(*r.materials, boxMaterialSlot(r))}});
  b.processVertices(D3DPROCESSVERTICES_TRANSFORMLIGHT, 0, 0, 24);
  b.stateRender({{D3DRENDERSTATE_TEXTUREHANDLE, 0},
                 {D3DRENDERSTATE_WRAPU, 0},
                 {D3DRENDERSTATE_WRAPV, 0},
                 {D3DRENDERSTATE_FILLMODE, D3DFILL_WIREFRAME}});
  endInstructions(r, b, triangles);
  if (!runBuffer(r)) return;
  r.frameExtent = uniteExtent(r.frameExtent, drawnExtent(r));
  r.lastExtent = r.frameExtent;
}
