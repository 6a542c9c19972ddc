// The software rasteriser at 540 x 380 on two scenes, (a) a 90 x 90-stud base plate with all its studs and
// (b) 1,000 2 x 4 bricks with studs at random places on a 40 x 60 plate, drawn the way the renderer sends
// them (one execute buffer per block or plate row). When OSMesa is available the same triangles, lights
// and depth test go through Mesa's llvmpipe in the same run, and the ratio ours / llvmpipe is reported
// (below 1 means ours is faster).
//
// The benchmarks proper draw on one thread on both sides. After them the program prints two lines for
// the bricks scene:
//   ratio ours/llvmpipe (1 thread): processor time, both on one thread;
//   ratio ours/llvmpipe (all threads): wall time, ours with the threads the program itself would use
//     (TOLVANE_RENDER_THREADS, else every core up to four), llvmpipe with one rasteriser thread per core.
// A frame of ours ends when its drawing has landed (finishDrawingOn), as llvmpipe's ends with glFinish.
// llvmpipe reads LP_NUM_THREADS once, when its first context is made, so the second comparison runs in
// a child: the program starts itself again (argv[0], through the shell) with --all-threads, and that
// child prints its line. Run it from an idle machine for the all-threads figure to mean much.
// llvmpipe allocates and frees several megabytes every frame; left to itself the C library may hand that
// memory back to the kernel after every frame and fault it in again on the next, which in some processes
// (depending on what was allocated before) made llvmpipe's frames two and a half times as long, in system
// time. Both processes therefore keep freed memory (mallopt, at the start of main), so llvmpipe runs at
// the speed it has in a warmed-up program whatever ran before.
// With --ours-frames=N [threads] it only draws N bricks frames of ours, for instruction profiles.
//
// Index: [SECTION] Geometry  [SECTION] Our device  [SECTION] llvmpipe  [SECTION] Benchmarks
//        [SECTION] Ratios
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/device3d.h"

#ifdef TOLVANE_HAVE_OSMESA
#include <GL/gl.h>
#include <GL/osmesa.h>
#endif

