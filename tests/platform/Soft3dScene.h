// A small scene set up the way the program sets up its view (viewport scale 2/3 and clip 0.75, the fixed
// view and projection, the two grey lights and the ambient level), and the brick body template, for the
// 3D-device tests.
#pragma once

#include <cmath>
#include <memory>
#include <vector>

#include "platform/device3d.h"

struct TestScene {
  Direct3D d3d;
  Device3D device;
  std::unique_ptr<DisplaySurface> target, depth;
  ViewportHandle viewport = 0;
  MatrixHandle world = 0, view = 0, projection = 0;
  MaterialHandle material = 0;
  int width = 0, height = 0;

  TestScene(int w, int h) : width(w), height(h) {
    createSurface(kSurfaceOffscreen | kSurfaceRenderTarget, w, h, target);
    createSurface(kSurfaceDepth, w, h, depth);
    target->attachedDepth = depth.get();
    createDevice(d3d, *target, device);
    createViewport(d3d, viewport);
    addViewport(device, viewport);
    ViewportData data;
    data.width = w;
    data.height = h;
    data.scaleX = w * 0.6666667f;
    data.scaleY = h * 0.6666667f;
    data.maxX = w / (2 * data.scaleX);
    data.maxY = h / (2 * data.scaleY);
    setViewport(d3d, viewport, data);
    createMatrix(device, world);
    createMatrix(device, view);
    createMatrix(device, projection);
    D3DMatrix v, p;
    v.m[3][2] = 1;
    p.m[0][0] = 2;
    p.m[1][1] = 2;
    p.m[2][3] = 1;
    p.m[3][2] = -1;
    p.m[3][3] = 0;
    setMatrix(device, view, v);
    setMatrix(device, projection, p);
    LightHandle l1, l2;
    createLight(d3d, l1);
    createLight(d3d, l2);
    Light3D light1;
    light1.colour = {0.42f, 0.42f, 0.42f, 1};
    light1.direction = {0.3f, -0.8f, 0.5f};
    Light3D light2;
    light2.colour = {0.46f, 0.46f, 0.46f, 1};
    light2.direction = {0, -1, 0};
    setLight(d3d, l1, light1);
    setLight(d3d, l2, light2);
    addLight(d3d, viewport, l1);
    addLight(d3d, viewport, l2);
    createMaterial(d3d, material);
    setColour(1, 0, 0);
    ExecuteBuffer setup;
    setup.stateTransform({{D3DTRANSFORMSTATE_PROJECTION, projection}, {D3DTRANSFORMSTATE_VIEW, view},
                          {D3DTRANSFORMSTATE_WORLD, world}});
    setup.stateLight({{D3DLIGHTSTATE_AMBIENT, 0x14141414}});
    setup.exit();
    run(setup);
    clear();
  }

  void setColour(float r, float g, float b) {
    Material3D m;
    m.diffuse = m.ambient = {r, g, b, 1};
    m.specular = {0.9f, 0.9f, 0.9f, 0};
    m.power = 1.1f;
    setMaterial(d3d, material, m);
  }

  // Camera at eye looking at target, with y up: right = up x forward.
  void lookAt(D3DVector eye, D3DVector at) {
    D3DVector f{at.x - eye.x, at.y - eye.y, at.z - eye.z};
    f = unit(f);
    D3DVector up{0, 1, 0};
    if (std::fabs(f.y) > 0.99f) up = D3DVector{0, 0, 1};
    D3DVector r = unit(cross(up, f));
    D3DVector u = cross(f, r);
    D3DMatrix m;
    m.m[0][0] = r.x; m.m[0][1] = u.x; m.m[0][2] = f.x;
    m.m[1][0] = r.y; m.m[1][1] = u.y; m.m[1][2] = f.y;
    m.m[2][0] = r.z; m.m[2][1] = u.z; m.m[2][2] = f.z;
    m.m[3][0] = -dot(r, eye); m.m[3][1] = -dot(u, eye); m.m[3][2] = -dot(f, eye);
    setMatrix(device, world, m);
  }

  void clear() {
    Rect all{0, 0, width, height};
    surfaceFill(*target, nullptr, 0);
    clearViewport(device, viewport, &all, 1, D3DCLEAR_ZBUFFER);
  }

  HResult run(ExecuteBuffer& buffer) {
    beginScene(device);
    HResult r = execute(device, buffer, viewport, D3DEXECUTE_CLIPPED);
    endScene(device);
    return r;
  }

