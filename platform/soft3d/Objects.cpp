// The 3D device's objects held by handle (materials, lights, viewports, matrices, textures), the device
// itself, and the builders of typed execute buffers.
//
// Index: [SECTION] Handles  [SECTION] Materials and lights  [SECTION] Viewports  [SECTION] Device
//        [SECTION] Textures  [SECTION] Execute buffers
#include <cstring>

#include "platform/device3d.h"

// [SECTION] Handles

namespace {

template <class T>
uint32_t addObject(std::vector<T>& objects, std::vector<bool>& live) {
  for (size_t i = 0; i < live.size(); ++i) {
    if (!live[i]) {
      objects[i] = T{};
      live[i] = true;
      return static_cast<uint32_t>(i + 1);
    }
  }
  objects.emplace_back();
  live.push_back(true);
  return static_cast<uint32_t>(objects.size());
}

bool isLive(const std::vector<bool>& live, uint32_t handle) { return handle >= 1 && handle <= live.size() && live[handle - 1]; }

}  // namespace

D3DMatrix multiply(const D3DMatrix& a, const D3DMatrix& b) {
  D3DMatrix r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
  return r;
}

uint32_t floatState(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// [SECTION] Materials and lights

HResult createMaterial(Direct3D& d3d, MaterialHandle& handle) {
  handle = addObject(d3d.materials, d3d.materialLive);
  return kResultOk;
}

HResult setMaterial(Direct3D& d3d, MaterialHandle handle, const Material3D& material) {
  if (!isLive(d3d.materialLive, handle)) return kErrorMaterialSetData;
  d3d.materials[handle - 1] = material;
  return kResultOk;
}

HResult getMaterial(const Direct3D& d3d, MaterialHandle handle, Material3D& material) {
  if (!isLive(d3d.materialLive, handle)) return kErrorInvalidHandle;
  material = d3d.materials[handle - 1];
  return kResultOk;
}

void releaseMaterial(Direct3D& d3d, MaterialHandle handle) {
  if (isLive(d3d.materialLive, handle)) d3d.materialLive[handle - 1] = false;
}

HResult createLight(Direct3D& d3d, LightHandle& handle) {
  handle = addObject(d3d.lights, d3d.lightLive);
  return kResultOk;
}

HResult setLight(Direct3D& d3d, LightHandle handle, const Light3D& light) {
  if (!isLive(d3d.lightLive, handle)) return kErrorLightSet;
  d3d.lights[handle - 1] = light;
  return kResultOk;
}

HResult getLight(const Direct3D& d3d, LightHandle handle, Light3D& light) {
  if (!isLive(d3d.lightLive, handle)) return kErrorInvalidHandle;
  light = d3d.lights[handle - 1];
  return kResultOk;
}

void releaseLight(Direct3D& d3d, LightHandle handle) {
  if (!isLive(d3d.lightLive, handle)) return;
  d3d.lightLive[handle - 1] = false;
  for (size_t i = 0; i < d3d.viewports.size(); ++i) deleteLight(d3d, static_cast<ViewportHandle>(i + 1), handle);
}

// [SECTION] Viewports

HResult createViewport(Direct3D& d3d, ViewportHandle& handle) {
  handle = addObject(d3d.viewports, d3d.viewportLive);
  return kResultOk;
}

void releaseViewport(Direct3D& d3d, ViewportHandle handle) {
  if (isLive(d3d.viewportLive, handle)) d3d.viewportLive[handle - 1] = false;
}

HResult setViewport(Direct3D& d3d, ViewportHandle handle, const ViewportData& data) {
  if (!isLive(d3d.viewportLive, handle)) return kErrorViewportSetData;
  if (data.width <= 0 || data.height <= 0 || !(data.scaleX > 0) || !(data.scaleY > 0) || !(data.maxX > 0) ||
      !(data.maxY > 0))
    return kErrorInvalidParams;
  d3d.viewports[handle - 1].data = data;
  d3d.viewports[handle - 1].dataSet = true;
  return kResultOk;
}

HResult viewportData(const Direct3D& d3d, ViewportHandle handle, ViewportData& data) {
  if (!isLive(d3d.viewportLive, handle)) return kErrorInvalidHandle;
  if (!d3d.viewports[handle - 1].dataSet) return kErrorViewportDataNotSet;
  data = d3d.viewports[handle - 1].data;
  return kResultOk;
}

HResult setViewportBackground(Direct3D& d3d, ViewportHandle handle, MaterialHandle material) {
  if (!isLive(d3d.viewportLive, handle)) return kErrorInvalidHandle;
  if (material != 0 && !isLive(d3d.materialLive, material)) return kErrorInvalidHandle;
  d3d.viewports[handle - 1].background = material;
  return kResultOk;
}

HResult addLight(Direct3D& d3d, ViewportHandle viewport, LightHandle light) {
  if (!isLive(d3d.viewportLive, viewport) || !isLive(d3d.lightLive, light)) return kErrorInvalidHandle;
  auto& lights = d3d.viewports[viewport - 1].lights;
  for (LightHandle existing : lights)
    if (existing == light) return kErrorInvalidParams;
  lights.push_back(light);
  return kResultOk;
}

HResult deleteLight(Direct3D& d3d, ViewportHandle viewport, LightHandle light) {
  if (viewport < 1 || viewport > d3d.viewports.size()) return kErrorInvalidHandle;
  auto& lights = d3d.viewports[viewport - 1].lights;
  for (size_t i = 0; i < lights.size(); ++i) {
    if (lights[i] == light) {
      lights.erase(lights.begin() + static_cast<long>(i));
      return kResultOk;
    }
  }
  return kErrorInvalidParams;
}

// [SECTION] Device

HResult createDevice(Direct3D& d3d, DisplaySurface& target, Device3D& device) {
  if (target.isDepth() || !(target.caps & kSurfaceRenderTarget)) return kErrorInvalidDevice;
  device = Device3D{};
  device.d3d = &d3d;
  device.target = &target;
  uint32_t* s = device.renderStates;
  s[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
  s[D3DRENDERSTATE_ZENABLE] = target.attachedDepth ? 1 : 0;
  s[D3DRENDERSTATE_ZWRITEENABLE] = 1;
  s[D3DRENDERSTATE_ZFUNC] = D3DCMP_LESSEQUAL;
  s[D3DRENDERSTATE_FILLMODE] = D3DFILL_SOLID;
  s[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
  s[D3DRENDERSTATE_TEXTUREMAG] = D3DFILTER_NEAREST;
  s[D3DRENDERSTATE_TEXTUREMIN] = D3DFILTER_NEAREST;
  s[D3DRENDERSTATE_TEXTUREMAPBLEND] = D3DTBLEND_MODULATE;
  s[D3DRENDERSTATE_SPECULARENABLE] = 1;
  return kResultOk;
}

HResult addViewport(Device3D& device, ViewportHandle viewport) {
  if (!device.d3d || !isLive(device.d3d->viewportLive, viewport)) return kErrorInvalidHandle;
  device.viewports.push_back(viewport);
  return kResultOk;
}

HResult createMatrix(Device3D& device, MatrixHandle& handle) {
  handle = addObject(device.matrices, device.matrixLive);
  return kResultOk;
}

HResult setMatrix(Device3D& device, MatrixHandle handle, const D3DMatrix& matrix) {
  if (!isLive(device.matrixLive, handle)) return kErrorMatrixSetData;
  device.matrices[handle - 1] = matrix;
  return kResultOk;
}

HResult getMatrix(const Device3D& device, MatrixHandle handle, D3DMatrix& matrix) {
  if (!isLive(device.matrixLive, handle)) return kErrorInvalidHandle;
  matrix = device.matrices[handle - 1];
  return kResultOk;
}

void releaseMatrix(Device3D& device, MatrixHandle handle) {
  if (isLive(device.matrixLive, handle)) device.matrixLive[handle - 1] = false;
}

// [SECTION] Textures

namespace {
// Queued drawing may still read a texture, so it lands before any texture changes.
void finishQueuedDrawing(Device3D& device) {
  if (device.target) DisplaySurface::finishDrawingOn(*device.target);
}
}  // namespace

HResult textureLoad(Device3D& device, TextureHandle handle, const DisplaySurface& surface) {
  if (!isLive(device.textureLive, handle)) return kErrorInvalidHandle;
  finishQueuedDrawing(device);
  if (surface.isDepth() || surface.width() < 1 || surface.height() < 1) return kErrorTextureBadSize;
  TextureImage& image = device.textures[handle - 1];
  const Surface& pixels = surface.pixels();
  image.width = pixels.width;
  image.height = pixels.height;
  image.texels.resize(pixels.pixels.size());
  for (size_t i = 0; i < pixels.pixels.size(); ++i) {
    const uint16_t p = pixels.pixels[i];
    image.texels[i] = (static_cast<uint32_t>(red565(p)) << 16) | (static_cast<uint32_t>(green565(p)) << 8) | blue565(p);
  }
  return kResultOk;
}

HResult createTexture(Device3D& device, const DisplaySurface& surface, TextureHandle& handle) {
  finishQueuedDrawing(device);
  handle = addObject(device.textures, device.textureLive);
  HResult result = textureLoad(device, handle, surface);
  if (failed(result)) {
    releaseTexture(device, handle);
    handle = 0;
  }
  return result;
}

void releaseTexture(Device3D& device, TextureHandle handle) {
  if (!isLive(device.textureLive, handle)) return;
  finishQueuedDrawing(device);
  device.textureLive[handle - 1] = false;
  device.textures[handle - 1] = TextureImage{};
}

HResult beginScene(Device3D& device) {
  if (device.inScene) return kErrorSceneInScene;
  device.inScene = true;
  return kResultOk;
}

HResult endScene(Device3D& device) {
  if (!device.inScene) return kErrorSceneNotInScene;
  device.inScene = false;
  return kResultOk;
}

// [SECTION] Execute buffers

void ExecuteBuffer::clear() {
  vertices.clear();
  instructions.clear();
  states.clear();
  triangles.clear();
  status = ExecuteStatus{};
}

void ExecuteBuffer::processVertices(uint32_t flags, uint32_t first, uint32_t destination, uint32_t count) {
  Instruction i;
  i.op = Op::ProcessVertices;
  i.flags = flags;
  i.start = first;
  i.dest = destination;
  i.count = count;
  instructions.push_back(i);
}

void ExecuteBuffer::setStatus(uint32_t flags, uint32_t statusValue, const Rect& extent) {
  Instruction i;
  i.op = Op::SetStatus;
  i.flags = flags;
  i.status = statusValue;
  i.extent = extent;
  instructions.push_back(i);
}

static void addStates(ExecuteBuffer& buffer, Op op, std::initializer_list<StateValue> list) {
  Instruction i;
  i.op = op;
  i.start = static_cast<uint32_t>(buffer.states.size());
  i.count = static_cast<uint32_t>(list.size());
  buffer.states.insert(buffer.states.end(), list.begin(), list.end());
  buffer.instructions.push_back(i);
}

void ExecuteBuffer::stateLight(std::initializer_list<StateValue> list) { addStates(*this, Op::StateLight, list); }
void ExecuteBuffer::stateRender(std::initializer_list<StateValue> list) { addStates(*this, Op::StateRender, list); }
void ExecuteBuffer::stateTransform(std::initializer_list<StateValue> list) { addStates(*this, Op::StateTransform, list); }

void ExecuteBuffer::triangleList(const Triangle3D* list, size_t count) {
  Instruction i;
  i.op = Op::Triangle;
  i.start = static_cast<uint32_t>(triangles.size());
  i.count = static_cast<uint32_t>(count);
  triangles.insert(triangles.end(), list, list + count);
  instructions.push_back(i);
}

void ExecuteBuffer::exit() {
  Instruction i;
  i.op = Op::Exit;
  instructions.push_back(i);
}

size_t ExecuteBuffer::instructionBytes() const {
  size_t bytes = 0;
  for (const Instruction& i : instructions) {
    bytes += 4;
    switch (i.op) {
      case Op::ProcessVertices: bytes += 16; break;
      case Op::SetStatus: bytes += 24; break;
      case Op::StateLight:
      case Op::StateRender:
      case Op::StateTransform:
      case Op::Triangle: bytes += 8 * static_cast<size_t>(i.count); break;
      case Op::Exit: break;
    }
  }
  return bytes;
}
