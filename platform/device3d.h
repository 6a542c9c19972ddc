// The immediate-mode 3D device: materials, lights, viewports, matrices and textures held by handle, and
// typed execute buffers (vertices, then instructions) drawn by the software rasteriser into an RGB565
// display surface with its attached depth surface. Also picking and vertex transformation.
//
// Index: [SECTION] Values  [SECTION] Objects  [SECTION] Execute buffers  [SECTION] Device  [SECTION] Calls
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/display.h"

// [SECTION] Values

enum : HResult {
  kErrorInvalidDevice = -0x2002,
  kErrorExecuteLocked = -0x2004,
  kErrorTextureBadSize = -0x200A,
  kErrorMatrixSetData = -0x200C,
  kErrorMaterialSetData = -0x200E,
  kErrorLightSet = -0x200F,
  kErrorViewportSetData = -0x2010,
  kErrorViewportDataNotSet = -0x2011,
  kErrorSceneInScene = -0x2012,
  kErrorSceneNotInScene = -0x2013,
  kErrorInvalidHandle = -0x2018,
};

struct D3DVector {
  float x = 0, y = 0, z = 0;
};
struct D3DColourValue {
  float r = 0, g = 0, b = 0, a = 0;
};
// Row-major, row vectors: a point p becomes p * m.
struct D3DMatrix {
  float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};
D3DMatrix multiply(const D3DMatrix& a, const D3DMatrix& b);

// An untransformed vertex: position, normal (a shading gradient, used as given) and texture coordinates.
struct Vertex3D {
  float x = 0, y = 0, z = 0, nx = 0, ny = 0, nz = 0, u = 0, v = 0;
};

// A transformed and lit vertex: screen x, y, depth 0..1, 1/w, the lit colour (0xAARRGGBB) and the
// specular colour (0x00RRGGBB), eight bits a channel.
struct TLVertex {
  float sx = 0, sy = 0, sz = 0, rhw = 0;
  uint32_t colour = 0xFFFFFFFF;
  uint32_t specular = 0;
  float u = 0, v = 0;
  float cx = 0, cy = 0, cz = 0, cw = 0;  // clip-space position, kept for clipping
  uint32_t clip = 0;                     // D3DCLIP_ bits
};

enum : uint32_t {
  D3DCLIP_LEFT = 0x01, D3DCLIP_RIGHT = 0x02, D3DCLIP_TOP = 0x04, D3DCLIP_BOTTOM = 0x08,
  D3DCLIP_FRONT = 0x10, D3DCLIP_BACK = 0x20,
};

using MaterialHandle = uint32_t;  // 0 is none
using TextureHandle = uint32_t;
using MatrixHandle = uint32_t;
using LightHandle = uint32_t;
using ViewportHandle = uint32_t;

// [SECTION] Objects

struct Material3D {
  D3DColourValue diffuse{1, 1, 1, 1}, ambient{1, 1, 1, 1}, specular, emissive;
  float power = 0;
  TextureHandle texture = 0;
  int rampSize = 1;
};

enum class LightType { Point = 1, Spot = 2, Directional = 3 };
struct Light3D {
  LightType type = LightType::Directional;
  D3DColourValue colour{1, 1, 1, 1};
  D3DVector position, direction{0, 0, 1};
  float attenuation0 = 0, attenuation1 = 0, attenuation2 = 0;
};

// Screen placement of the view and its clip volume: screen x = x + width/2 + (x/w) * scaleX, screen y =
// y + height/2 - (y/w) * scaleY; points with |x/w| > maxX or |y/w| > maxY lie outside.
struct ViewportData {
  int x = 0, y = 0, width = 0, height = 0;
  float scaleX = 1, scaleY = 1, maxX = 1, maxY = 1, minZ = 0, maxZ = 1;
};

struct Viewport3D {
  bool dataSet = false;
  ViewportData data;
  MaterialHandle background = 0;
  std::vector<LightHandle> lights;
};

// [SECTION] Execute buffers

enum class Op : uint8_t {
  ProcessVertices = 1,
  SetStatus = 2,
  StateLight = 3,
  StateRender = 4,
  StateTransform = 5,
  Triangle = 6,
  Exit = 7,
};

