// Pictures on the 3D device: the TextureTable of up to 15 pictures (entry 0 is the background), the
// texture search path, and `loadPictureSurface`, which reads a raw PPM picture into an RGB565 surface.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/display.h"
#include "render/RenderDevice.h"

bool registerTexture(RenderDevice& d, const std::string& name);
bool loadAllTextures(RenderDevice& d);
bool loadTexture(RenderDevice& d, int index);
void releaseTexture(RenderDevice& d, int index);
void releaseAllTextures(RenderDevice& d);  // surfaces and handles; the names stay registered
bool changeBackgroundPicture(RenderDevice& d, const std::string& name);
// The handles of the registered pictures, in table order (0 for one not loaded).
std::vector<TextureHandle> textureHandles(RenderDevice& d);

// The name as given, then each search folder + "\" + name. nullptr when none opens.
FILE* openOnSearchPath(RenderDevice& d, const std::string& name, const char* mode);

// A picture read from a raw PPM file: width x height RGB triples, rows top to bottom.
struct PpmPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};
enum class PpmResult { Ok, NotPpm, BadSize, ShortData };
constexpr int kMaxPictureSide = 4096;
// Read the PPM subset from bytes: "P6\n", comment lines, the size line, the maximum-value line, pixels.
PpmResult readPpm(const std::string& bytes, PpmPicture& picture);

// Read a picture file into a new RGB565 texture surface; nullptr (with the last error set) when the file
// cannot be found or read.
std::unique_ptr<DisplaySurface> loadPictureSurface(RenderDevice& d, const std::string& name);