namespace {

constexpr int kWidth = 540, kHeight = 380;

// [SECTION] Geometry

// One block's worth of triangles, as one execute buffer carries them.
struct Batch {
  std::vector<Vertex3D> vertices;
  std::vector<Triangle3D> triangles;
  float r = 1, g = 1, b = 1;
};

struct Scene {
  std::vector<Batch> batches;
  D3DVector eye, target;
  size_t triangles() const {
    size_t n = 0;
    for (const Batch& b : batches) n += b.triangles.size();
    return n;
  }
};

// The body template: four vertices per face (top, -z, +x, +z, -x, bottom); position, shading gradient.
const float kBody[24][6] = {
    {-2, 3, 2, 0, 0.6f, 0},  {2, 3, 2, 0, 0.4f, 0},    {2, 3, -2, 0, 0.6f, 0},   {-2, 3, -2, 0, 1, 0},
    {2, 3, -2, 0, 0.15f, -1}, {2, -3, -2, 0, 0.05f, -1}, {-2, -3, -2, 0, 0.05f, -1}, {-2, 3, -2, 0, 0.15f, -1},
    {2, 3, 2, 1, 0.15f, 0},  {2, -3, 2, 1, 0.05f, 0},  {2, -3, -2, 1, 0.05f, 0},  {2, 3, -2, 1, 0.15f, 0},
    {-2, 3, 2, 0, 0.15f, 1}, {-2, -3, 2, 0, 0.05f, 1}, {2, -3, 2, 0, 0.05f, 1},   {2, 3, 2, 0, 0.15f, 1},
    {-2, -3, -2, -1, 0.2f, 0}, {-2, -3, 2, -1, 0.1f, 0}, {-2, 3, 2, -1, 0.1f, 0}, {-2, 3, -2, -1, 0.2f, 0},
    {2, -3, -2, 0, -1, 0},   {2, -3, 2, 0, -1, 0},     {-2, -3, 2, 0, -1, 0},     {-2, -3, -2, 0, -1, 0}};

void addFaces(Batch& batch, uint16_t base, int faces) {
  for (int f = 0; f < faces; ++f) {
    const uint16_t a = static_cast<uint16_t>(base + 4 * f);
    batch.triangles.push_back({a, static_cast<uint16_t>(a + 1), static_cast<uint16_t>(a + 2), D3DTRIFLAG_EDGEENABLETRIANGLE});
    batch.triangles.push_back({static_cast<uint16_t>(a + 2), static_cast<uint16_t>(a + 3), a, D3DTRIFLAG_EDGEENABLETRIANGLE});
  }
}

void addBody(Batch& batch, float x, float y, float z, int sx, int sz, float h) {
  const uint16_t base = static_cast<uint16_t>(batch.vertices.size());
  for (const auto& t : kBody) batch.vertices.push_back({x + sx * t[0], y + h * t[1], z + sz * t[2], t[3], t[4], t[5], 0, 0});
  addFaces(batch, base, 6);
}

// A stud: the first five faces of the template, 2 x 1 x 2, standing on the top at cell (column, row).
void addStud(Batch& batch, float left, float top, float front, int column, int row) {
  const uint16_t base = static_cast<uint16_t>(batch.vertices.size());
  for (int i = 0; i < 20; ++i) {
    const auto& t = kBody[i];
    batch.vertices.push_back({left + 2 + 4 * column + t[0] / 2, top + 0.5f + t[1] / 6, front + 2 + 4 * row + t[2] / 2, t[3],
                              t[4], t[5], 0, 0});
  }
  addFaces(batch, base, 5);
}

// The base plate: its body, then one batch of studs per row, as the renderer sends a plate.
void addPlate(Scene& scene, int studsX, int studsZ) {
  Batch body;
  body.r = 0.1f, body.g = 0.6f, body.b = 0.2f;
  addBody(body, 0, 0, 0, studsX, studsZ, 0.33333334f);
  scene.batches.push_back(body);
  for (int r = 0; r < studsZ; ++r) {
    Batch row;
    row.r = body.r, row.g = body.g, row.b = body.b;
    for (int c = 0; c < studsX; ++c) addStud(row, -2.0f * studsX, 1, -2.0f * studsZ, c, r);
    scene.batches.push_back(row);
  }
}

Scene plateScene() {
  Scene scene;
  addPlate(scene, 90, 90);
  scene.eye = {0, 300, -400};
  scene.target = {0, 0, -10};
  return scene;
}

Scene bricksScene() {
  Scene scene;
  addPlate(scene, 40, 60);
  std::mt19937 random(1234);
  for (int i = 0; i < 1000; ++i) {
    Batch brick;
    const int column = static_cast<int>(random() % 39), row = static_cast<int>(random() % 57), level = static_cast<int>(random() % 5);
    const float x = -80 + 4 * column + 4, z = -120 + 4 * row + 8, y = 1 + 3 + 6 * level;
    brick.r = (random() % 256) / 255.0f, brick.g = (random() % 256) / 255.0f, brick.b = (random() % 256) / 255.0f;
    addBody(brick, x, y, z, 2, 4, 1);
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 2; ++c) addStud(brick, x - 4, y + 3, z - 8, c, r);
    scene.batches.push_back(brick);
  }
  scene.eye = {0, 190, -250};
  scene.target = {0, 0, -10};
  return scene;
}