  // A lit, solid buffer of the given vertices and triangles, starting from the inverted extent.
  static void fill(ExecuteBuffer& b, MaterialHandle material, const std::vector<Vertex3D>& vertices,
                   const std::vector<Triangle3D>& triangles, uint32_t fillMode = D3DFILL_SOLID) {
    b.clear();
    b.vertices = vertices;
    b.setStatus(D3DSETSTATUS_STATUS | D3DSETSTATUS_EXTENTS, D3DSTATUS_DEFAULT, Rect{2048, 2048, 0, 0});
    b.stateLight({{D3DLIGHTSTATE_MATERIAL, material}});
    b.processVertices(D3DPROCESSVERTICES_TRANSFORMLIGHT, 0, 0, static_cast<uint32_t>(vertices.size()));
    b.stateRender({{D3DRENDERSTATE_TEXTUREHANDLE, 0}, {D3DRENDERSTATE_WRAPU, 0}, {D3DRENDERSTATE_WRAPV, 0},
                   {D3DRENDERSTATE_FILLMODE, fillMode}});
    b.triangleList(triangles.data(), triangles.size());
    b.exit();
  }

  uint16_t pixel(int x, int y) const { return target->pixels().at(x, y); }
  int countNonBlack() const {
    int n = 0;
    for (uint16_t p : target->pixels().pixels) n += p != 0;
    return n;
  }

  static D3DVector cross(D3DVector a, D3DVector b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
  static float dot(D3DVector a, D3DVector b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
  static D3DVector unit(D3DVector v) {
    float l = std::sqrt(dot(v, v));
    return {v.x / l, v.y / l, v.z / l};
  }
};

// The brick body: 24 vertices, four per face (top, -z, +x, +z, -x, bottom), two triangles per face.
inline std::vector<Vertex3D> brickVertices(float cx, float cy, float cz, float sx, float sz, float h) {
  static const float t[24][8] = {
      {-2, 3, 2, 0, 0.6f, 0, 0.1f, 0},   {2, 3, 2, 0, 0.4f, 0, 0.1f, 0.1f}, {2, 3, -2, 0, 0.6f, 0, 0, 0.1f},
      {-2, 3, -2, 0, 1, 0, 0, 0},        {2, 3, -2, 0, 0.15f, -1, 1, 0},   {2, -3, -2, 0, 0.05f, -1, 1, 1},
      {-2, -3, -2, 0, 0.05f, -1, 0, 1},  {-2, 3, -2, 0, 0.15f, -1, 0, 0},  {2, 3, 2, 1, 0.15f, 0, 1, 0},
      {2, -3, 2, 1, 0.05f, 0, 1, 1},     {2, -3, -2, 1, 0.05f, 0, 0, 1},   {2, 3, -2, 1, 0.15f, 0, 0, 0},
      {-2, 3, 2, 0, 0.15f, 1, 1, 0},     {-2, -3, 2, 0, 0.05f, 1, 1, 1},   {2, -3, 2, 0, 0.05f, 1, 0, 1},
      {2, 3, 2, 0, 0.15f, 1, 0, 0},      {-2, -3, -2, -1, 0.2f, 0, 0, 1},  {-2, -3, 2, -1, 0.1f, 0, 1, 1},
      {-2, 3, 2, -1, 0.1f, 0, 1, 0},     {-2, 3, -2, -1, 0.2f, 0, 0, 0},   {2, -3, -2, 0, -1, 0, 1, 1},
      {2, -3, 2, 0, -1, 0, 0, 1},        {-2, -3, 2, 0, -1, 0, 0, 0},      {-2, -3, -2, 0, -1, 0, 1, 0}};
  std::vector<Vertex3D> v(24);
  for (int i = 0; i < 24; ++i)
    v[i] = Vertex3D{cx + sx * t[i][0], cy + h * t[i][1], cz + sz * t[i][2], t[i][3], t[i][4], t[i][5], t[i][6], t[i][7]};
  return v;
}

inline std::vector<Triangle3D> brickTriangles(int faces = 6, uint16_t base = 0) {
  std::vector<Triangle3D> t;
  for (int f = 0; f < faces; ++f) {
    const uint16_t a = static_cast<uint16_t>(base + 4 * f);
    t.push_back(Triangle3D{a, static_cast<uint16_t>(a + 1), static_cast<uint16_t>(a + 2), D3DTRIFLAG_EDGEENABLETRIANGLE});
    t.push_back(Triangle3D{static_cast<uint16_t>(a + 2), static_cast<uint16_t>(a + 3), a, D3DTRIFLAG_EDGEENABLETRIANGLE});
  }
  return t;
}