enum : uint32_t {
  D3DPROCESSVERTICES_TRANSFORMLIGHT = 0,
  D3DPROCESSVERTICES_TRANSFORM = 1,
};
enum : uint32_t { D3DSETSTATUS_STATUS = 1, D3DSETSTATUS_EXTENTS = 2 };
constexpr uint32_t D3DSTATUS_DEFAULT = 0x1fff000;
enum : uint16_t {
  D3DTRIFLAG_EDGEENABLE1 = 0x100, D3DTRIFLAG_EDGEENABLE2 = 0x200, D3DTRIFLAG_EDGEENABLE3 = 0x400,
  D3DTRIFLAG_EDGEENABLETRIANGLE = 0x700,
};

enum LightState : uint32_t {
  D3DLIGHTSTATE_MATERIAL = 1, D3DLIGHTSTATE_AMBIENT = 2, D3DLIGHTSTATE_COLORMODEL = 3,
  D3DLIGHTSTATE_FOGMODE = 4, D3DLIGHTSTATE_FOGSTART = 5, D3DLIGHTSTATE_FOGEND = 6,
};
enum TransformState : uint32_t {
  D3DTRANSFORMSTATE_WORLD = 1, D3DTRANSFORMSTATE_VIEW = 2, D3DTRANSFORMSTATE_PROJECTION = 3,
};
enum RenderState : uint32_t {
  D3DRENDERSTATE_TEXTUREHANDLE = 1, D3DRENDERSTATE_ANTIALIAS = 2, D3DRENDERSTATE_TEXTUREADDRESS = 3,
  D3DRENDERSTATE_TEXTUREPERSPECTIVE = 4, D3DRENDERSTATE_WRAPU = 5, D3DRENDERSTATE_WRAPV = 6,
  D3DRENDERSTATE_ZENABLE = 7, D3DRENDERSTATE_FILLMODE = 8, D3DRENDERSTATE_SHADEMODE = 9,
  D3DRENDERSTATE_ZWRITEENABLE = 14, D3DRENDERSTATE_TEXTUREMAG = 17, D3DRENDERSTATE_TEXTUREMIN = 18,
  D3DRENDERSTATE_TEXTUREMAPBLEND = 21, D3DRENDERSTATE_CULLMODE = 22, D3DRENDERSTATE_ZFUNC = 23,
  D3DRENDERSTATE_DITHERENABLE = 26, D3DRENDERSTATE_FOGENABLE = 28, D3DRENDERSTATE_SPECULARENABLE = 29,
  D3DRENDERSTATE_FOGCOLOR = 34, kRenderStateCount = 40,
};
enum : uint32_t { D3DSHADE_FLAT = 1, D3DSHADE_GOURAUD = 2, D3DSHADE_PHONG = 3 };
enum : uint32_t { D3DFILL_POINT = 1, D3DFILL_WIREFRAME = 2, D3DFILL_SOLID = 3 };
enum : uint32_t { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };
enum : uint32_t {
  D3DCMP_NEVER = 1, D3DCMP_LESS = 2, D3DCMP_EQUAL = 3, D3DCMP_LESSEQUAL = 4, D3DCMP_GREATER = 5,
  D3DCMP_NOTEQUAL = 6, D3DCMP_GREATEREQUAL = 7, D3DCMP_ALWAYS = 8,
};
enum : uint32_t { D3DFILTER_NEAREST = 1, D3DFILTER_LINEAR = 2 };
enum : uint32_t { D3DTBLEND_DECAL = 1, D3DTBLEND_MODULATE = 2 };
enum : uint32_t { D3DFOG_NONE = 0, D3DFOG_EXP = 1, D3DFOG_EXP2 = 2, D3DFOG_LINEAR = 3 };

struct StateValue {
  uint32_t state = 0;
  uint32_t value = 0;  // float states carry the float's bits (see floatState)
};
uint32_t floatState(float value);

struct Triangle3D {
  uint16_t v1 = 0, v2 = 0, v3 = 0;
  uint16_t flags = D3DTRIFLAG_EDGEENABLETRIANGLE;
};