D3DVector sub(D3DVector a, D3DVector b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
D3DVector cross(D3DVector a, D3DVector b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dot(D3DVector a, D3DVector b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3DVector unit(D3DVector v) {
  const float l = std::sqrt(dot(v, v));
  return {v.x / l, v.y / l, v.z / l};
}

// The camera matrix the renderer builds: right = up x forward, rows hold the axes' components.
D3DMatrix cameraMatrix(D3DVector eye, D3DVector target) {
  const D3DVector f = unit(sub(target, eye));
  const D3DVector r = unit(cross(D3DVector{0, 1, 0}, f));
  const D3DVector u = cross(f, r);
  D3DMatrix m;
  m.m[0][0] = r.x, m.m[0][1] = u.x, m.m[0][2] = f.x;
  m.m[1][0] = r.y, m.m[1][1] = u.y, m.m[1][2] = f.y;
  m.m[2][0] = r.z, m.m[2][1] = u.z, m.m[2][2] = f.z;
  m.m[3][0] = -dot(r, eye), m.m[3][1] = -dot(u, eye), m.m[3][2] = -dot(f, eye);
  return m;
}

D3DMatrix viewMatrix() {
  D3DMatrix v;
  v.m[3][2] = 1;
  return v;
}

D3DMatrix projectionMatrix() {
  D3DMatrix p;
  p.m[0][0] = 2, p.m[1][1] = 2, p.m[2][3] = 1, p.m[3][2] = -1, p.m[3][3] = 0;
  return p;
}

const D3DVector kLight1Direction{0.4f, -0.7f, 0.6f};
const D3DVector kLight2Direction{0, -1, 0};

// [SECTION] Our device

struct OurRenderer {
  Direct3D d3d;
  Device3D device;
  std::unique_ptr<DisplaySurface> target, depth;
  ViewportHandle viewport = 0;
  std::vector<ExecuteBuffer> buffers;

  explicit OurRenderer(const Scene& scene, int threads = 1) {
    createSurface(kSurfaceOffscreen | kSurfaceRenderTarget, kWidth, kHeight, target);
    createSurface(kSurfaceDepth, kWidth, kHeight, depth);
    target->attachedDepth = depth.get();
    createDevice(d3d, *target, device);
    setRenderThreads(device, threads);
    createViewport(d3d, viewport);
    addViewport(device, viewport);
    ViewportData data;
    data.width = kWidth, data.height = kHeight;
    data.scaleX = kWidth * 0.6666667f, data.scaleY = kHeight * 0.6666667f;
    data.maxX = kWidth / (2 * data.scaleX), data.maxY = kHeight / (2 * data.scaleY);
    setViewport(d3d, viewport, data);
    MaterialHandle background;
    createMaterial(d3d, background);
    Material3D sky;
    sky.diffuse = {0.3f, 0.5f, 0.9f, 1};
    setMaterial(d3d, background, sky);
    setViewportBackground(d3d, viewport, background);
    LightHandle l1, l2;
    createLight(d3d, l1), createLight(d3d, l2);
    Light3D light1, light2;
    light1.colour = {0.42f, 0.42f, 0.42f, 1}, light1.direction = kLight1Direction;
    light2.colour = {0.46f, 0.46f, 0.46f, 1}, light2.direction = kLight2Direction;
    setLight(d3d, l1, light1), setLight(d3d, l2, light2);
    addLight(d3d, viewport, l1), addLight(d3d, viewport, l2);
    MatrixHandle world, view, projection;
    createMatrix(device, world), createMatrix(device, view), createMatrix(device, projection);
    setMatrix(device, world, cameraMatrix(scene.eye, scene.target));
    setMatrix(device, view, viewMatrix());
    setMatrix(device, projection, projectionMatrix());
    ExecuteBuffer setup;
    setup.stateTransform({{D3DTRANSFORMSTATE_PROJECTION, projection}, {D3DTRANSFORMSTATE_VIEW, view}, {D3DTRANSFORMSTATE_WORLD, world}});
    setup.stateLight({{D3DLIGHTSTATE_AMBIENT, 0x14141414}});
    setup.stateRender({{D3DRENDERSTATE_SHADEMODE, D3DSHADE_PHONG}, {D3DRENDERSTATE_ZENABLE, 1}, {D3DRENDERSTATE_ZWRITEENABLE, 1},
                       {D3DRENDERSTATE_ZFUNC, D3DCMP_LESSEQUAL}, {D3DRENDERSTATE_SPECULARENABLE, 1}});
    setup.exit();
    beginScene(device);
    execute(device, setup, viewport, D3DEXECUTE_UNCLIPPED);
    endScene(device);
    for (const Batch& batch : scene.batches) {
      MaterialHandle material;
      createMaterial(d3d, material);
      Material3D m;
      m.diffuse = m.ambient = {batch.r, batch.g, batch.b, 1};
      m.specular = {0.9f, 0.9f, 0.9f, 0};
      m.power = 1.1f;
      setMaterial(d3d, material, m);
      ExecuteBuffer b;
      b.vertices = batch.vertices;
      b.setStatus(D3DSETSTATUS_STATUS | D3DSETSTATUS_EXTENTS, D3DSTATUS_DEFAULT, Rect{2048, 2048, 0, 0});
      b.stateLight({{D3DLIGHTSTATE_MATERIAL, material}});
      b.processVertices(D3DPROCESSVERTICES_TRANSFORMLIGHT, 0, 0, static_cast<uint32_t>(batch.vertices.size()));
      b.stateRender({{D3DRENDERSTATE_TEXTUREHANDLE, 0}, {D3DRENDERSTATE_WRAPU, 0}, {D3DRENDERSTATE_WRAPV, 0},
                     {D3DRENDERSTATE_FILLMODE, D3DFILL_SOLID}});
      b.triangleList(batch.triangles.data(), batch.triangles.size());
      b.exit();
      buffers.push_back(std::move(b));
    }
  }

  void frame() {
    const Rect all{0, 0, kWidth, kHeight};
    clearViewport(device, viewport, &all, 1, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    for (ExecuteBuffer& b : buffers) {
      b.status.extent = Rect{2048, 2048, 0, 0};
      beginScene(device);
      execute(device, b, viewport, D3DEXECUTE_CLIPPED);
      endScene(device);
    }
    DisplaySurface::finishDrawingOn(*target);  // with several threads the drawing lands here
  }
};

// [SECTION] llvmpipe

#ifdef TOLVANE_HAVE_OSMESA
// The same triangles in one draw with per-vertex colours, two directional lights, ambient, specular,
// less-or-equal depth and back faces culled, into a 16-bit 5-6-5 buffer.
struct MesaRenderer {
  OSMesaContext context = nullptr;
  std::vector<uint16_t> pixels;
  std::vector<float> positions, normals, colours;
  std::vector<uint32_t> indices;

  // threads 0: rasterise on the calling thread only; llvmpipe keeps the count of its first context.
  explicit MesaRenderer(const Scene& scene, int threads = 0) : pixels(static_cast<size_t>(kWidth) * kHeight) {
    setenv("LP_NUM_THREADS", std::to_string(threads).c_str(), 1);
    context = OSMesaCreateContextExt(OSMESA_RGB_565, 24, 0, 0, nullptr);
    if (!context || !OSMesaMakeCurrent(context, pixels.data(), GL_UNSIGNED_SHORT_5_6_5, kWidth, kHeight)) {
      context = nullptr;
      return;
    }
    for (const Batch& batch : scene.batches) {
      const uint32_t base = static_cast<uint32_t>(positions.size() / 3);
      for (const Vertex3D& v : batch.vertices) {
        positions.insert(positions.end(), {v.x, v.y, v.z});
        normals.insert(normals.end(), {v.nx, v.ny, v.nz});
        colours.insert(colours.end(), {batch.r, batch.g, batch.b, 1});
      }
      for (const Triangle3D& t : batch.triangles) indices.insert(indices.end(), {base + t.v1, base + t.v2, base + t.v3});
    }
    glViewport(0, 0, kWidth, kHeight);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);  // screen y runs up here, so the kept clockwise triangles are counter-clockwise
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHTING);
    const float ambient[4] = {20 / 255.0f, 20 / 255.0f, 20 / 255.0f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    const float specular[4] = {0.9f, 0.9f, 0.9f, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 1.1f);
    // Lights live in the space after the world (camera) matrix, as the device's do.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const D3DVector directions[2] = {kLight1Direction, kLight2Direction};
    const float greys[2] = {0.42f, 0.46f};
    for (int i = 0; i < 2; ++i) {
      const D3DVector d = unit(directions[i]);
      const float position[4] = {-d.x, -d.y, d.z, 0};  // z flipped: see the eye space below
      const float colour[4] = {greys[i], greys[i], greys[i], 1};
      const float none[4] = {0, 0, 0, 1};
      glEnable(GL_LIGHT0 + i);
      glLightfv(GL_LIGHT0 + i, GL_POSITION, position);
      glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, colour);
      glLightfv(GL_LIGHT0 + i, GL_SPECULAR, colour);
      glLightfv(GL_LIGHT0 + i, GL_AMBIENT, none);
    }
    // The device's projection, widened so its 0.75 clip lands on the window's edge, with depth 0..1
    // turned into -1..1.
    D3DMatrix widen;
    widen.m[0][0] = widen.m[1][1] = 1 / 0.75f;
    widen.m[2][2] = 2;
    widen.m[3][2] = -1;
    // The device's eye looks along +z; this one's viewer sits on +z (which matters for the specular
    // highlight), so the eye space is mirrored in z on the way in and back on the way out.
    D3DMatrix flip;
    flip.m[2][2] = -1;
    const D3DMatrix projection = multiply(multiply(flip, projectionMatrix()), widen);
    const D3DMatrix modelView = multiply(multiply(cameraMatrix(scene.eye, scene.target), viewMatrix()), flip);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(&projection.m[0][0]);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(&modelView.m[0][0]);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glColorPointer(4, GL_FLOAT, 0, colours.data());
    glClearColor(0.3f, 0.5f, 0.9f, 1);
  }
  ~MesaRenderer() {
    if (context) OSMesaDestroyContext(context);
  }

  void frame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, indices.data());
    glFinish();
  }
};
#endif

