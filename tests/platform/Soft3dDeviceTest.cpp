// The 3D device end to end: execute buffers of bricks seen through the program's view set-up, culling of
// the brick template, extents, picking, near-plane clipping, TransformVertices, clears and a reference
// picture.
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "support/TestSupport.h"
#include "Soft3dScene.h"

namespace {

// The camera looks at the brick's centre from six directions, each straight at one face.
struct FaceView {
  int face;
  D3DVector eye;
};
const FaceView kFaceViews[6] = {{0, {0, 30, 0}}, {1, {0, 0, -30}}, {2, {30, 0, 0}},
                                {3, {0, 0, 30}}, {4, {-30, 0, 0}}, {5, {0, -30, 0}}};

}  // namespace

TEST(Soft3dDevice, EveryOuterFaceOfTheBrickShowsFromOutsideAndNoneFromInside) {
  TestScene scene(160, 120);
  ExecuteBuffer buffer;
  for (const FaceView& view : kFaceViews) {
    // Only this face in the buffer: it must draw when seen from outside ...
    const std::vector<Triangle3D> all = brickTriangles();
    const std::vector<Triangle3D> face(all.begin() + 2 * view.face, all.begin() + 2 * view.face + 2);
    TestScene::fill(buffer, scene.material, brickVertices(0, 0, 0, 1, 1, 1), face);
    scene.clear();
    scene.lookAt(view.eye, {0, 0, 0});
    ASSERT_EQ(scene.run(buffer), kResultOk);
    EXPECT_GT(scene.countNonBlack(), 100) << "face " << view.face << " from outside";
    // ... and be culled when seen from the opposite side, through the brick.
    scene.clear();
    scene.lookAt(D3DVector{-view.eye.x, -view.eye.y, -view.eye.z}, {0, 0, 0});
    TestScene::fill(buffer, scene.material, brickVertices(0, 0, 0, 1, 1, 1), face);
    ASSERT_EQ(scene.run(buffer), kResultOk);
    EXPECT_EQ(scene.countNonBlack(), 0) << "face " << view.face << " from inside";
  }
}

TEST(Soft3dDevice, ExtentCoversExactlyTheDrawnPixelsAndStaysInvertedWhenNothingDraws) {
  TestScene scene(160, 120);
  scene.lookAt({10, 14, -24}, {0, 0, 0});
  ExecuteBuffer buffer;
  TestScene::fill(buffer, scene.material, brickVertices(0, 0, 0, 2, 1, 1), brickTriangles());
  ASSERT_EQ(scene.run(buffer), kResultOk);
  Rect drawn{1000, 1000, -1, -1};
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x)
      if (scene.pixel(x, y)) drawn = Rect{std::min(drawn.left, x), std::min(drawn.top, y), std::max(drawn.right, x + 1), std::max(drawn.bottom, y + 1)};
  const Rect extent = buffer.status.extent;
  EXPECT_LE(extent.left, drawn.left);
  EXPECT_LE(extent.top, drawn.top);
  EXPECT_GE(extent.right, drawn.right);
  EXPECT_GE(extent.bottom, drawn.bottom);
  EXPECT_LE(drawn.left - extent.left + extent.right - drawn.right, 2);
  EXPECT_LE(drawn.top - extent.top + extent.bottom - drawn.bottom, 2);

  // Behind the camera: nothing drawn, the extent stays the inverted one the buffer set.
  TestScene::fill(buffer, scene.material, brickVertices(-10, -14, 24 + 30, 1, 1, 1), brickTriangles());
  scene.lookAt({10, 14, -24}, {20, 28, -48});
  scene.clear();
  ASSERT_EQ(scene.run(buffer), kResultOk);
  EXPECT_EQ(buffer.status.extent, (Rect{2048, 2048, 0, 0}));
  EXPECT_EQ(scene.countNonBlack(), 0);
}

