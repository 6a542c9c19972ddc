// What the renderer offers beside drawing: the material device behind the material table, the two scene
// lights and their turning, the camera matrix, projecting a world point and picking a block's face.
//
// Index: [SECTION] Materials  [SECTION] Lights  [SECTION] Camera  [SECTION] Projection and picking
#include <cmath>

#include "render/SceneRenderer.h"
#include "scene/World.h"

void prepareBlockBuffer(SceneRenderer& r, const Block& block);

// [SECTION] Materials

namespace {

class RendererMaterials final : public MaterialDevice {
public:
  explicit RendererMaterials(SceneRenderer& renderer) : r(renderer) {}
  int32_t textureHandle(int32_t textureIndex) override {
    if (textureIndex < 0 || textureIndex >= static_cast<int32_t>(r.textureHandles.size())) return 0;
    return static_cast<int32_t>(r.textureHandles[textureIndex]);
  }
  uint32_t createMaterial(const MaterialValues& values) override {
    if (!r.direct3D) return 0;
    MaterialHandle handle = 0;
    if (failed(::createMaterial(*r.direct3D, handle))) return 0;
    Material3D m;
    m.diffuse = {values.diffuse[0], values.diffuse[1], values.diffuse[2], values.diffuse[3]};
    m.ambient = {values.ambient[0], values.ambient[1], values.ambient[2], values.ambient[3]};
    m.specular = {values.specular[0], values.specular[1], values.specular[2], values.specular[3]};
    m.emissive = {values.emissive[0], values.emissive[1], values.emissive[2], values.emissive[3]};
    m.power = values.power;
    m.texture = static_cast<TextureHandle>(std::max(values.textureHandle, 0));
    m.rampSize = values.rampSize;
    if (failed(setMaterial(*r.direct3D, handle, m))) {
      ::releaseMaterial(*r.direct3D, handle);
      return 0;
    }
    return handle;
  }
  void releaseMaterial(uint32_t handle) override {
    if (r.direct3D && handle) ::releaseMaterial(*r.direct3D, handle);
  }
private:
  SceneRenderer& r;
};

}  // namespace

void attachWorld(SceneRenderer& r, World& world) {
  r.materials = &world.materials;
  if (!r.materialDevice) r.materialDevice = std::make_unique<RendererMaterials>(r);
  setMaterialDevice(world.materials, r.materialDevice.get());
}

// [SECTION] Lights

namespace {

D3DVector toD3D(Vec3 v) { return D3DVector{v.x, v.y, v.z}; }

Light3D mainLight(SceneRenderer& /*r*/, World& world) {
  Light3D light;
  light.type = LightType::Directional;
  light.colour = {0.42f, 0.42f, 0.42f, 1.0f};
  light.position = toD3D(world.view.lightPosition);
  light.direction = toD3D(world.view.lightDirection);
  light.attenuation2 = 0.9f;
  return light;
}

bool makeLight(SceneRenderer& r, LightHandle& handle, const Light3D& light) {
  if (failed(createLight(*r.direct3D, handle))) {
    handle = 0;
    return false;
  }
  return succeeded(setLight(*r.direct3D, handle, light)) && succeeded(addLight(*r.direct3D, r.viewport, handle));
}

}  // namespace

bool addSceneLights(SceneRenderer& r, World& world) {
  Light3D fill;
  fill.type = LightType::Directional;
  fill.colour = {0.46f, 0.46f, 0.46f, 1.0f};
  fill.position = {0, 60, -1};
  fill.direction = {0, -1, 0};
  fill.attenuation2 = 0.9f;
  const bool first = makeLight(r, r.light1, mainLight(r, world));
  return makeLight(r, r.light2, fill) && first;
}

void rotateLight(SceneRenderer& r, World& world, float angle) {
  if (!r.direct3D || !r.light1) return;
  Light3D light;
  if (failed(getLight(*r.direct3D, r.light1, light))) return;
  deleteLight(*r.direct3D, r.viewport, r.light1);
  const double phi = angle / 360.0 * 2 * M_PI;
  const float c = static_cast<float>(std::cos(phi)), s = static_cast<float>(std::sin(phi));
  auto turn = [c, s](Vec3& v) { v = Vec3{c * v.x - s * v.z, v.y, c * v.z + s * v.x}; };
  turn(world.view.lightPosition);
  turn(world.view.lightDirection);
  light.position = toD3D(world.view.lightPosition);
  light.direction = toD3D(world.view.lightDirection);
  setLight(*r.direct3D, r.light1, light);
  addLight(*r.direct3D, r.viewport, r.light1);
}

// [SECTION] Camera

namespace {
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
}  // namespace

void setCamera(SceneRenderer& r, Vec3 eye, Vec3 forward, Vec3 up, Vec3 right) {
  D3DMatrix& m = r.cameraMatrix;
  m.m[0][0] = right.x; m.m[0][1] = up.x; m.m[0][2] = forward.x; m.m[0][3] = 0;
  m.m[1][0] = right.y; m.m[1][1] = up.y; m.m[1][2] = forward.y; m.m[1][3] = 0;
  m.m[2][0] = right.z; m.m[2][1] = up.z; m.m[2][2] = forward.z; m.m[2][3] = 0;
  m.m[3][0] = -dot(right, eye); m.m[3][1] = -dot(up, eye); m.m[3][2] = -dot(forward, eye); m.m[3][3] = 1;
}

// [SECTION] Projection and picking

Vec3 projectPoint(SceneRenderer& r, float x, float y, float z) {
  if (!r.device || !r.worldMatrix) return Vec3{};
  // The camera may have moved since the last block was drawn.
  setMatrix(*r.device, r.worldMatrix, r.cameraMatrix);
  const Vertex3D in{x, y, z, 0, 0, 0, 0, 0};
  TLVertex out;
  uint32_t offScreen = 0;
  if (failed(transformVertices(*r.device, r.viewport, &in, &out, 1, D3DTRANSFORM_CLIPPED, offScreen)) || offScreen != 0)
    return Vec3{};
  return Vec3{out.sx, out.sy, out.sz};
}

float pickFace(SceneRenderer& r, Block& block, const Rect& rect, int& face) {
  if (!r.device || !r.worldMatrix) return kFloatMax;
  const int studs = r.drawStuds;
  r.drawStuds = 0;
  prepareBlockBuffer(r, block);
  r.drawStuds = studs;
  r.executeBuffer.locked = false;
  setMatrix(*r.device, r.worldMatrix, r.cameraMatrix);
  if (failed(pick(*r.device, r.executeBuffer, r.viewport, 0, rect))) return kFloatMax;
  const std::vector<PickRecord>& records = pickRecords(*r.device);
  if (records.empty()) return kFloatMax;
  const PickRecord& first = records.front();
  if (first.offset >= r.pickBase) face = static_cast<int>((first.offset - r.pickBase) / 16);
  return first.depth;
}
