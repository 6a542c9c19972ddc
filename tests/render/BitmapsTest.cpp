// Bitmaps: reading .bmp files and refusing malformed ones, capturing the screen, saving DIBs, and
// bitmaps on surfaces with colour keys.
#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/paths.h"
#include "render/Bitmaps.h"
#include "support/TestSupport.h"

namespace {

// A .bmp file: file header, 40-byte info header, colour table, bits.
std::string bmpBytes(int width, int height, int bits, uint32_t clrUsed, size_t tableEntries, size_t bitBytes) {
  BitmapInfoHeader h;
  h.biWidth = width;
  h.biHeight = height;
  h.biBitCount = static_cast<uint16_t>(bits);
  h.biClrUsed = clrUsed;
  std::string out(14 + 40, '\0');
  writeInfoHeader(h, reinterpret_cast<uint8_t*>(&out[14]));
  out += std::string(4 * tableEntries, '\x11');
  out += std::string(bitBytes, '\x22');
  out[0] = 'B';
  out[1] = 'M';
  const uint32_t size = static_cast<uint32_t>(out.size());
  for (int i = 0; i < 4; ++i) out[2 + i] = static_cast<char>(size >> (8 * i));
  return out;
}

BitmapInfoHeader headerOf(const std::string& bytes) { return readInfoHeader(reinterpret_cast<const uint8_t*>(bytes.data()) + 14); }

struct CaptureWindow {
  HWindow window = nullptr;
  CaptureWindow(int x, int y, int w, int h) {
    if (!isClassRegistered("BitmapsTestWindow")) {
      WindowClass c;
      c.name = "BitmapsTestWindow";
      c.proc = [](HWindow wnd, const Message& m) { return defWindowProc(wnd, m); };
      registerClass(c);
    }
    window = createWindow("BitmapsTestWindow", "", true, x, y, w, h, nullptr);
    showWindow(window, ShowCmd::Show);
    fillSurfaceRect(windowSurface(window), Rect{0, 0, w, h}, rgb565(255, 0, 0));
    windowPixelsChanged(window);
  }
  ~CaptureWindow() { destroyWindow(window); }
};

}  // namespace

// The user hears of a missing picture from the shell, which knows which window asked; the reader only says so.
TEST(BmpFile, MissingFileIsReportedAsMissingWithoutABoxAndLeavesNoData) {
  headlessClearMessageBoxes();
  TempFolder folder;
  BmpFile bmp;
  EXPECT_EQ(loadBmpFile(bmp, folder.file("gone.bmp")), BmpResult::Missing);
  EXPECT_FALSE(bmp.loaded());
  EXPECT_TRUE(headlessMessageBoxes().empty());
}

TEST(BmpFile, EightBitWithoutColourCountGetsTwoHundredFiftySixColours) {
  BmpFile bmp;
  ASSERT_EQ(parseBmp(bmpBytes(3, 2, 8, 0, 256, 8), bmp), BmpResult::Ok);
  EXPECT_EQ(bmp.colourCount, 256u);
  EXPECT_EQ(bmp.header().biClrUsed, 256u);
  EXPECT_EQ(bmp.header().biSizeImage, 8u);
  EXPECT_EQ(bmp.bits(), bmp.data.data() + 40 + 1024);
}

TEST(BmpFile, TwentyFourBitHasNoColoursAndBitsRightAfterTheHeader) {
  BmpFile bmp;
  ASSERT_EQ(parseBmp(bmpBytes(3, 2, 24, 0, 0, 24), bmp), BmpResult::Ok);
  EXPECT_EQ(bmp.colourCount, 0u);
  EXPECT_EQ(bmp.bits(), bmp.data.data() + 40);
  Surface picture;
  ASSERT_TRUE(bmpToSurface(bmp, picture));
  EXPECT_EQ(picture.at(2, 1), rgb565(0x22, 0x22, 0x22));
}

TEST(BmpFile, MalformedFilesAreRefusedWithoutReadingPastTheirEnd) {
  BmpFile bmp;
  EXPECT_EQ(parseBmp(bmpBytes(3, 2, 24, 0, 0, 23), bmp), BmpResult::Malformed);   // truncated bits
  std::string lying = bmpBytes(3, 2, 24, 0, 0, 24);
  lying[2] = '\x7f';
  lying[3] = '\x7f';
  EXPECT_EQ(parseBmp(lying, bmp), BmpResult::Malformed);                           // claims more bytes
  EXPECT_EQ(parseBmp(bmpBytes(100000, 100000, 24, 0, 0, 16), bmp), BmpResult::Malformed);
  EXPECT_EQ(parseBmp(bmpBytes(3, -2, 24, 0, 0, 24), bmp), BmpResult::Malformed);
  EXPECT_EQ(parseBmp(bmpBytes(3, 2, 16, 0, 0, 16), bmp), BmpResult::Malformed);    // depth we do not draw
  EXPECT_EQ(parseBmp(bmpBytes(3, 2, 8, 300, 300, 8), bmp), BmpResult::Malformed);  // more colours than indices
  EXPECT_EQ(parseBmp(bmpBytes(3, 2, 8, 0, 10, 8), bmp), BmpResult::Malformed);     // table cut short
  std::string notBmp = bmpBytes(3, 2, 24, 0, 0, 24);
  notBmp[0] = 'X';
  EXPECT_EQ(parseBmp(notBmp, bmp), BmpResult::Malformed);
  EXPECT_EQ(parseBmp("BM", bmp), BmpResult::Malformed);
  EXPECT_FALSE(bmp.loaded());
  EXPECT_EQ(bmp.width(), 0);
}