// [SECTION] Benchmarks

// Processor time of the work (the machine is shared, so wall time also counts other programs' turns),
// and wall time beside it.
struct Timing {
  double cpu = 0, wall = 0;
};
void timeOf(Timing& total, const std::function<void()>& work) {
  const std::clock_t cpuStart = std::clock();
  const auto wallStart = std::chrono::steady_clock::now();
  work();
  total.cpu += static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  total.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
}

// With TOLVANE_BENCH_DUMP naming a folder, both pictures of a scene are written there as PPM files so
// that they can be compared by eye (the llvmpipe one is stored bottom row first).
void dump(const char* name, const uint16_t* pixels, bool bottomUp) {
  const char* folder = std::getenv("TOLVANE_BENCH_DUMP");
  if (!folder) return;
  FILE* file = std::fopen((std::string(folder) + "/" + name + ".ppm").c_str(), "wb");
  if (!file) return;
  std::fprintf(file, "P6\n%d %d\n255\n", kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y) {
    const uint16_t* row = pixels + static_cast<size_t>(bottomUp ? kHeight - 1 - y : y) * kWidth;
    for (int x = 0; x < kWidth; ++x) {
      const unsigned char rgb[3] = {static_cast<unsigned char>(red565(row[x])), static_cast<unsigned char>(green565(row[x])),
                                    static_cast<unsigned char>(blue565(row[x]))};
      std::fwrite(rgb, 1, 3, file);
    }
  }
  std::fclose(file);
}

