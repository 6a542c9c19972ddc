// The printed page's layout, its caption lines and the wrapping of the description.
#include "output/Printout.h"

#include <cstdint>

const char* const kPrintHeaderLine = "Tolvane 3D building blocks  -  a printed model sheet";
static_assert(std::string_view("Tolvane 3D building blocks  -  a printed model sheet").size() == 52);

namespace {

constexpr double kTwoThirds = 0.6666666666666666;
constexpr int kLineBytes = 60;

// The length in bytes of the well-formed UTF-8 character at the start of text, or 0 when it is not one.
size_t characterLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length = 0;
  uint32_t lowest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, lowest = 0x80;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, lowest = 0x800;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, lowest = 0x10000;
  else return 0;
  if (text.size() < length) return 0;
  uint32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = code << 6 | (byte(i) & 0x3F);
  }
  if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// One character of a text: its UTF-8 bytes and the bytes the two-byte encoding gives it.
struct Character {
  std::string_view utf8;
  int width = 1;
};

std::vector<Character> characters(std::string_view text) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::vector<Character> out;
  size_t i = 0;
  while (i < text.size()) {
    const size_t length = characterLength(text.substr(i));
    if (length == 0) {
      out.push_back({kReplacement, 2});
      ++i;
    } else {
      out.push_back({text.substr(i, length), length == 1 ? 1 : 2});
      i += length;
    }
  }
  return out;
}

PrintElement textAt(int x, int y, std::string text) {
  PrintElement e;
  e.kind = PrintElement::Kind::Text;
  e.at = Point{x, y};
  e.text = wellFormedUtf8(text);
  return e;
}

PrintElement frame(const Rect& rect) {
  PrintElement e;
  e.kind = PrintElement::Kind::Frame;
  e.rect = rect;
  return e;
}

}  // namespace

int legacyByteLength(std::string_view utf8) {
  int length = 0;
  for (const Character& c : characters(utf8)) length += c.width;
  return length;
}

std::string wellFormedUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const Character& c : characters(text)) out += c.utf8;
  return out;
}

PrintLayout printLayout(int pageWidth, int dotsPerInchX, int dotsPerInchY, int pictureWidth, int pictureHeight) {
  PrintLayout l;
  l.W = pageWidth;
  if (pictureWidth > 0 && pictureHeight > 0 && dotsPerInchX > 0)
    l.H = static_cast<int>(static_cast<int64_t>(dotsPerInchY) * pageWidth * pictureHeight /
                           (static_cast<int64_t>(dotsPerInchX) * pictureWidth));
  l.left = l.W / 6;
  l.pictureWidth = static_cast<int>(l.W * kTwoThirds);
  l.pictureHeight = static_cast<int>(l.H * kTwoThirds);
  l.captionTop = l.pictureHeight;
  l.textLeft = l.left + 100;
  const int right = l.pictureWidth + l.left;
  l.headerFrame = Rect{l.left, 0, right, 160};
  l.headerText = Point{l.textLeft, 30};
  l.picture = Rect{l.left, 200, l.left + l.pictureWidth, 200 + l.pictureHeight};
  l.captionFrame = Rect{l.left, l.captionTop + 250, right, l.captionTop + 800};
  return l;
}

std::vector<std::string> descriptionLines(std::string_view description) {
  const std::string ended = std::string(description) + " ";
  const std::vector<Character> text = characters(ended);
  int total = 0;
  for (const Character& c : text) total += c.width;
  const int lineCount = total / kLineBytes + 1;

  std::vector<std::string> lines;
  size_t start = 0;
  for (int n = 0; n < lineCount && start < text.size(); ++n) {
    // As many whole characters as 60 bytes hold.
    size_t end = start;
    int bytes = 0;
    while (end < text.size() && bytes + text[end].width <= kLineBytes) bytes += text[end++].width;
    // The last blank, unless it would leave fewer than two bytes on the line.
    size_t cut = end;
    size_t next = end;
    int offset = bytes;
    for (size_t i = end; i-- > start;) {
      offset -= text[i].width;
      if (offset < 2) break;
      if (text[i].utf8 == " ") {
        cut = i;
        next = i + 1;
        break;
      }
    }
    std::string line;
    for (size_t i = start; i < cut; ++i) line += text[i].utf8;
    lines.push_back(std::move(line));
    start = next;
  }
  return lines;
}

std::vector<PrintElement> pageElements(const PrintLayout& l, const PrintCaption& caption) {
  std::vector<PrintElement> page;
  PrintElement picture;
  picture.kind = PrintElement::Kind::Picture;
  picture.rect = l.picture;
  page.push_back(picture);
  page.push_back(frame(l.headerFrame));
  page.push_back(textAt(l.headerText.x, l.headerText.y, kPrintHeaderLine));
  page.push_back(frame(l.captionFrame));

  const int x = l.textLeft, top = l.captionTop;
  page.push_back(textAt(x, top + 280, "Creator : " + caption.author));
  page.push_back(textAt(x, top + 380, "e-mail : " + caption.email));
  // A date or a file name too short to say anything leaves its line out.
  const std::string date = "Date : " + caption.date;
  if (legacyByteLength(date) > 8) page.push_back(textAt(x, top + 480, date));
  const std::string fileName = "File name : " + caption.fileName;
  if (legacyByteLength(fileName) > 14) page.push_back(textAt(x, top + 580, fileName));
  page.push_back(textAt(x, top + 680, "Title : " + caption.title));
  page.push_back(textAt(x, top + 880, "<Description>"));
  const std::vector<std::string> lines = descriptionLines(caption.description);
  for (size_t n = 0; n < lines.size(); ++n) page.push_back(textAt(x, top + 980 + 100 * static_cast<int>(n), lines[n]));
  return page;
}