struct Instruction {
  Op op = Op::Exit;
  uint32_t flags = 0;          // ProcessVertices, SetStatus
  uint32_t start = 0, dest = 0, count = 0;  // ProcessVertices; for states and triangles: first and count
  uint32_t status = 0;         // SetStatus
  Rect extent;                 // SetStatus
};

// The status an execute leaves behind: the screen rectangle its triangles covered, grown from whatever
// SetStatus set (the renderer starts from the inverted 2048, 2048, 0, 0 so that only drawing counts).
struct ExecuteStatus {
  uint32_t status = D3DSTATUS_DEFAULT;
  Rect extent{2048, 2048, 0, 0};
};

// A typed execute buffer: vertices, instructions, states and triangles as lists. Builders append
// instructions; the byte offsets that picking reports are those of a packed byte layout (4-byte
// instruction headers, 16-byte vertex processing, 24-byte status, 8-byte states and triangles), so
// callers that count bytes into the instruction stream keep working.
struct ExecuteBuffer {
  std::vector<Vertex3D> vertices;
  std::vector<Instruction> instructions;
  std::vector<StateValue> states;
  std::vector<Triangle3D> triangles;
  ExecuteStatus status;
  bool locked = false;

  void clear();
  void processVertices(uint32_t flags, uint32_t start, uint32_t dest, uint32_t count);
  void setStatus(uint32_t flags, uint32_t statusValue, const Rect& extent);
  void stateLight(std::initializer_list<StateValue> list);
  void stateRender(std::initializer_list<StateValue> list);
  void stateTransform(std::initializer_list<StateValue> list);
  void triangleList(const Triangle3D* list, size_t count);
  void exit();
  // Byte size of the equivalent byte buffer: 32 bytes a vertex plus the instruction stream.
  size_t instructionBytes() const;
};

struct PickRecord {
  uint8_t opcode = static_cast<uint8_t>(Op::Triangle);
  uint32_t offset = 0;  // byte offset of the triangle in the instruction stream
  float depth = 0;      // screen depth 0..1 of the triangle under the rectangle
};

// [SECTION] Device

struct TextureImage {
  int width = 0, height = 0;
  std::vector<uint32_t> texels;  // 0x00RRGGBB, rows top to bottom
};

// The objects that outlive a device: materials, lights and viewports.
struct Direct3D {
  std::vector<Material3D> materials;  // handle = index + 1
  std::vector<bool> materialLive;
  std::vector<Light3D> lights;
  std::vector<bool> lightLive;
  std::vector<Viewport3D> viewports;
  std::vector<bool> viewportLive;
};

namespace soft3d {
class BandWorkers;
struct DrawQueue;
}

struct Device3D {
  Direct3D* d3d = nullptr;
  DisplaySurface* target = nullptr;  // the render target; its attachedDepth is the depth buffer
  std::vector<D3DMatrix> matrices;   // handle = index + 1
  std::vector<bool> matrixLive;
  std::vector<TextureImage> textures;
  std::vector<bool> textureLive;
  std::vector<ViewportHandle> viewports;
  uint32_t renderStates[kRenderStateCount] = {};
  MaterialHandle material = 0;
  uint32_t ambient = 0;  // 0xAARRGGBB
  uint32_t fogMode = D3DFOG_NONE;
  float fogStart = 0, fogEnd = 1;
  MatrixHandle world = 0, view = 0, projection = 0;
  bool inScene = false;
  std::vector<TLVertex> transformed;  // the working vertex array of executes
  std::vector<PickRecord> pickRecords;
  // Threads that share the rasterising (started with the first execute); renderThreads 0 means
  // TOLVANE_RENDER_THREADS, else every core up to four. Frames are the same for any count. With more
  // than one, executes queue their triangles and the other threads fill them as they come; what is left
  // is filled when the target or its depth is next looked at (DisplaySurface::finishDrawingOn).
  int renderThreads = 0;
  std::shared_ptr<soft3d::BandWorkers> bandWorkers;
  bool bandsChosen = false;
  std::shared_ptr<soft3d::DrawQueue> drawQueue;
};

// [SECTION] Calls

