// The scene renderer drawing a known scene: the frame against a stored picture, depth order, the plate's
// studs, blocks off screen and blocks with a face picture, the start scene's files, and the two queries.
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

Block* redBrick = nullptr;
Block* blueBrick = nullptr;

// A 10 x 10 plate, a red brick in the middle and a blue one behind it as seen from the test camera.
bool buildKnownScene() {
  putBlockInScene(plateDescription(10, 10), NewBlockOptions{true, false});
  redBrick = putBlockInScene(brickAt(-2, 12, -2, {1, 0, 0, 1}));
  blueBrick = putBlockInScene(brickAt(6, 12, 6, {0, 0, 1, 1}, 2, 2, 3));
  setTestCamera();
  return true;
}

constexpr int kWidth = 160, kHeight = 120;

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
  SceneTestView view(kWidth, kHeight, buildKnownScene);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  ASSERT_TRUE(frameStep());
  const DisplaySurface& back = *renderDevice.backBuffer;
  // The first frame rebuilds the base image and so presents the whole window.
  EXPECT_EQ(sceneRenderer.frameExtent, (Rect{0, 0, kWidth, kHeight}));
  EXPECT_EQ(sceneRenderer.fullRedrawPending, 0);

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
  SceneTestView view(kWidth, kHeight, buildKnownScene);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  ASSERT_TRUE(frameStep());
  const DisplaySurface& front = *renderDevice.frontBuffer;
  const Rgb corner = pixelAt(front, 0, 0);
  EXPECT_NEAR(corner.r, 80, 8);
  EXPECT_NEAR(corner.b, 240, 8);
  // The middle of each brick's top, between its studs.
  const Vec3 red = projectPoint(redBrick->position.x, redBrick->outerMax.y - 1, redBrick->position.z);
  const Rgb onRed = pixelAt(front, static_cast<int>(red.x), static_cast<int>(red.y));
  EXPECT_GT(onRed.r, onRed.b + 40);
  const Vec3 blue = projectPoint(blueBrick->position.x, blueBrick->outerMax.y - 1, blueBrick->position.z);
  const Rgb onBlue = pixelAt(front, static_cast<int>(blue.x), static_cast<int>(blue.y));
  EXPECT_GT(onBlue.b, onBlue.r + 40);
  const Vec3 plate = projectPoint(10, 1, -14);
  const Rgb onPlate = pixelAt(front, static_cast<int>(plate.x), static_cast<int>(plate.y));
  EXPECT_GT(onPlate.g, onPlate.r);
  // Every block records where it was drawn; the plate keeps its never-drawn rectangle.
  EXPECT_TRUE(redBrick->screenRect.contains(static_cast<int>(red.x), static_cast<int>(red.y)));
  EXPECT_FALSE(blueBrick->screenRect.empty());

  // Put the blue tower in front of the red brick: wherever both cover a pixel, the nearer one shows.
  setTestCamera(45, 60, 70);
  sceneRenderer.fullRedrawPending = 1;
  ASSERT_TRUE(frameStep());
  const Vec3 redAgain = projectPoint(redBrick->position.x, redBrick->outerMax.y - 1, redBrick->position.z);
  const Vec3 blueTop = projectPoint(blueBrick->position.x, blueBrick->outerMax.y - 1, blueBrick->position.z);
  EXPECT_GT(blueTop.z, 0);
  EXPECT_LT(blueTop.z, redAgain.z);
}

TEST(SceneRenderer, PlateStudsGoRowByRowAndHideWhenStudsAreOff) {
  SceneTestView view(kWidth, kHeight, buildKnownScene);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  ASSERT_TRUE(frameStep());
  Block* plate = nullptr;
  for (const auto& node : scene.nodes)
    if (node->block->kind == BasePlate) plate = node->block.get();
  ASSERT_NE(plate, nullptr);
  for (int cell = 0; cell < 100; ++cell) EXPECT_EQ(plate->studCells[cell].visible, cell >= 90 ? 1 : 0) << cell;
  // The stud-row buffer of the last row held ten studs.
  EXPECT_EQ(sceneRenderer.executeBuffer.vertices.size() > 0, true);

  const Rect plateWithStuds = sceneRenderer.frameExtent;
  sceneRenderer.hooks.conditions = [] {
    FrameConditions c;
    c.hideStuds = true;
    return c;
  };
  sceneRenderer.fullRedrawPending = 1;
  ASSERT_TRUE(frameStep());
  EXPECT_EQ(sceneRenderer.drawStuds, 0);
  for (const StudCell& cell : plate->studCells) EXPECT_EQ(cell.visible, 0);
  EXPECT_EQ(sceneRenderer.frameExtent, plateWithStuds);  // the whole window either way
  sceneRenderer.frameExtent = kEmptyExtent;
  ASSERT_TRUE(drawBlock(*redBrick));
  EXPECT_EQ(sceneRenderer.executeBuffer.vertices.size(), static_cast<size_t>(redBrick->vertexCount));
}