TEST(Soft3dDevice, PickReportsTheFaceUnderThePointWithItsDepth) {
  TestScene scene(160, 120);
  scene.lookAt({0, 30, 0.01f}, {0, 0, 0});  // from above: the top face (face 0) fills the middle
  ExecuteBuffer buffer;
  TestScene::fill(buffer, scene.material, brickVertices(0, 0, 0, 1, 1, 1), brickTriangles());
  ASSERT_EQ(pick(scene.device, buffer, scene.viewport, 0, Rect{80, 60, 81, 61}), kResultOk);
  const std::vector<PickRecord>& records = pickRecords(scene.device);
  ASSERT_EQ(records.size(), 1u);
  // Byte layout: status 28, material state 12, vertex processing 20, four render states 36, then the
  // triangle instruction's header: the first triangle sits at byte 100.
  EXPECT_GE(records[0].offset, 100u);
  EXPECT_EQ((records[0].offset - 100) / 16, 0u);
  // The top face is 27 units from the eye: depth (z - 1) / z of the view's z + 1.
  EXPECT_NEAR(records[0].depth, 27.0f / 28.0f, 1e-3f);
  // Beside the brick nothing is hit; picking draws nothing.
  ASSERT_EQ(pick(scene.device, buffer, scene.viewport, 0, Rect{2, 2, 3, 3}), kResultOk);
  EXPECT_TRUE(pickRecords(scene.device).empty());
  EXPECT_EQ(scene.countNonBlack(), 0);
}

TEST(Soft3dDevice, FloorReachingBehindTheEyeIsClippedAtTheNearPlane) {
  TestScene scene(160, 120);
  scene.lookAt({0, 5, 0}, {0, 5, 10});  // looking along +z, floor 5 below the eye
  ExecuteBuffer buffer;
  // A huge floor square reaching far behind and ahead of the eye, top side up (clockwise from above).
  std::vector<Vertex3D> floor = {{-500, 0, 500, 0, 1, 0, 0, 0},
                                 {500, 0, 500, 0, 1, 0, 0, 0},
                                 {500, 0, -500, 0, 1, 0, 0, 0},
                                 {-500, 0, -500, 0, 1, 0, 0, 0}};
  TestScene::fill(buffer, scene.material, floor, {{0, 1, 2, 0x700}, {2, 3, 0, 0x700}});
  ASSERT_EQ(scene.run(buffer), kResultOk);
  // Everything below the horizon (the middle row) is floor, everything above it sky.
  for (int x = 0; x < 160; x += 7) {
    EXPECT_NE(scene.pixel(x, 119), 0) << x;
    EXPECT_NE(scene.pixel(x, 64), 0) << x;
    EXPECT_EQ(scene.pixel(x, 50), 0) << x;
  }
  EXPECT_EQ(buffer.status.extent.bottom, 120);
  EXPECT_EQ(buffer.status.extent.left, 0);
  EXPECT_EQ(buffer.status.extent.right, 160);
}

TEST(Soft3dDevice, TransformVerticesReportsPointsOutsideTheView) {
  TestScene scene(160, 120);
  scene.lookAt({0, 0, -10}, {0, 0, 0});
  Vertex3D points[3] = {{0, 0, 0}, {0, 0, -20}, {100, 0, 0}};
  TLVertex out[3];
  uint32_t offScreen = 0;
  ASSERT_EQ(transformVertices(scene.device, scene.viewport, points, out, 1, D3DTRANSFORM_CLIPPED, offScreen), kResultOk);
  EXPECT_EQ(offScreen, 0u);
  EXPECT_NEAR(out[0].sx, 80, 0.01f);
  EXPECT_NEAR(out[0].sy, 60, 0.01f);
  EXPECT_NEAR(out[0].sz, 10.0f / 11.0f, 1e-4f);
  ASSERT_EQ(transformVertices(scene.device, scene.viewport, points + 1, out, 1, D3DTRANSFORM_CLIPPED, offScreen), kResultOk);
  EXPECT_NE(offScreen & D3DCLIP_FRONT, 0u);
  ASSERT_EQ(transformVertices(scene.device, scene.viewport, points + 2, out, 1, D3DTRANSFORM_CLIPPED, offScreen), kResultOk);
  EXPECT_NE(offScreen & D3DCLIP_RIGHT, 0u);
  // Points on different sides share no bit.
  ASSERT_EQ(transformVertices(scene.device, scene.viewport, points, out, 3, D3DTRANSFORM_CLIPPED, offScreen), kResultOk);
  EXPECT_EQ(offScreen, 0u);
  // More than a vertex run may hold is refused, not read past the end.
  std::vector<Vertex3D> many(70000);
  std::vector<TLVertex> manyOut(many.size());
  EXPECT_EQ(transformVertices(scene.device, scene.viewport, many.data(), manyOut.data(), many.size(), D3DTRANSFORM_CLIPPED, offScreen),
            kErrorInvalidParams);
}