HResult createMaterial(Direct3D& d3d, MaterialHandle& handle);
HResult setMaterial(Direct3D& d3d, MaterialHandle handle, const Material3D& material);
HResult getMaterial(const Direct3D& d3d, MaterialHandle handle, Material3D& material);
void releaseMaterial(Direct3D& d3d, MaterialHandle handle);

HResult createLight(Direct3D& d3d, LightHandle& handle);
HResult setLight(Direct3D& d3d, LightHandle handle, const Light3D& light);
HResult getLight(const Direct3D& d3d, LightHandle handle, Light3D& light);
void releaseLight(Direct3D& d3d, LightHandle handle);

HResult createViewport(Direct3D& d3d, ViewportHandle& handle);
void releaseViewport(Direct3D& d3d, ViewportHandle handle);
HResult setViewport(Direct3D& d3d, ViewportHandle handle, const ViewportData& data);
HResult viewportData(const Direct3D& d3d, ViewportHandle handle, ViewportData& data);
HResult setViewportBackground(Direct3D& d3d, ViewportHandle handle, MaterialHandle material);
HResult addLight(Direct3D& d3d, ViewportHandle viewport, LightHandle light);
HResult deleteLight(Direct3D& d3d, ViewportHandle viewport, LightHandle light);

// A device draws into target, whose attachedDepth (when present) is its depth buffer.
HResult createDevice(Direct3D& d3d, DisplaySurface& target, Device3D& device);
HResult addViewport(Device3D& device, ViewportHandle viewport);

HResult createMatrix(Device3D& device, MatrixHandle& handle);
HResult setMatrix(Device3D& device, MatrixHandle handle, const D3DMatrix& matrix);
HResult getMatrix(const Device3D& device, MatrixHandle handle, D3DMatrix& matrix);
void releaseMatrix(Device3D& device, MatrixHandle handle);

// Textures: the device keeps its own copy of an RGB565 surface's pixels; load again after the surface
// changed (textureLoad) to refresh it.
HResult createTexture(Device3D& device, const DisplaySurface& surface, TextureHandle& handle);
HResult textureLoad(Device3D& device, TextureHandle handle, const DisplaySurface& surface);
void releaseTexture(Device3D& device, TextureHandle handle);

// How many threads rasterise for the device: 1 draws on the calling thread alone, 0 chooses (see
// renderThreads); counts beyond the machine's cores are cut to them. Takes effect with the next execute.
void setRenderThreads(Device3D& device, int count);
int renderThreadCount(Device3D& device);

HResult beginScene(Device3D& device);
HResult endScene(Device3D& device);

enum : uint32_t { D3DEXECUTE_CLIPPED = 1, D3DEXECUTE_UNCLIPPED = 2 };
// Run the buffer's instructions against the viewport. The buffer's status extent grows by the screen
// rectangle of every triangle drawn.
HResult execute(Device3D& device, ExecuteBuffer& buffer, ViewportHandle viewport, uint32_t flags);

// Which triangles of the buffer lie under the rectangle (pixels left..right-1, top..bottom-1; an empty
// rectangle means its top-left pixel), front faces only, as the drawing would cover them.
HResult pick(Device3D& device, ExecuteBuffer& buffer, ViewportHandle viewport, uint32_t flags, const Rect& rect);
const std::vector<PickRecord>& pickRecords(const Device3D& device);

enum : uint32_t { D3DTRANSFORM_CLIPPED = 1, D3DTRANSFORM_UNCLIPPED = 2 };
// Transform points through the device's current matrices into the viewport. offScreen receives the clip
// bits all points share (non-zero when they all lie outside one side of the view volume).
HResult transformVertices(Device3D& device, ViewportHandle viewport, const Vertex3D* in, TLVertex* out,
                          size_t count, uint32_t flags, uint32_t& offScreen);

enum : uint32_t { D3DCLEAR_TARGET = 1, D3DCLEAR_ZBUFFER = 2 };
// Clear rectangles (clipped to the viewport): the target to the viewport's background material (its
// texture stretched over the viewport, else its diffuse colour), the depth to the far plane.
HResult clearViewport(Device3D& device, ViewportHandle viewport, const Rect* rects, size_t count, uint32_t flags);
