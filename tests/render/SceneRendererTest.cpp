// The scene renderer drawing a known scene: the frame against a stored picture, depth order, the plate's
// studs, blocks off screen and blocks with a face picture, the two queries, and the view's start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "SceneTestView.h"
#include "platform/paths.h"
#include "render/Textures.h"

namespace {

struct Rgb {
  int r, g, b;
};
Rgb pixelAt(const DisplaySurface& s, int x, int y) {
  const uint16_t p = s.pixels().at(x, y);
  return Rgb{(p >> 11) << 3, ((p >> 5) & 63) << 2, (p & 31) << 3};
}

constexpr int kWidth = 160, kHeight = 120;

// A 10 x 10 plate, a red brick in the middle and a blue one behind it as seen from the test camera.
struct KnownScene {
  SceneTestView view{kWidth, kHeight};
  SceneRenderer& r = view.renderer;
  Block* redBrick = nullptr;
  Block* blueBrick = nullptr;
  bool started = view.start([this](SceneTestView& v) {
    v.put(plateDescription(10, 10), NewBlockOptions{true, false});
    redBrick = v.put(brickAt(-2, 12, -2, {1, 0, 0, 1}));
    blueBrick = v.put(brickAt(6, 12, 6, {0, 0, 1, 1}, 2, 2, 3));
    setTestCamera(v);
    return true;
  });
  // Where the middle of a brick's top, between its studs, lands.
  Vec3 topOf(const Block* b) { return view.project(Vec3{b->position.x, b->outerMax.y - 1, b->position.z}); }
};

std::string framePpm(const DisplaySurface& s) {
  std::string out = "P6\n" + std::to_string(kWidth) + " " + std::to_string(kHeight) + "\n255\n";
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const Rgb c = pixelAt(s, x, y);
      out += {char(c.r), char(c.g), char(c.b)};
    }
  return out;
}

}  // namespace

TEST(SceneRenderer, KnownSceneMatchesItsReferencePicture) {
  KnownScene s;
  ASSERT_TRUE(s.started) << lastRenderErrorText(s.view.device);
  ASSERT_TRUE(s.view.frame());
  const DisplaySurface& back = *s.view.device.backBuffer;
  // The first frame rebuilds the base image and so presents the whole window.
  EXPECT_EQ(s.view.lastPath, FramePath::Scene);
  EXPECT_EQ(s.r.frameExtent, (Rect{0, 0, kWidth, kHeight}));
  EXPECT_EQ(s.r.fullRedrawPending, 0);

  const std::string reference = testDataPath("render/SceneRendererReference.ppm");
  const std::string frame = framePpm(back);
  if (std::getenv("TOLVANE_WRITE_REFERENCE")) std::ofstream(reference, std::ios::binary) << frame;
  std::string referenceBytes;
  ASSERT_TRUE(readWholeFile(reference, referenceBytes, 1 << 20));
  PpmPicture expected;
  ASSERT_EQ(readPpm(referenceBytes, expected), PpmResult::Ok);
  ASSERT_EQ(expected.width, kWidth);
  ASSERT_EQ(expected.height, kHeight);
  // Rounding in the rasteriser may move an edge by a pixel: at most 1% of the pixels may differ by more
  // than 24 in a channel.
  int differing = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const Rgb c = pixelAt(back, x, y);
      const uint8_t* e = &expected.rgb[3 * (static_cast<size_t>(y) * kWidth + x)];
      if (std::abs(c.r - e[0]) > 24 || std::abs(c.g - e[1]) > 24 || std::abs(c.b - e[2]) > 24) ++differing;
    }
  EXPECT_LE(differing, kWidth * kHeight / 100);
}

TEST(SceneRenderer, FrameShowsSkyPlateAndBricksInDepthOrder) {
  KnownScene s;
  ASSERT_TRUE(s.started) << lastRenderErrorText(s.view.device);
  ASSERT_TRUE(s.view.frame());
  const DisplaySurface& front = *s.view.device.frontBuffer;
  const Rgb corner = pixelAt(front, 0, 0);
  EXPECT_NEAR(corner.r, 80, 8);
  EXPECT_NEAR(corner.b, 240, 8);
  const Vec3 red = s.topOf(s.redBrick);
  const Rgb onRed = pixelAt(front, static_cast<int>(red.x), static_cast<int>(red.y));
  EXPECT_GT(onRed.r, onRed.b + 40);
  const Vec3 blue = s.topOf(s.blueBrick);
  const Rgb onBlue = pixelAt(front, static_cast<int>(blue.x), static_cast<int>(blue.y));
  EXPECT_GT(onBlue.b, onBlue.r + 40);
  const Vec3 plate = projectPoint(s.r, 10, 1, -14);
  const Rgb onPlate = pixelAt(front, static_cast<int>(plate.x), static_cast<int>(plate.y));
  EXPECT_GT(onPlate.g, onPlate.r);
  // Every block records where it was drawn; the plate keeps its never-drawn rectangle.
  EXPECT_TRUE(screenRectOf(s.r, *s.redBrick).contains(static_cast<int>(red.x), static_cast<int>(red.y)));
  EXPECT_FALSE(screenRectOf(s.r, *s.blueBrick).empty());

  // Put the blue tower in front of the red brick: wherever both cover a pixel, the nearer one shows.
  setTestCamera(s.view, 45, 60, 70);
  s.r.fullRedrawPending = 1;
  ASSERT_TRUE(s.view.frame());
  const Vec3 redAgain = s.topOf(s.redBrick);
  const Vec3 blueTop = s.topOf(s.blueBrick);
  EXPECT_GT(blueTop.z, 0);
  EXPECT_LT(blueTop.z, redAgain.z);
}