TEST(Soft3dDevice, ClearPaintsTheBackgroundPictureStretchedOverTheViewport) {
  TestScene scene(160, 120);
  std::unique_ptr<DisplaySurface> picture;
  ASSERT_EQ(createSurface(kSurfaceTexture, 2, 2, picture), kResultOk);
  picture->own.pixels = {rgb565(255, 0, 0), rgb565(0, 255, 0), rgb565(0, 0, 255), rgb565(255, 255, 255)};
  TextureHandle texture = 0;
  ASSERT_EQ(createTexture(scene.device, *picture, texture), kResultOk);
  MaterialHandle background;
  createMaterial(scene.d3d, background);
  Material3D m;
  m.texture = texture;
  setMaterial(scene.d3d, background, m);
  setViewportBackground(scene.d3d, scene.viewport, background);
  const Rect part{70, 50, 100, 70};
  ASSERT_EQ(clearViewport(scene.device, scene.viewport, &part, 1, D3DCLEAR_TARGET), kResultOk);
  EXPECT_EQ(scene.pixel(75, 55), rgb565(255, 0, 0));
  EXPECT_EQ(scene.pixel(85, 55), rgb565(0, 255, 0));
  EXPECT_EQ(scene.pixel(75, 65), rgb565(0, 0, 255));
  EXPECT_EQ(scene.pixel(85, 65), rgb565(255, 255, 255));
  EXPECT_EQ(scene.pixel(60, 55), 0);  // outside the cleared rectangle
}

TEST(Soft3dDevice, BadInstructionsAndHandlesAreRefusedOrSkipped) {
  TestScene scene(32, 32);
  ExecuteBuffer buffer;
  buffer.vertices = brickVertices(0, 0, 0, 1, 1, 1);
  buffer.processVertices(D3DPROCESSVERTICES_TRANSFORMLIGHT, 10, 0, 100);  // past the vertices: ignored
  buffer.processVertices(D3DPROCESSVERTICES_TRANSFORMLIGHT, 0, 4000000000u, 24);  // beyond any index: ignored
  Triangle3D wild{60000, 1, 2, 0x700};
  buffer.triangleList(&wild, 1);
  buffer.instructions.push_back(Instruction{Op::Triangle, 0, 5000, 0, 50, 0, Rect{}});  // past the triangles
  buffer.exit();
  EXPECT_EQ(scene.run(buffer), kResultOk);
  EXPECT_EQ(execute(scene.device, buffer, scene.viewport, 0), kErrorSceneNotInScene);
  EXPECT_EQ(execute(scene.device, buffer, 77, 0), kErrorSceneNotInScene);
  beginScene(scene.device);
  EXPECT_EQ(execute(scene.device, buffer, 77, 0), kErrorInvalidHandle);
  endScene(scene.device);
  EXPECT_EQ(setMatrix(scene.device, 99, D3DMatrix{}), kErrorMatrixSetData);
  EXPECT_EQ(setMaterial(scene.d3d, 0, Material3D{}), kErrorMaterialSetData);
}

