// The printed page of a scene: where the header, the captured picture and the caption sheet go on a
// page of a given width, and the page as a list of elements (picture, frames, text lines) in the order
// they are drawn. Pure arithmetic on device units; the drawing itself belongs to the caller.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

// The header line: 52 characters.
extern const char* const kPrintHeaderLine;

// A printed page's measures in device units: W is the page width, H the height the picture would take
// stretched over the whole width (following the picture's aspect and the device's pixel aspect).
struct PrintLayout {
  int W = 0, H = 0;
  int left = 0;           // W / 6: where the frames, the picture and the text lines start
  int pictureWidth = 0;   // two thirds of W
  int pictureHeight = 0;  // two thirds of H
  Rect headerFrame, picture, captionFrame;
  Point headerText;
  int textLeft = 0;       // left + 100
  int captionTop = 0;     // two thirds of H: the caption lines are placed from here
};

// The layout on a page pageWidth units wide whose device has dotsPerInchX x dotsPerInchY, for a picture
// of pictureWidth x pictureHeight pixels. A picture without pixels gives an empty picture rectangle.
PrintLayout printLayout(int pageWidth, int dotsPerInchX, int dotsPerInchY, int pictureWidth, int pictureHeight);

// What the caption sheet says.
struct PrintCaption {
  std::string author, email, date, fileName, title, description;
};

struct PrintElement {
  enum class Kind { Picture, Frame, Text };
  Kind kind = Kind::Text;
  Rect rect;          // Picture: where the whole picture is stretched; Frame: the rectangle
  Point at;           // Text: the top-left corner of the line
  std::string text;   // Text: valid UTF-8, printed as it stands
};

// The page in drawing order: the picture, the header frame and line, the caption frame, the caption lines
// (the date and the file name only when they say something) and the description lines.
std::vector<PrintElement> pageElements(const PrintLayout& layout, const PrintCaption& caption);

// The description cut into printed lines of at most 60 bytes as the two-byte Korean encoding counts them
// (a Korean or other non-ASCII character takes two, ASCII one), breaking at the last blank of a line; a
// run without blanks fills a whole line and goes on in the next. There are (bytes + 1) / 60 + 1 lines at
// most, counting the blank that ends the text; what does not fit in them is left out.
std::vector<std::string> descriptionLines(std::string_view description);

// The length of a text as the two-byte Korean encoding counts it.
int legacyByteLength(std::string_view utf8);
// The text with every byte that is not part of a well-formed UTF-8 character replaced by U+FFFD.
std::string wellFormedUtf8(std::string_view text);