TEST(SceneRenderer, PlateStudsGoRowByRowAndHideWhenStudsAreOff) {
  KnownScene s;
  ASSERT_TRUE(s.started) << lastRenderErrorText(s.view.device);
  ASSERT_TRUE(s.view.frame());
  Block* plate = nullptr;
  for (const auto& node : s.view.world.scene.nodes)
    if (node->block->kind == BasePlate) plate = node->block.get();
  ASSERT_NE(plate, nullptr);
  for (int cell = 0; cell < 100; ++cell) EXPECT_EQ(plate->studCells[cell].visible, cell >= 90 ? 1 : 0) << cell;
  // The stud-row buffer of the last row held ten studs.
  EXPECT_EQ(s.r.executeBuffer.vertices.size() > 0, true);

  const Rect plateWithStuds = s.r.frameExtent;
  FrameConditions hidden;
  hidden.hideStuds = true;
  s.r.fullRedrawPending = 1;
  ASSERT_TRUE(s.view.frame(hidden));
  EXPECT_EQ(s.r.drawStuds, 0);
  for (const StudCell& cell : plate->studCells) EXPECT_EQ(cell.visible, 0);
  EXPECT_EQ(s.r.frameExtent, plateWithStuds);  // the whole window either way
  s.r.frameExtent = kEmptyExtent;
  ASSERT_TRUE(drawBlock(s.r, *s.redBrick));
  EXPECT_EQ(s.r.executeBuffer.vertices.size(), static_cast<size_t>(s.redBrick->vertexCount));
}

TEST(SceneRenderer, BlockOffScreenLeavesTheFrameExtentAlone) {
  KnownScene s;
  ASSERT_TRUE(s.started) << lastRenderErrorText(s.view.device);
  Block* far = s.view.put(brickAt(400, 12, 400, {1, 1, 0, 1}));
  ASSERT_NE(far, nullptr);
  s.r.frameExtent = Rect{10, 10, 20, 20};
  ASSERT_TRUE(drawBlock(s.r, *far));
  EXPECT_EQ(screenRectOf(s.r, *far), kExecuteStartExtent);
  EXPECT_EQ(s.r.frameExtent, (Rect{10, 10, 20, 20}));
  EXPECT_FALSE(extentsOverlap(screenRectOf(s.r, *far), Rect{0, 0, kWidth, kHeight}));
}

TEST(SceneRenderer, BlockWithOnePictureDrawsItsFacesOneByOne) {
  KnownScene s;
  ASSERT_TRUE(s.started) << lastRenderErrorText(s.view.device);
  Block* white = s.view.put(brickAt(-10, 12, -10, {1, 1, 1, 1}));
  ASSERT_TRUE(s.view.frame());
  const Vec3 top = s.topOf(white);
  const DisplaySurface& back = *s.view.device.backBuffer;
  const Rgb plain = pixelAt(back, static_cast<int>(top.x), static_cast<int>(top.y));
  EXPECT_NEAR(plain.r, plain.b, 24);
  white->faceTextureHandles[FaceTop] = static_cast<int32_t>(s.view.device.textures.entries[0].handle);
  s.r.fullRedrawPending = 1;
  ASSERT_TRUE(s.view.frame());
  const Rgb pictured = pixelAt(back, static_cast<int>(top.x), static_cast<int>(top.y));
  EXPECT_GT(pictured.b, pictured.r + 40);  // the sky picture on the top face
  EXPECT_TRUE(screenRectOf(s.r, *white).contains(static_cast<int>(top.x), static_cast<int>(top.y)));
  // The studs came last, in their own buffer of four studs.
  EXPECT_EQ(s.r.executeBuffer.vertices.size(), 4u * kStudVertexCount);
}