// Two lit bricks and a wire box, compared with a reference picture reviewed by eye when it was made.
// Tolerance: a channel may differ by 24 of 255 (about three RGB565 steps of green), and at most 0.5% of
// the pixels (edge pixels after a change of rounding) may differ by more.
TEST(Soft3dDevice, SmallSceneMatchesItsReferencePicture) {
  TestScene scene(320, 240);
  scene.lookAt({18, 22, -30}, {0, 0, 0});
  ExecuteBuffer buffer;
  std::vector<Vertex3D> v = brickVertices(0, 0, 0, 2, 1, 1);
  std::vector<Vertex3D> v2 = brickVertices(6, 6, 2, 1, 2, 1);
  v.insert(v.end(), v2.begin(), v2.end());
  std::vector<Triangle3D> t = brickTriangles();
  std::vector<Triangle3D> t2 = brickTriangles(6, 24);
  t.insert(t.end(), t2.begin(), t2.end());
  TestScene::fill(buffer, scene.material, v, t);
  ASSERT_EQ(scene.run(buffer), kResultOk);
  scene.setColour(1, 1, 0);
  std::vector<Triangle3D> wire = brickTriangles();
  for (Triangle3D& triangle : wire) triangle.flags = D3DTRIFLAG_EDGEENABLE1 | D3DTRIFLAG_EDGEENABLE2;
  TestScene::fill(buffer, scene.material, brickVertices(-8, 2, -6, 1, 1, 1), wire, D3DFILL_WIREFRAME);
  ASSERT_EQ(scene.run(buffer), kResultOk);

  const Surface& image = scene.target->pixels();
  const std::string reference = testDataPath("platform/soft3d-bricks.ppm");
  if (std::getenv("TOLVANE_WRITE_REFERENCE")) {
    std::string ppm = "P6\n320 240\n255\n";
    for (uint16_t p : image.pixels) {
      ppm.push_back(static_cast<char>(red565(p)));
      ppm.push_back(static_cast<char>(green565(p)));
      ppm.push_back(static_cast<char>(blue565(p)));
    }
    ASSERT_TRUE(writeFileAtomically(reference, ppm));
  }
  std::string bytes;
  ASSERT_TRUE(readWholeFile(reference, bytes));
  const std::string header = "P6\n320 240\n255\n";
  ASSERT_EQ(bytes.size(), header.size() + 320 * 240 * 3);
  ASSERT_EQ(bytes.compare(0, header.size(), header), 0);
  int differing = 0, drawn = 0;
  for (int i = 0; i < 320 * 240; ++i) {
    const uint8_t* want = reinterpret_cast<const uint8_t*>(bytes.data()) + header.size() + 3 * i;
    const uint16_t got = image.pixels[i];
    drawn += got != 0;
    if (std::abs(red565(got) - want[0]) > 24 || std::abs(green565(got) - want[1]) > 24 || std::abs(blue565(got) - want[2]) > 24)
      ++differing;
  }
  EXPECT_GT(drawn, 5000);
  EXPECT_LE(differing, 320 * 240 / 200);
}

// Lights shine along their direction in the space after the world (camera) matrix: a light shining
// away from the eye lights the faces turned towards it, and one shining towards the eye leaves them dark.
TEST(Soft3dDevice, DirectionalLightsLightFacesTurnedTowardsThem) {
  for (float towardsEye : {-1.0f, 1.0f}) {
    TestScene scene(64, 64);
    Light3D only;
    only.colour = {0.5f, 0.5f, 0.5f, 1};
    only.direction = {0, 0, -towardsEye};
    Light3D none;
    none.colour = {0, 0, 0, 1};
    setLight(scene.d3d, 1, only);
    setLight(scene.d3d, 2, none);
    Material3D m;
    m.diffuse = m.ambient = {1, 1, 1, 1};
    setMaterial(scene.d3d, scene.material, m);
    scene.lookAt({0, 0, -20}, {0, 0, 0});
    const std::vector<Triangle3D> all = brickTriangles();
    const std::vector<Triangle3D> front(all.begin() + 2, all.begin() + 4);  // the -z face, towards the eye
    ExecuteBuffer buffer;
    TestScene::fill(buffer, scene.material, brickVertices(0, 0, 0, 1, 1, 1), front);
    ASSERT_EQ(scene.run(buffer), kResultOk);
    const int grey = red565(scene.pixel(32, 32));
    if (towardsEye < 0) EXPECT_NEAR(grey, 20 + 0.5f * 255, 12);  // ambient 20 plus the light
    else EXPECT_NEAR(grey, 20, 12);                               // ambient only
  }
}

// The same with the eye looking down at 45 degrees and a light shining down the screen: the top face is
// lit at cos 45 degrees and the face towards the eye, turned down on the screen, stays dark.
TEST(Soft3dDevice, LightsFollowTheCameraWhenItLooksDown) {
  TestScene scene(64, 64);
  Light3D down;
  down.colour = {1, 1, 1, 1};
  down.direction = {0, -1, 0};
  Light3D none;
  none.colour = {0, 0, 0, 1};
  setLight(scene.d3d, 1, down);
  setLight(scene.d3d, 2, none);
  Material3D m;
  m.diffuse = m.ambient = {1, 1, 1, 1};
  setMaterial(scene.d3d, scene.material, m);
  scene.lookAt({0, 20, -20}, {0, 0, 0});
  std::vector<Vertex3D> flat = brickVertices(0, 0, 0, 1, 1, 1);
  for (Vertex3D& v : flat) {  // unit normals, so the expected greys are plain cosines
    const float length = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
    v.nx /= length, v.ny /= length, v.nz /= length;
  }
  const std::vector<Triangle3D> all = brickTriangles();
  ExecuteBuffer buffer;
  TestScene::fill(buffer, scene.material, flat, std::vector<Triangle3D>(all.begin(), all.begin() + 2));
  ASSERT_EQ(scene.run(buffer), kResultOk);
  EXPECT_NEAR(red565(scene.pixel(32, 28)), 20 + 0.7071f * 255, 14);
  scene.clear();
  TestScene::fill(buffer, scene.material, flat, std::vector<Triangle3D>(all.begin() + 2, all.begin() + 4));
  ASSERT_EQ(scene.run(buffer), kResultOk);
  EXPECT_NEAR(red565(scene.pixel(32, 36)), 20, 12);
}

