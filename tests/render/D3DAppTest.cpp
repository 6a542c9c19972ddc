// Starting and shutting down the rendering framework through the program's start entry.
#include <gtest/gtest.h>

#include "RenderTestView.h"
#include "platform/headless.h"

TEST(D3DApp, StartsWithTheSevenSurfacesAndTheProgramsRenderState) {
  RenderTestView view(540, 380, "-systemmemory -emulation");
  ASSERT_TRUE(view.started) << D3DAppLastErrorText();
  const RenderDevice& d = renderDevice;
  EXPECT_TRUE(d.bRenderingIsOK);
  for (const auto* s : {&d.frontBuffer, &d.backBuffer, &d.backupBuffer, &d.baseBuffer, &d.zBuffer, &d.zBuffer2, &d.baseZBuffer})
    ASSERT_NE(s->get(), nullptr);
  EXPECT_EQ(d.backBuffer->width(), 540);
  EXPECT_EQ(d.baseZBuffer->height(), 380);
  EXPECT_EQ(d.backBuffer->attachedDepth, d.zBuffer.get());
  EXPECT_EQ(d.backupBuffer->attachedDepth, d.zBuffer2.get());
  EXPECT_EQ(d.baseBuffer->attachedDepth, d.baseZBuffer.get());
  EXPECT_TRUE(d.renderState.zBufferOn);
  EXPECT_EQ(d.renderState.shadeMode, static_cast<uint32_t>(D3DSHADE_PHONG));
  EXPECT_EQ(d.device->renderStates[D3DRENDERSTATE_ZFUNC], static_cast<uint32_t>(D3DCMP_LESSEQUAL));
  EXPECT_EQ(d.device->renderStates[D3DRENDERSTATE_TEXTUREPERSPECTIVE], 0u);
  EXPECT_EQ(d.frameRects.count, 1);
  EXPECT_EQ(d.frameRects.rects[0], (Rect{0, 0, 540, 380}));
  ViewportData vp;
  ASSERT_EQ(viewportData(*d.direct3D, d.viewport, vp), DD_OK);
  EXPECT_FLOAT_EQ(vp.scaleX, 540 * 0.6666667f);
  EXPECT_NEAR(vp.maxX, 0.75f, 1e-6f);
  EXPECT_NE(d.textures.entries[0].handle, 0u);
}

TEST(D3DApp, SmallWindowStillGetsFiftyPixelSurfacesButClientSizedLists) {
  RenderTestView view(30, 20);
  ASSERT_TRUE(view.started) << D3DAppLastErrorText();
  EXPECT_EQ(renderDevice.backBuffer->width(), 50);
  EXPECT_EQ(renderDevice.zBuffer->height(), 50);
  EXPECT_EQ(renderDevice.frameRects.rects[0], (Rect{0, 0, 30, 20}));
  EXPECT_TRUE(D3DAppShowBackBuffer(D3DAPP_WHOLEWINDOW));
}

TEST(D3DApp, AnyOtherCommandLineWordStopsStartUp) {
  RenderTestView view(100, 100, "-systemmemory -fast");
  EXPECT_FALSE(view.started);
  EXPECT_EQ(D3DAppLastErrorText(), "Invalid command line options given.\nLegal options: -systemmemory, -emulation\n\r\n");
  EXPECT_FALSE(renderDevice.bRenderingIsOK);
}

TEST(D3DApp, DisplayNotAtSixteenBitsShowsStringTwentyAndStartsNothing) {
  for (int bits : {8, 24, 32}) {
    headlessClearMessageBoxes();
    displayOverrideBits(bits);
    RenderTestView view(100, 100);
    displayOverrideBits(0);
    EXPECT_FALSE(view.started);
    ASSERT_EQ(headlessMessageBoxes().size(), 1u);
    EXPECT_EQ(headlessMessageBoxes()[0].text, "Sorry! Please change display mode to 16 bit color.");
    EXPECT_EQ(headlessMessageBoxes()[0].caption, "");
    EXPECT_EQ(renderDevice.backBuffer, nullptr);
    EXPECT_EQ(renderDevice.device, nullptr);
  }
}

