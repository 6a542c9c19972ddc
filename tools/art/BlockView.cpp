// Block pictures through the software 3D device: one execute buffer per block (plates send their studs a
// row at a time), the view window's viewport, fixed view and projection, two grey lights and ambient 20.
#include "tools/art/BlockView.h"

#include <cmath>
#include <memory>

#include "platform/device3d.h"
#include "render/RenderView.h"
#include "scene/World.h"
#include "tools/art/BlockScene.h"

namespace {

D3DVector vec(float x, float y, float z) { return {x, y, z}; }
D3DVector cross(D3DVector a, D3DVector b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(D3DVector a, D3DVector b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DVector unit(D3DVector v) {
  const float l = std::sqrt(dot(v, v));
  return l > 0 ? D3DVector{v.x / l, v.y / l, v.z / l} : D3DVector{0, 1, 0};
}

// The camera matrix of the orbit camera: right, up and forward as columns, the eye moved to the origin.
D3DMatrix cameraMatrix(const OrbitCamera& c) {
  const double a = c.azimuth / 360.0 * 2 * M_PI, p = c.polar / 360.0 * 2 * M_PI;
  const float sp = float(std::sin(p)), cp = float(std::cos(p)), ca = float(std::cos(a)), sa = float(std::sin(a));
  const D3DVector toEye = vec(sp * ca, cp, sp * sa);
  const D3DVector forward = vec(-toEye.x, -toEye.y, -toEye.z);
  const D3DVector up = unit(vec(-sp * ca, 1 / cp - cp, -sp * sa));
  const D3DVector eye = vec(toEye.x * (c.distance - 1) + c.target.x, toEye.y * (c.distance - 1) + c.target.y,
                            toEye.z * (c.distance - 1) + c.target.z);
  const D3DVector right = cross(up, forward);
  D3DMatrix m;
  const D3DVector columns[3] = {right, up, forward};
  for (int k = 0; k < 3; ++k) {
    m.m[0][k] = k == 0 ? right.x : k == 1 ? up.x : forward.x;
    m.m[1][k] = k == 0 ? right.y : k == 1 ? up.y : forward.y;
    m.m[2][k] = k == 0 ? right.z : k == 1 ? up.z : forward.z;
    m.m[3][k] = -dot(columns[k], eye);
  }
  m.m[0][3] = m.m[1][3] = m.m[2][3] = 0;
  m.m[3][3] = 1;
  return m;
}

uint16_t to565(Rgb c) { return uint16_t(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3)); }
Rgb from565(uint16_t p) {
  return {uint8_t(((p >> 11) & 31) * 255 / 31), uint8_t(((p >> 5) & 63) * 255 / 63), uint8_t((p & 31) * 255 / 31)};
}

struct Studio {
  Direct3D d3d;
  Device3D device;
  std::unique_ptr<DisplaySurface> target, depth;
  ViewportHandle viewport = 0;
  MatrixHandle world = 0, view = 0, projection = 0;
  bool ready = false;

  Studio(int width, int height, Vec3 lightDirection) {
    if (failed(
            createSurface(kSurfaceOffscreen | kSurfaceRenderTarget, width, height, target)) ||
        failed(createSurface(kSurfaceDepth, width, height, depth)))
      return;
    target->attachedDepth = depth.get();
    if (failed(createDevice(d3d, *target, device)) || failed(createViewport(d3d, viewport)) ||
        failed(addViewport(device, viewport)))
      return;
    setViewport(d3d, viewport, programViewport(width, height));
    createMatrix(device, world);
    createMatrix(device, view);
    createMatrix(device, projection);
    D3DMatrix v, p;
    programViewMatrices(v, p);
    setMatrix(device, view, v);
    setMatrix(device, projection, p);
    LightHandle main = 0, overhead = 0;
    createLight(d3d, main);
    createLight(d3d, overhead);
    Light3D light1;
    light1.colour = {0.42f, 0.42f, 0.42f, 1};
    light1.direction = {lightDirection.x, lightDirection.y, lightDirection.z};
    light1.attenuation2 = 0.9f;
    Light3D light2;
    light2.colour = {0.46f, 0.46f, 0.46f, 1};
    light2.position = {0, 60, -1};
    light2.direction = {0, -1, 0};
    light2.attenuation2 = 0.9f;
    setLight(d3d, main, light1);
    setLight(d3d, overhead, light2);
    addLight(d3d, viewport, main);
    addLight(d3d, viewport, overhead);
    ExecuteBuffer setup;
    setup.stateTransform(
        {{D3DTRANSFORMSTATE_PROJECTION, projection}, {D3DTRANSFORMSTATE_VIEW, view}, {D3DTRANSFORMSTATE_WORLD, world}});
    setup.stateLight({{D3DLIGHTSTATE_AMBIENT, 0x14141414}});
    setup.exit();
    beginScene(device);
    ready = succeeded(execute(device, setup, viewport, D3DEXECUTE_UNCLIPPED));
    endScene(device);
  }

  // The block material: its colour as diffuse and ambient, a faint grey sheen.
  MaterialHandle material(const std::array<float, 4>& colour) {
    MaterialHandle handle = 0;
    if (failed(createMaterial(d3d, handle))) return 0;
    Material3D m;
    m.diffuse = m.ambient = {colour[0], colour[1], colour[2], colour[3]};
    m.specular = {0.9f, 0.9f, 0.9f, 0};
    m.power = 1.1f;
    m.rampSize = 256;
    setMaterial(d3d, handle, m);
    return handle;
  }

  void draw(MaterialHandle material, const std::vector<Vertex3D>& vertices, const std::vector<Triangle3D>& triangles) {
    if (vertices.empty() || triangles.empty()) return;
    ExecuteBuffer b;
    b.vertices = vertices;
    b.setStatus(D3DSETSTATUS_STATUS | D3DSETSTATUS_EXTENTS, D3DSTATUS_DEFAULT, Rect{2048, 2048, 0, 0});
    b.stateLight({{D3DLIGHTSTATE_MATERIAL, material}});
    b.processVertices(D3DPROCESSVERTICES_TRANSFORMLIGHT, 0, 0, uint32_t(vertices.size()));
    b.stateRender({{D3DRENDERSTATE_TEXTUREHANDLE, 0},
                   {D3DRENDERSTATE_WRAPU, 0},
                   {D3DRENDERSTATE_WRAPV, 0},
                   {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID}});
    b.triangleList(triangles.data(), triangles.size());
    b.exit();
    beginScene(device);
    execute(device, b, viewport, D3DEXECUTE_CLIPPED);
    endScene(device);
  }
};

Vertex3D toDevice(const Vertex& v) { return {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.u, v.v}; }

// The studs of the given cells appended to a buffer's lists.
void addStuds(const Block& block, const std::vector<int>& cells, std::vector<Vertex3D>& vertices,
              std::vector<Triangle3D>& triangles) {
  for (int cell : cells) {
    const int mesh = block.studCells[size_t(cell)].cellIndex;
    if (mesh < 0 || size_t(mesh) >= block.studVertices.size()) continue;
    if (vertices.size() + kStudVertexCount > 65535) return;
    const uint16_t base = uint16_t(vertices.size());
    for (const Vertex& v : block.studVertices[size_t(mesh)]) vertices.push_back(toDevice(v));
    for (int t = 0; t + 2 < 30; t += 3)
      triangles.push_back({uint16_t(base + block.studTriangles[size_t(t)]),
                           uint16_t(base + block.studTriangles[size_t(t + 1)]),
                           uint16_t(base + block.studTriangles[size_t(t + 2)]), D3DTRIFLAG_EDGEENABLETRIANGLE});
  }
}

void drawBlock(Studio& studio, const Block& block) {
  const MaterialHandle material = studio.material(block.colour);
  std::vector<Vertex3D> vertices;
  std::vector<Triangle3D> triangles;
  for (const Vertex& v : block.vertices) vertices.push_back(toDevice(v));
  const size_t count = std::min(block.triangles.size() / 3 * 3, size_t(65535) * 3);
  for (size_t t = 0; t + 2 < count; t += 3) {
    const int32_t a = block.triangles[t], b = block.triangles[t + 1], c = block.triangles[t + 2];
    if (a < 0 || b < 0 || c < 0 || size_t(a) >= vertices.size() || size_t(b) >= vertices.size() ||
        size_t(c) >= vertices.size() || vertices.size() > 65535)
      continue;
    triangles.push_back({uint16_t(a), uint16_t(b), uint16_t(c), D3DTRIFLAG_EDGEENABLETRIANGLE});
  }
  if (block.kind == BasePlate) {
    studio.draw(material, vertices, triangles);
    // A row of studs at a time, as the view sends a plate.
    for (int row = 0; row < block.studsZ; ++row) {
      std::vector<int> cells;
      for (int column = 0; column < block.studsX; ++column) {
        const int cell = row * block.studsX + column;
        if (size_t(cell) < block.studCells.size() && block.studCells[size_t(cell)].visible) cells.push_back(cell);
      }
      std::vector<Vertex3D> studVertices;
      std::vector<Triangle3D> studTriangles;
      addStuds(block, cells, studVertices, studTriangles);
      studio.draw(material, studVertices, studTriangles);
    }
  } else {
    std::vector<int> cells;
    for (size_t cell = 0; cell < block.studCells.size(); ++cell)
      if (block.studCells[cell].visible) cells.push_back(int(cell));
    addStuds(block, cells, vertices, triangles);
    studio.draw(material, vertices, triangles);
  }
  releaseMaterial(studio.d3d, material);
}

}  // namespace

BlockRendering renderBlocks(const std::vector<const Block*>& blocks, const OrbitCamera& camera, Vec3 lightDirection,
                            int width, int height, const Picture& background) {
  BlockRendering out;
  out.picture = Picture(width, height);
  out.covered.assign(size_t(width) * size_t(height), 0);
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return out;
  Studio studio(width, height, lightDirection);
  if (!studio.ready) return out;
  Surface& pixels = studio.target->pixels();
  if (background.width > 0 && background.height > 0) {
    const Picture sky = resizePicture(background, width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.row(y)[x] = to565(sky.at(x, y));
  } else {
    surfaceFill(*studio.target, nullptr, 0);
  }
  const Rect all{0, 0, width, height};
  clearViewport(studio.device, studio.viewport, &all, 1, D3DCLEAR_ZBUFFER);
  setMatrix(studio.device, studio.world, cameraMatrix(camera));
  for (const Block* block : blocks)
    if (block) drawBlock(studio, *block);
  DisplaySurface::finishDrawingOn(*studio.target);  // drawing on several threads lands before it is read
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      out.picture.set(x, y, from565(pixels.row(y)[x]));
      out.covered[size_t(y) * size_t(width) + size_t(x)] =
          studio.depth->depth[size_t(y) * size_t(width) + size_t(x)] < 1.0f;
    }
  return out;
}

std::vector<const Block*> sceneBlocks() {
  std::vector<const Block*> out;
  for (const auto& node : blockWorld().scene.nodes) out.push_back(node->block.get());
  return out;
}