TEST(SceneRenderer, ProjectPointAndPickFaceFindKnownFaces) {
  KnownScene s;
  ASSERT_TRUE(s.started) << lastRenderErrorText(s.view.device);
  Block& red = *s.redBrick;
  // Looking at the red brick from the -x side, level: its -x face fills the middle of the view.
  setTestCamera(s.view, 180, 89, 40, red.position);
  const Vec3 centre = s.view.project(red.position);
  EXPECT_NEAR(centre.x, kWidth / 2.0f, 1.0f);
  EXPECT_NEAR(centre.y, kHeight / 2.0f, 1.0f);
  EXPECT_GT(centre.z, 0);
  EXPECT_LT(centre.z, 1);
  int face = -1;
  const float depth = pickFace(s.r, red, Rect{kWidth / 2, kHeight / 2, kWidth / 2, kHeight / 2}, face);
  EXPECT_EQ(face, FaceMinusX);
  EXPECT_NEAR(depth, centre.z, 0.05f);
  // From above, the top face.
  const TestEye t = setTestCamera(s.view, 220, 1, 60, red.position);
  face = -1;
  pickFace(s.r, red, Rect{kWidth / 2, kHeight / 2, kWidth / 2, kHeight / 2}, face);
  EXPECT_EQ(face, FaceTop);
  // Beside the block: no hit, and the face index stays as it was.
  face = 77;
  EXPECT_EQ(pickFace(s.r, red, Rect{2, 2, 2, 2}, face), kFloatMax);
  EXPECT_EQ(face, 77);
  // Behind the eye: nothing to project.
  const Vec3 behind = projectPoint(s.r, t.eye.x - t.forward.x * 5, t.eye.y - t.forward.y * 5, t.eye.z - t.forward.z * 5);
  EXPECT_EQ(behind, (Vec3{0, 0, 0}));
}

TEST(SceneRenderer, RotateLightTurnsTheMainLightAboutTheVertical) {
  KnownScene s;
  ASSERT_TRUE(s.started) << lastRenderErrorText(s.view.device);
  SceneView& v = s.view.world.view;
  v.lightDirection = {1, -1, 0};
  rotateLight(s.r, s.view.world, 90);
  EXPECT_NEAR(v.lightDirection.x, 0, 1e-5f);
  EXPECT_NEAR(v.lightDirection.y, -1, 1e-5f);
  EXPECT_NEAR(v.lightDirection.z, 1, 1e-5f);
  Light3D light;
  ASSERT_EQ(getLight(*s.r.direct3D, s.r.light1, light), kResultOk);
  EXPECT_NEAR(light.direction.z, 1, 1e-5f);
}

// The view's start: the renderer draws with the device's pictures and the world's materials, and one
// that fails to start lets go of the device.
TEST(SceneRenderer, ViewStartLightsTheSceneFromTheWorldsView) {
  KnownScene s;
  ASSERT_TRUE(s.started) << lastRenderErrorText(s.view.device);
  EXPECT_EQ(s.r.textureHandles, textureHandles(s.view.device));
  EXPECT_EQ(s.r.materials, &s.view.world.materials);
  EXPECT_NE(materialHandle(s.view.world.materials, s.redBrick->faceMaterials[0]), 0u);
  Light3D light;
  ASSERT_EQ(getLight(*s.r.direct3D, s.r.light1, light), kResultOk);
  EXPECT_FLOAT_EQ(light.direction.x, 0.3f);
  EXPECT_FLOAT_EQ(light.direction.y, -0.8f);
  EXPECT_FLOAT_EQ(light.direction.z, 0.5f);
}

TEST(SceneRenderer, FailedInitViewLetsGoOfTheDevice) {
  SceneTestView view(kWidth, kHeight);
  ASSERT_TRUE(startRenderView(view.device, view.window, "", view.data.path() + "/"));
  RenderDevice& d = view.device;
  ASSERT_EQ(beginScene(*d.device), kResultOk);  // a scene left open: the set-up buffer cannot run
  EXPECT_FALSE(InitView(view.renderer, *d.direct3D, *d.device, d.viewport, 0, nullptr));
  EXPECT_EQ(view.renderer.device, nullptr);
  EXPECT_EQ(view.renderer.direct3D, nullptr);
  EXPECT_EQ(view.renderer.light1, 0u);
  // Nothing is drawn through a renderer without a device, and the frame is no failure.
  EXPECT_TRUE(view.frame());
  EXPECT_EQ(view.lastPath, FramePath::Nothing);
  EXPECT_EQ(projectPoint(view.renderer, 0, 0, 0), (Vec3{0, 0, 0}));
  endScene(*d.device);
}