TEST(SaveDib, RowsArePaddedToFourBytesAndTheHeaderDescribesTheFile) {
  TempFolder folder;
  Surface picture(3, 2, rgb565(0, 0, 255));
  DibBlock dib;
  ASSERT_TRUE(bitmapToDib(picture, dib));
  ASSERT_EQ(saveDib(dib, folder.file("small.bmp")), 0);
  const std::string bytes = folder.read("small.bmp");
  ASSERT_EQ(bytes.size(), 14u + 40 + 2 * 12);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<uint8_t>(bytes[2]), 14 + 40 + 24);
  EXPECT_EQ(static_cast<uint8_t>(bytes[10]), 54);
  EXPECT_EQ(headerOf(bytes).biSizeImage, 24u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[54]), 255);  // blue first
  BmpFile back;
  EXPECT_EQ(parseBmp(bytes, back), BmpResult::Ok);
}

TEST(SaveDib, ErrorCodesAndNoFileForDibsItCannotWrite) {
  TempFolder folder;
  DibBlock none;
  EXPECT_EQ(saveDib(none, folder.file("a.bmp")), 20);
  DibBlock odd;
  odd.bytes.assign(64, 0);
  odd.bytes[0] = 12;  // a core header
  EXPECT_EQ(saveDib(odd, folder.file("b.bmp")), 3);
  EXPECT_FALSE(fileExists(folder.file("b.bmp")));
  DibBlock good;
  bitmapToDib(Surface(2, 2), good);
  good.bytes.resize(50);  // bits cut off
  EXPECT_EQ(saveDib(good, folder.file("c.bmp")), 3);
  bitmapToDib(Surface(2, 2), good);
  EXPECT_EQ(saveDib(good, folder.file("no/such/folder/d.bmp")), 4);
}

TEST(Capture, WindowPartlyOffScreenIsClampedAndGivesATwentyFourBitDib) {
  CaptureWindow w(-10, -5, 40, 30);
  DibBlock dib;
  ASSERT_TRUE(captureWindow(w.window, 1, dib));
  const BitmapInfoHeader h = readInfoHeader(dib.bytes.data());
  EXPECT_EQ(h.biWidth, 30);
  EXPECT_EQ(h.biHeight, 25);
  EXPECT_EQ(h.biBitCount, 24);
  EXPECT_EQ(dibColourCount(dib), 0u);
  EXPECT_EQ(dibBits(dib), dib.bytes.data() + 40);
  EXPECT_EQ(dibBits(dib)[2], 255);  // red, stored blue-green-red
  ASSERT_TRUE(captureWindow(w.window, 2, dib));
  EXPECT_FALSE(captureWindow(w.window, 3, dib));
  EXPECT_FALSE(captureWindow(nullptr, 1, dib));
  Surface picture;
  EXPECT_FALSE(captureScreenRect(Rect{10, 10, 10, 20}, picture));
  EXPECT_FALSE(captureScreenRect(Rect{5000, 0, 5010, 10}, picture));
}

TEST(BitmapSurface, LoadsScalesAndKeysBitmaps) {
  TempFolder folder;
  Surface picture(4, 2, rgb565(0, 255, 0));
  picture.pixels[0] = rgb565(255, 0, 255);
  DibBlock dib;
  bitmapToDib(picture, dib);
  ASSERT_EQ(saveDib(dib, folder.file("boom.bmp")), 0);
  std::unique_ptr<DisplaySurface> surface = loadBitmapSurface(folder.file("boom.bmp"), 0, 0);
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(surface->width(), 4);
  EXPECT_EQ(surface->own.at(0, 0), rgb565(255, 0, 255));
  std::unique_ptr<DisplaySurface> big = loadBitmapSurface(folder.file("boom.bmp"), 8, 4);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->own.at(7, 3), rgb565(0, 255, 0));
  EXPECT_EQ(loadBitmapSurface(folder.file("absent.bmp"), 0, 0), nullptr);

  EXPECT_EQ(matchSurfaceColour(*surface, 0x00FF00FF), rgb565(255, 0, 255));
  EXPECT_EQ(surface->own.at(0, 0), rgb565(255, 0, 255));  // the borrowed pixel is put back
  setSurfaceColourKey(*surface, 0x00FF00FF);
  EXPECT_TRUE(surface->hasColourKey);
  EXPECT_EQ(surface->colourKeyLow, rgb565(255, 0, 255));

  surfaceFill(*surface, nullptr, 0);
  EXPECT_EQ(reloadBitmapSurface(*surface, folder.file("boom.bmp")), kResultOk);
  EXPECT_EQ(surface->own.at(3, 1), rgb565(0, 255, 0));
  EXPECT_EQ(reloadBitmapSurface(*surface, folder.file("absent.bmp")), E_FAIL);
  EXPECT_EQ(ddcopybitmap(nullptr, &picture, 0, 0, 0, 0), E_FAIL);
}
