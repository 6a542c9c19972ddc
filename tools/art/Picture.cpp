// BMP and PPM encoding and decoding for the generator, plus resizing and cropping of pictures.
#include "tools/art/Picture.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

Picture::Picture(int w, int h, Rgb fill) : width(w), height(h) {
  if (w <= 0 || h <= 0 || w > maxPictureSide || h > maxPictureSide) {
    width = height = 0;
    return;
  }
  rgb.resize(size_t(w) * size_t(h) * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = fill.r;
    rgb[i + 1] = fill.g;
    rgb[i + 2] = fill.b;
  }
}

Rgb Picture::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return {};
  size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

void Picture::set(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
  rgb[i] = colour.r;
  rgb[i + 1] = colour.g;
  rgb[i + 2] = colour.b;
}

static bool usable(const Picture& p) {
  return p.width > 0 && p.height > 0 && p.width <= maxPictureSide && p.height <= maxPictureSide &&
         p.rgb.size() == size_t(p.width) * size_t(p.height) * 3;
}

static void put16(std::string& out, uint32_t v) {
  out.push_back(char(v & 0xff));
  out.push_back(char((v >> 8) & 0xff));
}
static void put32(std::string& out, uint32_t v) {
  put16(out, v & 0xffff);
  put16(out, v >> 16);
}
static uint32_t get32(const std::string& in, size_t at) {
  return uint32_t(uint8_t(in[at])) | uint32_t(uint8_t(in[at + 1])) << 8 | uint32_t(uint8_t(in[at + 2])) << 16 |
         uint32_t(uint8_t(in[at + 3])) << 24;
}
static uint32_t get16(const std::string& in, size_t at) {
  return uint32_t(uint8_t(in[at])) | uint32_t(uint8_t(in[at + 1])) << 8;
}

std::string encodeBmp(const Picture& picture) {
  if (!usable(picture)) return {};
  const uint32_t rowBytes = (uint32_t(picture.width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * uint32_t(picture.height);
  std::string out;
  out.reserve(54 + imageBytes);
  out += "BM";
  put32(out, 54 + imageBytes);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, uint32_t(picture.width));
  put32(out, uint32_t(picture.height));  // positive: bottom-up, as the panel copy expects
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, imageBytes);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  put32(out, 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      Rgb c = picture.at(x, y);
      out.push_back(char(c.b));
      out.push_back(char(c.g));
      out.push_back(char(c.r));
    }
    for (uint32_t pad = uint32_t(picture.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

std::string encodePpm(const Picture& picture) {
  if (!usable(picture)) return {};
  char header[64];
  std::snprintf(header, sizeof header, "P6\n%d %d\n255\n", picture.width, picture.height);
  std::string out = header;
  out.append(reinterpret_cast<const char*>(picture.rgb.data()), picture.rgb.size());
  return out;
}

bool decodeBmp(const std::string& bytes, Picture& picture) {
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
  if (get32(bytes, 2) != bytes.size() || get32(bytes, 14) != 40 || get16(bytes, 26) != 1) return false;
  if (get16(bytes, 28) != 24 || get32(bytes, 30) != 0 || get32(bytes, 10) != 54) return false;
  const int32_t width = int32_t(get32(bytes, 18));
  const int32_t height = int32_t(get32(bytes, 22));
  if (width <= 0 || height <= 0 || width > maxPictureSide || height > maxPictureSide) return false;
  const size_t rowBytes = (size_t(width) * 3 + 3) & ~size_t(3);
  if (bytes.size() != 54 + rowBytes * size_t(height)) return false;
  picture = Picture(width, height);
  for (int y = 0; y < height; ++y) {
    size_t row = 54 + rowBytes * size_t(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      size_t i = row + size_t(x) * 3;
      picture.set(x, y, {uint8_t(bytes[i + 2]), uint8_t(bytes[i + 1]), uint8_t(bytes[i])});
    }
  }
  return true;
}

bool decodePpm(const std::string& bytes, Picture& picture) {
  if (bytes.compare(0, 3, "P6\n") != 0) return false;
  size_t at = 3;
  while (at < bytes.size() && bytes[at] == '#') {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) return false;
    at = end + 1;
  }
  size_t sizeEnd = bytes.find('\n', at);
  if (sizeEnd == std::string::npos || sizeEnd - at > 20) return false;
  int width = 0, height = 0;
  char tail = 0;
  std::string sizeLine = bytes.substr(at, sizeEnd - at);
  if (std::sscanf(sizeLine.c_str(), "%d %d%c", &width, &height, &tail) != 2) return false;
  if (width <= 0 || height <= 0 || width > maxPictureSide || height > maxPictureSide) return false;
  size_t maxEnd = bytes.find('\n', sizeEnd + 1);
  if (maxEnd == std::string::npos || bytes.substr(sizeEnd + 1, maxEnd - sizeEnd - 1) != "255") return false;
  const size_t pixels = size_t(width) * size_t(height) * 3;
  if (bytes.size() - (maxEnd + 1) < pixels) return false;
  picture = Picture(width, height);
  std::memcpy(picture.rgb.data(), bytes.data() + maxEnd + 1, pixels);
  return true;
}

void ditherFor565(Picture& picture) {
  static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const int t = bayer[y % 4][x % 4];
      Rgb c = picture.at(x, y);
      auto raise = [t](uint8_t v, int step) { return uint8_t(std::min(255, v + t * step / 16)); };
      picture.set(x, y, {raise(c.r, 8), raise(c.g, 4), raise(c.b, 8)});
    }
}

Picture resizePicture(const Picture& source, int width, int height) {
  Picture out(width, height);
  if (!usable(source) || out.width == 0) return out;
  for (int y = 0; y < height; ++y) {
    int y0 = y * source.height / height;
    int y1 = std::max(y0 + 1, (y + 1) * source.height / height);
    for (int x = 0; x < width; ++x) {
      int x0 = x * source.width / width;
      int x1 = std::max(x0 + 1, (x + 1) * source.width / width);
      unsigned r = 0, g = 0, b = 0, n = 0;
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx) {
          Rgb c = source.at(sx, sy);
          r += c.r;
          g += c.g;
          b += c.b;
          ++n;
        }
      out.set(x, y, {uint8_t((r + n / 2) / n), uint8_t((g + n / 2) / n), uint8_t((b + n / 2) / n)});
    }
  }
  return out;
}

Picture cropPicture(const Picture& source, int x, int y, int width, int height) {
  Picture out(width, height);
  for (int row = 0; row < out.height; ++row)
    for (int col = 0; col < out.width; ++col) out.set(col, row, source.at(x + col, y + row));
  return out;
}
