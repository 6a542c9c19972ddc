// Starting and shutting down the rendering framework through the program's start entry.
#include <gtest/gtest.h>

#include "RenderTestView.h"
#include "platform/headless.h"

TEST(RenderDevice, StartsWithTheSevenSurfacesAndTheProgramsRenderState) {
  RenderTestView view(540, 380, "-systemmemory -emulation");
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  const RenderDevice& d = renderDevice;
  EXPECT_TRUE(d.renderingOk);
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
  ASSERT_EQ(viewportData(*d.direct3D, d.viewport, vp), kResultOk);
  EXPECT_FLOAT_EQ(vp.scaleX, 540 * 0.6666667f);
  EXPECT_NEAR(vp.maxX, 0.75f, 1e-6f);
  EXPECT_NE(d.textures.entries[0].handle, 0u);
}

TEST(RenderDevice, SmallWindowStillGetsFiftyPixelSurfacesButClientSizedLists) {
  RenderTestView view(30, 20);
  ASSERT_TRUE(view.started) << lastRenderErrorText();
  EXPECT_EQ(renderDevice.backBuffer->width(), 50);
  EXPECT_EQ(renderDevice.zBuffer->height(), 50);
  EXPECT_EQ(renderDevice.frameRects.rects[0], (Rect{0, 0, 30, 20}));
  EXPECT_TRUE(showBackBuffer(FrameArea::WholeWindow));
}

TEST(RenderDevice, AnyOtherCommandLineWordStopsStartUp) {
  RenderTestView view(100, 100, "-systemmemory -fast");
  EXPECT_FALSE(view.started);
  EXPECT_EQ(lastRenderErrorText(), "Invalid command line options given.\nLegal options: -systemmemory, -emulation\n\r\n");
  EXPECT_FALSE(renderDevice.renderingOk);
}

TEST(RenderDevice, MissingSkyPictureFailsStartUpWithItsMessage) {
  TempFolder empty;
  RenderTestView view(100, 100);  // registers the class
  shutDownRenderDevice();
  renderDevice.textures.count = 0;
  EXPECT_FALSE(startRenderView(view.window, "", empty.path() + "/"));
  EXPECT_NE(lastRenderErrorText().find("Cannot find "), std::string::npos);
  EXPECT_NE(lastRenderErrorText().find("sky.ppm"), std::string::npos);
}

TEST(RenderDevice, ShutDownRunsOnceAndPostsOneQuit) {
  RenderTestView view(100, 100);
  ASSERT_TRUE(view.started);
  Message m;
  while (peekMessage(m)) {}
  shutDownApp();
  shutDownApp();
  EXPECT_FALSE(renderDevice.renderingOk);
  int quits = 0;
  while (peekMessage(m)) quits += m.msg == Msg::Quit;
  EXPECT_EQ(quits, 1);
}

TEST(RenderDevice, ErrorTextsAreBoundedAndEndInCarriageReturnLineFeed) {
  EXPECT_STREQ(resultText(kResultOk), "No error.");
  EXPECT_STREQ(resultText(123456), "Unrecognized error value.");
  EXPECT_STREQ(resultText(kErrorExecuteLocked), "D3DERR_EXECUTE_LOCKED");
  setRenderError(kErrorInvalidParams, "%s\n%s", std::string(300, 'x').c_str(), resultText(kErrorInvalidParams));
  const std::string text = lastRenderErrorText();
  EXPECT_EQ(text.size(), 256u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find_first_not_of('x'), 254u);
  EXPECT_EQ(renderDevice.lastError, kErrorInvalidParams);
  // A text passed on from an earlier failure keeps one CR LF.
  setRenderError(kErrorGeneric, "%s", "Create D3D device failed.\n\r\n");
  EXPECT_EQ(lastRenderErrorText(), "Create D3D device failed.\n\r\n");
}

TEST(RenderDevice, FailingInitViewShutsTheViewDown) {
  RenderTestView view(100, 100);
  shutDownRenderDevice();
  ViewHooks hooks;
  hooks.initView = [](Direct3D&, Device3D&, ViewportHandle, int, const TextureHandle*) { return false; };
  setViewHooks(hooks);
  renderDevice.textures.count = 0;
  EXPECT_FALSE(startRenderView(view.window, "", view.data.path() + "/"));
  EXPECT_EQ(lastRenderErrorText(), "InitView failed.\n\r\n");
  EXPECT_EQ(renderDevice.device, nullptr);
  Message m;
  while (peekMessage(m)) {}
}

TEST(RenderDevice, DisplayModeOperationsReportRefusedModes) {
  EXPECT_FALSE(checkScreenWindow(nullptr, ScreenUse::FullScreen));
  EXPECT_EQ(lastRenderErrorText().rfind("SetCooperativeLevel to fullscreen failed.\n", 0), 0u);
  EXPECT_FALSE(setScreenMode(640, 480, 8));
  EXPECT_EQ(lastRenderErrorText().rfind("SetDisplayMode to 640x480x8 failed\n", 0), 0u);
  headlessRefuseDisplayWidth(800);
  EXPECT_FALSE(setScreenMode(800, 600, 16));
  headlessRefuseDisplayWidth(0);
  EXPECT_TRUE(setScreenMode(640, 480, 16));
  EXPECT_TRUE(restoreScreenMode());
}