TEST(SceneRenderer, BlockOffScreenLeavesTheFrameExtentAlone) {
  SceneTestView view(kWidth, kHeight, buildKnownScene);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  Block* far = putBlockInScene(brickAt(400, 12, 400, {1, 1, 0, 1}));
  ASSERT_NE(far, nullptr);
  sceneRenderer.frameExtent = Rect{10, 10, 20, 20};
  ASSERT_TRUE(drawBlock(*far));
  EXPECT_EQ(far->screenRect, kExecuteStartExtent);
  EXPECT_EQ(sceneRenderer.frameExtent, (Rect{10, 10, 20, 20}));
  EXPECT_FALSE(extentsOverlap(far->screenRect, Rect{0, 0, kWidth, kHeight}));
}

TEST(SceneRenderer, BlockWithOnePictureDrawsItsFacesOneByOne) {
  SceneTestView view(kWidth, kHeight, buildKnownScene);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  Block* white = putBlockInScene(brickAt(-10, 12, -10, {1, 1, 1, 1}));
  ASSERT_TRUE(frameStep());
  const Vec3 top = projectPoint(white->position.x, white->outerMax.y - 1, white->position.z);
  const Rgb plain = pixelAt(*renderDevice.backBuffer, static_cast<int>(top.x), static_cast<int>(top.y));
  EXPECT_NEAR(plain.r, plain.b, 24);
  white->faceTextureHandles[FaceTop] = static_cast<int32_t>(renderDevice.textures.entries[0].handle);
  sceneRenderer.fullRedrawPending = 1;
  ASSERT_TRUE(frameStep());
  const Rgb pictured = pixelAt(*renderDevice.backBuffer, static_cast<int>(top.x), static_cast<int>(top.y));
  EXPECT_GT(pictured.b, pictured.r + 40);  // the sky picture on the top face
  EXPECT_TRUE(white->screenRect.contains(static_cast<int>(top.x), static_cast<int>(top.y)));
  // The studs came last, in their own buffer of four studs.
  EXPECT_EQ(sceneRenderer.executeBuffer.vertices.size(), 4u * kStudVertexCount);
}

TEST(SceneRenderer, ProjectPointAndPickFaceFindKnownFaces) {
  SceneTestView view(kWidth, kHeight, buildKnownScene);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  // Looking at the red brick from the -x side, level: its -x face fills the middle of the view.
  setTestCamera(180, 89, 40, redBrick->position);
  const Vec3 centre = projectPoint(redBrick->position.x, redBrick->position.y, redBrick->position.z);
  EXPECT_NEAR(centre.x, kWidth / 2.0f, 1.0f);
  EXPECT_NEAR(centre.y, kHeight / 2.0f, 1.0f);
  EXPECT_GT(centre.z, 0);
  EXPECT_LT(centre.z, 1);
  int face = -1;
  const float depth = pickFace(*redBrick, Rect{kWidth / 2, kHeight / 2, kWidth / 2, kHeight / 2}, face);
  EXPECT_EQ(face, FaceMinusX);
  EXPECT_NEAR(depth, centre.z, 0.05f);
  // From above, the top face.
  setTestCamera(220, 1, 60, redBrick->position);
  face = -1;
  pickFace(*redBrick, Rect{kWidth / 2, kHeight / 2, kWidth / 2, kHeight / 2}, face);
  EXPECT_EQ(face, FaceTop);
  // Beside the block: no hit, and the face index stays as it was.
  face = 77;
  EXPECT_EQ(pickFace(*redBrick, Rect{2, 2, 2, 2}, face), kFloatMax);
  EXPECT_EQ(face, 77);
  // Behind the eye: nothing to project.
  const TestEye& t = testEye;
  const Vec3 behind = projectPoint(t.eye.x - t.forward.x * 5, t.eye.y - t.forward.y * 5, t.eye.z - t.forward.z * 5);
  EXPECT_EQ(behind, (Vec3{0, 0, 0}));
}

TEST(SceneRenderer, RotateLightTurnsTheMainLightAboutTheVertical) {
  SceneTestView view(kWidth, kHeight, buildKnownScene);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  sceneView.lightDirection = {1, -1, 0};
  rotateLight(90);
  EXPECT_NEAR(sceneView.lightDirection.x, 0, 1e-5f);
  EXPECT_NEAR(sceneView.lightDirection.y, -1, 1e-5f);
  EXPECT_NEAR(sceneView.lightDirection.z, 1, 1e-5f);
  Light3D light;
  ASSERT_EQ(getLight(*sceneRenderer.direct3D, sceneRenderer.light1, light), kResultOk);
  EXPECT_NEAR(light.direction.z, 1, 1e-5f);
}
