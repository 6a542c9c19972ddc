// Pictures as plain RGB pixel grids, and the two file formats the program reads them from: 24-bit
// bottom-up BMP files and binary PPM files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// Rows top to bottom, three bytes a pixel.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  Picture() = default;
  Picture(int w, int h, Rgb fill = {});
  Rgb at(int x, int y) const;
  void set(int x, int y, Rgb colour);
};

// Pictures larger than this on either side are refused by every writer and reader here.
constexpr int maxPictureSide = 8192;

// A 24-bit BI_RGB file with a 40-byte info header, rows padded to four bytes, stored bottom-up and
// the true file size in the header. Empty string for an empty or oversized picture.
std::string encodeBmp(const Picture& picture);
// "P6\n<w> <h>\n255\n" and the raw triples, top row first. Empty string when the picture is unusable.
std::string encodePpm(const Picture& picture);

// Readers for the same two subsets (used to check what was written). False on anything malformed.
bool decodeBmp(const std::string& bytes, Picture& picture);
bool decodePpm(const std::string& bytes, Picture& picture);

// Ordered dithering for a 16-bit (5-6-5) display: each channel is raised by a 4 x 4 threshold pattern
// below one 5-6-5 step, so that the display's truncation leaves a fine pattern instead of colour bands.
void ditherFor565(Picture& picture);

// A box-filtered reduction (or plain resampling when growing) to the given size.
Picture resizePicture(const Picture& source, int width, int height);
// Copy part of a picture; parts outside the source come out black.
Picture cropPicture(const Picture& source, int x, int y, int width, int height);