TEST(D3DApp, MissingSkyPictureFailsStartUpWithItsMessage) {
  TempFolder empty;
  RenderTestView view(100, 100);  // registers the class
  D3DAppShutDown();
  renderDevice.textures.count = 0;
  EXPECT_FALSE(startRenderView(view.window, "", empty.path() + "/"));
  EXPECT_NE(D3DAppLastErrorText().find("Cannot find "), std::string::npos);
  EXPECT_NE(D3DAppLastErrorText().find("sky.ppm"), std::string::npos);
}

TEST(D3DApp, ShutDownAppRunsOnceAndPostsOneQuit) {
  RenderTestView view(100, 100);
  ASSERT_TRUE(view.started);
  Message m;
  while (peekMessage(m)) {}
  ShutDownApp();
  ShutDownApp();
  EXPECT_FALSE(renderDevice.bRenderingIsOK);
  int quits = 0;
  while (peekMessage(m)) quits += m.msg == Msg::Quit;
  EXPECT_EQ(quits, 1);
}

TEST(D3DApp, ErrorTextsAreBoundedAndEndInCarriageReturnLineFeed) {
  EXPECT_STREQ(D3DAppErrorText(DD_OK), "No error.");
  EXPECT_STREQ(D3DAppErrorText(123456), "Unrecognized error value.");
  EXPECT_STREQ(D3DAppErrorText(D3DERR_EXECUTE_LOCKED), "D3DERR_EXECUTE_LOCKED");
  EXPECT_STREQ(D3DAppErrorText(DDERR_OUTOFMEMORY), D3DAppErrorText(DDERR_OUTOFVIDEOMEMORY));
  setRenderError(DDERR_SURFACELOST, "Restoring of a lost surface failed.\n%s", D3DAppErrorText(DDERR_SURFACELOST));
  const std::string text = D3DAppLastErrorText();
  EXPECT_LE(text.size(), 256u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.rfind("Restoring of a lost surface failed.\nAccess to this surface", 0), 0u);
  EXPECT_EQ(renderDevice.lastError, DDERR_SURFACELOST);
}

TEST(D3DApp, FailingInitViewShutsTheViewDown) {
  RenderTestView view(100, 100);
  D3DAppShutDown();
  ViewHooks hooks;
  hooks.initView = [](Direct3D&, Device3D&, ViewportHandle, int, const TextureHandle*) { return false; };
  setViewHooks(hooks);
  renderDevice.textures.count = 0;
  EXPECT_FALSE(startRenderView(view.window, "", view.data.path() + "/"));
  EXPECT_EQ(D3DAppLastErrorText(), "InitView failed.\n\r\n");
  EXPECT_EQ(renderDevice.device, nullptr);
  Message m;
  while (peekMessage(m)) {}
}

TEST(D3DApp, DisplayModeOperationsReportRefusedModes) {
  EXPECT_TRUE(D3DAppCreateDisplay());
  EXPECT_FALSE(D3DAppSetCoopLevel(nullptr, true));
  EXPECT_EQ(D3DAppLastErrorText().rfind("SetCooperativeLevel to fullscreen failed.\n", 0), 0u);
  EXPECT_FALSE(D3DAppSetDisplayMode(640, 480, 8));
  EXPECT_EQ(D3DAppLastErrorText().rfind("SetDisplayMode to 640x480x8 failed\n", 0), 0u);
  headlessRefuseDisplayWidth(800);
  EXPECT_FALSE(D3DAppSetDisplayMode(800, 600, 16));
  headlessRefuseDisplayWidth(0);
  EXPECT_TRUE(D3DAppSetDisplayMode(640, 480, 16));
  EXPECT_TRUE(D3DAppRestoreDisplayMode());
}