// Lit colours are kept by normal while a vertex run lasts; the next run, with the same normals but
// another material or light, lights them afresh (also in a scene of its own on the same thread).
TEST(Soft3dDevice, LitColoursDoNotCarryOverFromOneVertexRunToTheNext) {
  const std::vector<Vertex3D> vertices = brickVertices(0, 0, 0, 1, 1, 1);
  const std::vector<Triangle3D> all = brickTriangles();
  const std::vector<Triangle3D> front(all.begin() + 2, all.begin() + 4);
  Light3D light;
  light.colour = {0.5f, 0.5f, 0.5f, 1};
  light.direction = {0, 0, 1};
  struct Step {
    D3DColourValue material;
    float lightGrey;
    int red, green;  // ambient 20 plus the light, in the material's colour
  };
  const Step steps[] = {{{1, 1, 1, 1}, 0.5f, 148, 148}, {{1, 0, 0, 1}, 0.5f, 148, 0}, {{1, 0, 0, 1}, 0.25f, 84, 0}};
  for (int scenes = 0; scenes < 2; ++scenes) {
    TestScene scene(64, 64);
    scene.lookAt({0, 0, -20}, {0, 0, 0});
    Light3D none;
    none.colour = {0, 0, 0, 1};
    setLight(scene.d3d, 2, none);
    for (const Step& step : steps) {
      light.colour = {step.lightGrey, step.lightGrey, step.lightGrey, 1};
      setLight(scene.d3d, 1, light);
      Material3D m;
      m.diffuse = m.ambient = step.material;
      setMaterial(scene.d3d, scene.material, m);
      scene.clear();
      ExecuteBuffer buffer;
      TestScene::fill(buffer, scene.material, vertices, front);
      ASSERT_EQ(scene.run(buffer), kResultOk);
      EXPECT_NEAR(red565(scene.pixel(32, 32)), step.red, 12);
      EXPECT_NEAR(green565(scene.pixel(32, 32)), step.green, 12);
    }
  }
}

// The two halves of a floor that reaches behind the eye are clipped separately at the near plane; the
// points where their shared diagonal is cut must agree, so together they cover the ground exactly once.
TEST(Soft3dDevice, ClippedNeighboursShareTheirCutEdgeWithoutGapsOrOverlaps) {
  TestScene scene(160, 120);
  scene.lookAt({3, 5, 0}, {0, 4, 10});
  const std::vector<Vertex3D> floor = {{-500, 0, 300, 0, 1, 0, 0, 0},
                                       {400, 0, 500, 0, 1, 0, 0, 0},
                                       {500, 0, -350, 0, 1, 0, 0, 0},
                                       {-450, 0, -500, 0, 1, 0, 0, 0}};
  const Triangle3D halves[2] = {{0, 1, 2, 0x700}, {2, 3, 0, 0x700}};
  std::vector<uint16_t> masks[2];
  for (int i = 0; i < 2; ++i) {
    scene.clear();
    ExecuteBuffer buffer;
    TestScene::fill(buffer, scene.material, floor, {halves[i]});
    ASSERT_EQ(scene.run(buffer), kResultOk);
    masks[i] = scene.target->pixels().pixels;
  }
  int overlaps = 0, covered = 0;
  for (size_t p = 0; p < masks[0].size(); ++p) {
    overlaps += masks[0][p] != 0 && masks[1][p] != 0;
    covered += masks[0][p] != 0 || masks[1][p] != 0;
  }
  EXPECT_EQ(overlaps, 0);
  // Everything below the horizon row is ground.
  for (int y = 70; y < 120; ++y)
    for (int x = 0; x < 160; ++x) ASSERT_TRUE(masks[0][y * 160 + x] || masks[1][y * 160 + x]) << x << "," << y;
  EXPECT_GT(covered, 160 * 50);
}
