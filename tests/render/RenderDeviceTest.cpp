// Starting and shutting down the rendering framework through the program's start entry.
#include <gtest/gtest.h>

#include "RenderTestView.h"
#include "platform/headless.h"

TEST(RenderDevice, StartsWithTheSevenSurfacesAndTheProgramsRenderState) {
  RenderTestView view(540, 380, "-systemmemory -emulation");
  ASSERT_TRUE(view.started) << lastRenderErrorText(view.device);
  const RenderDevice& d = view.device;
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
  ASSERT_TRUE(view.started) << lastRenderErrorText(view.device);
  EXPECT_EQ(view.device.backBuffer->width(), 50);
  EXPECT_EQ(view.device.zBuffer->height(), 50);
  EXPECT_EQ(view.device.frameRects.rects[0], (Rect{0, 0, 30, 20}));
  EXPECT_TRUE(showBackBuffer(view.device, FrameArea::WholeWindow));
}

TEST(RenderDevice, AnyOtherCommandLineWordStopsStartUp) {
  RenderTestView view(100, 100, "-systemmemory -fast");
  EXPECT_FALSE(view.started);
  EXPECT_EQ(lastRenderErrorText(view.device), "Invalid command line options given.\nLegal options: -systemmemory, -emulation\n\r\n");
  EXPECT_FALSE(view.device.renderingOk);
}

TEST(RenderDevice, MissingSkyPictureFailsStartUpWithItsMessage) {
  TempFolder empty;
  RenderTestView view(100, 100);  // registers the class
  shutDownRenderDevice(view.device);
  EXPECT_FALSE(startRenderView(view.device, view.window, "", empty.path() + "/"));
  EXPECT_NE(lastRenderErrorText(view.device).find("Cannot find "), std::string::npos);
  EXPECT_NE(lastRenderErrorText(view.device).find("sky.ppm"), std::string::npos);
}

TEST(RenderDevice, ShutDownReleasesEverythingAndASecondOneIsHarmless) {
  RenderTestView view(100, 100);
  ASSERT_TRUE(view.started);
  RenderDevice& d = view.device;
  EXPECT_TRUE(shutDownRenderDevice(d));
  EXPECT_FALSE(d.renderingOk);
  EXPECT_EQ(d.device, nullptr);
  EXPECT_EQ(d.direct3D, nullptr);
  EXPECT_EQ(d.backBuffer, nullptr);
  EXPECT_EQ(d.viewport, 0u);
  EXPECT_EQ(d.textures.entries[0].handle, 0u);
  EXPECT_TRUE(shutDownRenderDevice(d));
  EXPECT_FALSE(d.renderingOk);
}

TEST(RenderDevice, ErrorTextsAreBoundedAndEndInCarriageReturnLineFeed) {
  RenderDevice d;
  EXPECT_STREQ(resultText(kResultOk), "No error.");
  EXPECT_STREQ(resultText(123456), "Unrecognized error value.");
  EXPECT_STREQ(resultText(kErrorExecuteLocked), "D3DERR_EXECUTE_LOCKED");
  setRenderError(d, kErrorInvalidParams, "%s\n%s", std::string(300, 'x').c_str(), resultText(kErrorInvalidParams));
  const std::string text = lastRenderErrorText(d);
  EXPECT_EQ(text.size(), 256u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find_first_not_of('x'), 254u);
  EXPECT_EQ(d.lastError, kErrorInvalidParams);
  // A text passed on from an earlier failure keeps one CR LF.
  setRenderError(d, kErrorGeneric, "%s", "Create D3D device failed.\n\r\n");
  EXPECT_EQ(lastRenderErrorText(d), "Create D3D device failed.\n\r\n");
}

TEST(RenderDevice, DisplayModeOperationsReportRefusedModes) {
  RenderDevice d;
  EXPECT_FALSE(checkScreenWindow(d, nullptr, ScreenUse::FullScreen));
  EXPECT_EQ(lastRenderErrorText(d).rfind("SetCooperativeLevel to fullscreen failed.\n", 0), 0u);
  EXPECT_FALSE(setScreenMode(d, 640, 480, 8));
  EXPECT_EQ(lastRenderErrorText(d).rfind("SetDisplayMode to 640x480x8 failed\n", 0), 0u);
  headlessRefuseDisplayWidth(800);
  EXPECT_FALSE(setScreenMode(d, 800, 600, 16));
  headlessRefuseDisplayWidth(0);
  EXPECT_TRUE(setScreenMode(d, 640, 480, 16));
  EXPECT_TRUE(restoreScreenMode(d));
}