void runScene(benchmark::State& state, const Scene& scene, const char* name) {
  OurRenderer ours(scene);
#ifdef TOLVANE_HAVE_OSMESA
  MesaRenderer mesa(scene);
  const bool haveMesa = mesa.context != nullptr;
#endif
  Timing oursTime, mesaTime;
  int frames = 0;
  for (auto _ : state) {
    timeOf(oursTime, [&] { ours.frame(); });
#ifdef TOLVANE_HAVE_OSMESA
    if (haveMesa) timeOf(mesaTime, [&] { mesa.frame(); });
#endif
    ++frames;
  }
  dump((std::string(name) + "-ours").c_str(), ours.target->own.pixels.data(), false);
#ifdef TOLVANE_HAVE_OSMESA
  if (haveMesa) dump((std::string(name) + "-llvmpipe").c_str(), mesa.pixels.data(), true);
#endif
  const double triangles = static_cast<double>(scene.triangles());
  state.counters["triangles"] = triangles;
  state.counters["ours_ms"] = 1000 * oursTime.cpu / frames;
  state.counters["ours_tri_per_s"] = triangles * frames / oursTime.cpu;
  if (mesaTime.cpu > 0) {
    state.counters["llvmpipe_ms"] = 1000 * mesaTime.cpu / frames;
    state.counters["llvmpipe_tri_per_s"] = triangles * frames / mesaTime.cpu;
    state.counters["ratio"] = oursTime.cpu / mesaTime.cpu;
    state.counters["ratio_wall"] = oursTime.wall / mesaTime.wall;
  }
}

