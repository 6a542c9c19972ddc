// Rasterising in bands on several threads: a busy scene must come out byte for byte as it does on one
// thread (pixels, depth and every buffer's extent), and the crew must run each band of each job once.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "platform/soft3d/BandWorkers.h"
#include "Soft3dScene.h"

namespace {

struct Frame {
  std::vector<uint16_t> pixels;
  std::vector<float> depth;
  std::vector<Rect> extents;
  std::vector<uint64_t> glimpses;  // what was seen of the picture part-way through
};

template <class T>
uint64_t hashOf(const T* values, size_t count) {
  uint64_t h = 1469598103934665603u;
  const auto* bytes = reinterpret_cast<const unsigned char*>(values);
  for (size_t i = 0; i < count * sizeof(T); ++i) h = (h ^ bytes[i]) * 1099511628211u;
  return h;
}

// Looks at the picture part-way through a frame by one of the ways a program can (each must show all
// that was drawn so far), or changes what the rest of the frame draws on.
uint64_t glimpse(TestScene& scene, int way) {
  const int w = scene.width, h = scene.height;
  switch (way % 5) {
    case 0: {  // a copy of the picture
      std::unique_ptr<DisplaySurface> copy;
      createSurface(kSurfaceOffscreen, w, h, copy);
      surfaceBltFast(*copy, 0, 0, *scene.target, nullptr, kCopyPlain);
      return hashOf(copy->own.pixels.data(), copy->own.pixels.size());
    }
    case 1: {  // the depth, locked
      LockedSurface locked;
      if (failed(surfaceLock(*scene.depth, nullptr, locked))) return 0;
      const uint64_t h1 = hashOf(static_cast<const float*>(locked.bits), static_cast<size_t>(w) * h);
      surfaceUnlock(*scene.depth);
      return h1;
    }
    case 2: {  // a texture made and let go, then the pixels themselves
      std::unique_ptr<DisplaySurface> picture;
      createSurface(kSurfaceOffscreen | kSurfaceTexture, 4, 4, picture);
      TextureHandle texture = 0;
      createTexture(scene.device, *picture, texture);
      releaseTexture(scene.device, texture);
      return hashOf(scene.target->pixels().pixels.data(), scene.target->pixels().pixels.size());
    }
    case 3: {  // a corner cleared, picture and depth, and drawn over by the rest
      const Rect corner{0, 0, w / 3, h / 3};
      return clearViewport(scene.device, scene.viewport, &corner, 1, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    }
    default: {  // the depth filled under a stripe
      const Rect stripe{0, h / 2, w, h / 2 + 7};
      return surfaceFillDepth(*scene.depth, &stripe, 0.5f);
    }
  }
}

// Three hundred bricks of all sizes in a heap, some through the near plane and some past the sides,
// some wire-frame, some textured and some with a different depth test, drawn with the given thread
// count, looked at now and then part-way through.
Frame drawBusyScene(int threads) {
  TestScene scene(320, 240);
  setRenderThreads(scene.device, threads);
  scene.lookAt({10, 40, -60}, {0, 0, 0});
  std::mt19937 random(99);
  auto coordinate = [&random](int range) { return static_cast<float>(static_cast<int>(random() % (2 * range)) - range); };
  // A texture for some bricks, loaded again with another picture right after each of them is drawn:
  // drawing still queued must use the picture it was given.
  std::unique_ptr<DisplaySurface> picture;
  createSurface(kSurfaceOffscreen | kSurfaceTexture, 8, 8, picture);
  auto paint = [&picture](int seed) {
    for (int p = 0; p < 64; ++p) picture->pixels().pixels[p] = static_cast<uint16_t>((p * 2654435761u + seed * 40503u) >> 7);
  };
  paint(0);
  TextureHandle texture = 0;
  EXPECT_EQ(createTexture(scene.device, *picture, texture), kResultOk);
  Frame frame;
  ExecuteBuffer buffer;
  for (int i = 0; i < 300; ++i) {
    // Several bricks to a buffer, as the renderer sends a row of studs.
    std::vector<Vertex3D> vertices;
    std::vector<Triangle3D> triangles;
    for (int k = 0; k < 8; ++k) {
      const float size = 0.25f + (random() % 8) * 0.25f;
      const std::vector<Vertex3D> brick =
          brickVertices(coordinate(30), coordinate(20), coordinate(40) + (i % 50 == 0 ? -40 : 0), size, size, size);
      const std::vector<Triangle3D> faces = brickTriangles(6, static_cast<uint16_t>(vertices.size()));
      vertices.insert(vertices.end(), brick.begin(), brick.end());
      triangles.insert(triangles.end(), faces.begin(), faces.end());
    }
    scene.setColour((random() % 256) / 255.0f, (random() % 256) / 255.0f, (random() % 256) / 255.0f);
    buffer.clear();
    buffer.vertices = vertices;
    buffer.setStatus(D3DSETSTATUS_STATUS | D3DSETSTATUS_EXTENTS, D3DSTATUS_DEFAULT, Rect{2048, 2048, 0, 0});
    buffer.stateLight({{D3DLIGHTSTATE_MATERIAL, scene.material}});
    buffer.processVertices(D3DPROCESSVERTICES_TRANSFORMLIGHT, 0, 0, static_cast<uint32_t>(vertices.size()));
    buffer.stateRender({{D3DRENDERSTATE_TEXTUREHANDLE, i % 19 == 9 ? texture : 0},
                        {D3DRENDERSTATE_FILLMODE, i % 37 == 0 ? D3DFILL_WIREFRAME : D3DFILL_SOLID},
                        {D3DRENDERSTATE_ZFUNC, i % 41 == 0 ? D3DCMP_GREATER : D3DCMP_LESSEQUAL}});
    buffer.triangleList(triangles.data(), triangles.size());
    buffer.exit();
    EXPECT_EQ(scene.run(buffer), kResultOk);
    if (i % 19 == 9) {
      paint(i);
      EXPECT_EQ(textureLoad(scene.device, texture, *picture), kResultOk);
    }
    frame.extents.push_back(buffer.status.extent);
    if (i % 23 == 22) frame.glimpses.push_back(glimpse(scene, i / 23));
  }
  frame.pixels = scene.target->pixels().pixels;
  frame.depth = scene.depth->depth;
  return frame;
}

}  // namespace

TEST(Soft3dBands, BusySceneIsTheSameOnEveryThreadCount) {
  const Frame alone = drawBusyScene(1);
  int drawn = 0;
  for (uint16_t p : alone.pixels) drawn += p != 0;
  ASSERT_GT(drawn, 320 * 240 / 2);  // busy enough for every band to have work
  // On a one-core machine the device keeps to one thread and this compares a frame with itself.
  for (int threads : {2, 3, 0}) {
    const Frame shared = drawBusyScene(threads);
    EXPECT_TRUE(shared.pixels == alone.pixels) << threads << " threads";
    EXPECT_TRUE(shared.depth == alone.depth) << threads << " threads";
    EXPECT_EQ(shared.glimpses, alone.glimpses) << threads << " threads";
    ASSERT_EQ(shared.extents.size(), alone.extents.size());
    for (size_t i = 0; i < alone.extents.size(); ++i) {
      EXPECT_EQ(shared.extents[i].left, alone.extents[i].left) << i;
      EXPECT_EQ(shared.extents[i].top, alone.extents[i].top) << i;
      EXPECT_EQ(shared.extents[i].right, alone.extents[i].right) << i;
      EXPECT_EQ(shared.extents[i].bottom, alone.extents[i].bottom) << i;
    }
  }
}

// Drawing still queued when the device or a surface goes lands first (or is dropped with its surface),
// never written into memory that is gone.
TEST(Soft3dBands, QueuedDrawingLandsWhenTheDeviceOrASurfaceGoesFirst) {
  auto drawSome = [](TestScene& scene, int threads) {
    setRenderThreads(scene.device, threads);
    scene.lookAt({10, 40, -60}, {0, 0, 0});
    ExecuteBuffer buffer;
    for (int i = 0; i < 20; ++i) {
      TestScene::fill(buffer, scene.material, brickVertices(i * 3.0f - 30, 0, i * 2.0f - 20, 2, 1, 2),
                      brickTriangles(6, 0));
      scene.run(buffer);
    }
  };
  TestScene alone(160, 120);
  drawSome(alone, 1);
  const std::vector<uint16_t> expected = alone.target->pixels().pixels;

  TestScene deviceFirst(160, 120);
  drawSome(deviceFirst, 2);
  deviceFirst.device = Device3D{};
  EXPECT_TRUE(deviceFirst.target->own.pixels == expected);

  TestScene depthFirst(160, 120);
  drawSome(depthFirst, 2);
  depthFirst.target->attachedDepth = nullptr;
  depthFirst.depth.reset();
  EXPECT_TRUE(depthFirst.target->own.pixels == expected);

  TestScene targetFirst(160, 120);
  drawSome(targetFirst, 2);
  targetFirst.target.reset();
  targetFirst.device.target = nullptr;
  EXPECT_EQ(targetFirst.depth->queuedDrawing, nullptr);
}

TEST(Soft3dBands, ThreadCountFollowsTheSettingThenTheEnvironmentElseTheCoresAndNeverExceedsThem) {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  TestScene scene(32, 32);
  unsetenv("TOLVANE_RENDER_THREADS");
  EXPECT_EQ(renderThreadCount(scene.device), std::min(cores, soft3d::kDefaultBands));  // nothing asked: the cores, up to four
  setRenderThreads(scene.device, 1000);
  EXPECT_EQ(renderThreadCount(scene.device), std::min(cores, soft3d::kMaxBands));
  setRenderThreads(scene.device, -3);  // nonsense means "choose"
  setenv("TOLVANE_RENDER_THREADS", "2", 1);
  EXPECT_EQ(renderThreadCount(scene.device), std::min({2, cores, soft3d::kMaxBands}));
  setRenderThreads(scene.device, 1);  // the device's own count wins over the environment
  EXPECT_EQ(renderThreadCount(scene.device), 1);
  setRenderThreads(scene.device, 0);
  setenv("TOLVANE_RENDER_THREADS", "two", 1);  // unreadable: as if not set
  EXPECT_EQ(renderThreadCount(scene.device), std::min(cores, soft3d::kDefaultBands));
  unsetenv("TOLVANE_RENDER_THREADS");
}

TEST(Soft3dBands, EveryBandOfEveryJobRunsExactlyOnce) {
  // More threads than cores, and jobs of one to seven bands, on purpose: claims must hold when threads
  // are preempted mid-job and when a job has fewer or more bands than there are threads.
  soft3d::BandWorkers workers(5);
  constexpr int kMost = 7;
  struct Tally {
    std::atomic<int> runs[kMost];
    int job = 0;
    std::atomic<int> wrongJob{0};
    std::atomic<int> seenJob[kMost];
  } tally;
  for (auto& r : tally.runs) r = 0;
  for (auto& s : tally.seenJob) s = -1;
  int expected[kMost] = {};
  for (int job = 0; job < 3000; ++job) {
    tally.job = job;
    const int bands = 1 + job % kMost;
    for (int b = 0; b < bands; ++b) ++expected[b];
    workers.run(
        [](void* data, int band) {
          Tally& t = *static_cast<Tally*>(data);
          if (t.seenJob[band].exchange(t.job) == t.job) t.wrongJob.fetch_add(1);  // twice in one job
          t.runs[band].fetch_add(1);
        },
        &tally, bands);
    if (job % 1000 == 999) std::this_thread::sleep_for(std::chrono::milliseconds(2));  // let the crew fall asleep
  }
  for (int b = 0; b < kMost; ++b) EXPECT_EQ(tally.runs[b].load(), expected[b]) << "band " << b;
  EXPECT_EQ(tally.wrongJob.load(), 0);
}