void BM_BasePlate90x90(benchmark::State& state) { runScene(state, plateScene(), "plate"); }
void BM_ThousandBricks(benchmark::State& state) { runScene(state, bricksScene(), "bricks"); }

BENCHMARK(BM_BasePlate90x90)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ThousandBricks)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// [SECTION] Ratios

// Alternate frames of ours and llvmpipe on the bricks scene for about two seconds and print the ratio
// line; processor time on one thread, wall time on several (where processor time adds up the threads).
int printRatio(int threads) {
#ifdef TOLVANE_HAVE_OSMESA
  const Scene scene = bricksScene();
  OurRenderer ours(scene, threads == 1 ? 1 : 0);
  MesaRenderer mesa(scene, threads == 1 ? 0 : threads);
  if (!mesa.context) {
    std::printf("llvmpipe unavailable: no ratio\n");
    return 1;
  }
  ours.frame(), mesa.frame();  // first frames start the threads and fill the caches
  Timing oursTime, mesaTime;
  int frames = 0;
  for (const auto start = std::chrono::steady_clock::now();
       frames < 5 || std::chrono::steady_clock::now() - start < std::chrono::seconds(2); ++frames) {
    timeOf(oursTime, [&] { ours.frame(); });
    timeOf(mesaTime, [&] { mesa.frame(); });
  }
  const bool wall = threads > 1;
  const double oursMs = 1000 * (wall ? oursTime.wall : oursTime.cpu) / frames;
  const double mesaMs = 1000 * (wall ? mesaTime.wall : mesaTime.cpu) / frames;
  std::printf("bricks, %s, %d frames: ours %.2f ms on %d thread(s), llvmpipe %.2f ms\n", wall ? "wall time" : "processor time",
              frames, oursMs, renderThreadCount(ours.device), mesaMs);
  std::printf("ratio ours/llvmpipe (%s): %.2f\n", threads == 1 ? "1 thread" : "all threads", oursMs / mesaMs);
  std::fflush(stdout);
  return 0;
#else
  std::printf("built without OSMesa: no ratio (%d thread(s))\n", threads);
  return 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  // Freed memory stays with the process (see the top of the file).
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (argc == 2 && std::string(argv[1]) == "--all-threads") return printRatio(cores);
  // For instruction-count profiles: a few frames of ours alone on the bricks scene, on one thread unless
  // a band count follows.
  if (argc >= 2 && std::string(argv[1]).rfind("--ours-frames=", 0) == 0) {
    OurRenderer ours(bricksScene(), argc >= 3 ? std::max(1, std::atoi(argv[2])) : 1);
    for (int i = std::max(1, std::atoi(argv[1] + 14)); i > 0; --i) ours.frame();
    dump("bricks-ours", ours.target->own.pixels.data(), false);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  printRatio(1);
  // A fresh process, so that llvmpipe starts with one thread per core.
  const std::string self = std::string("'") + argv[0] + "' --all-threads";
  return std::system(self.c_str()) == 0 ? 0 : 1;
}
