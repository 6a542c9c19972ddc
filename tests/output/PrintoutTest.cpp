// The printed page's arithmetic: where things go on portrait and landscape pages and with unequal pixel
// aspects, which caption lines are left out, and how the description is cut into lines of 60 bytes.
#include <gtest/gtest.h>

#include "output/Printout.h"

namespace {

std::vector<std::string> texts(const std::vector<PrintElement>& page) {
  std::vector<std::string> out;
  for (const PrintElement& e : page)
    if (e.kind == PrintElement::Kind::Text) out.push_back(e.text);
  return out;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line;
  return all;
}

TEST(PrintLayout, AnA4PageAtSixHundredDotsPutsThePictureAtTwoThirdsOfTheWidth) {
  // The 3D view's 540 x 380 picture on A4.
  const PrintLayout l = printLayout(4960, 600, 600, 540, 380);
  EXPECT_EQ(l.H, 3490);  // 4960 * 380 / 540, truncated
  EXPECT_EQ(l.left, 826);
  EXPECT_EQ(l.pictureWidth, 3306);
  EXPECT_EQ(l.pictureHeight, 2326);
  EXPECT_EQ(l.headerFrame, (Rect{826, 0, 4132, 160}));
  EXPECT_EQ(l.headerText, (Point{926, 30}));
  EXPECT_EQ(l.picture, (Rect{826, 200, 4132, 2526}));
  EXPECT_EQ(l.captionFrame, (Rect{826, 2576, 4132, 3126}));
}

TEST(PrintLayout, ALandscapePageAndUnequalDotsKeepThePictureAspect) {
  const PrintLayout wide = printLayout(7015, 600, 600, 640, 480);
  EXPECT_EQ(wide.H, 5261);
  EXPECT_EQ(wide.left, 1169);
  EXPECT_EQ(wide.picture, (Rect{1169, 200, 1169 + 4676, 200 + 3507}));
  // Dots twice as tall as they are wide: half as many rows for the same height.
  const PrintLayout tall = printLayout(4800, 600, 300, 400, 300);
  EXPECT_EQ(tall.H, 1800);
  EXPECT_EQ(tall.pictureHeight, 1200);
  EXPECT_EQ(tall.captionFrame.top, 1450);
  // No picture (the capture failed): nothing to stretch, the sheet follows right below the header.
  EXPECT_TRUE(printLayout(4960, 600, 600, 0, 0).picture.empty());
}

TEST(PrintLayout, ThePageIsDrawnInOrderAndShortDatesAndFileNamesAreLeftOut) {
  const PrintLayout l = printLayout(4960, 600, 600, 540, 380);
  PrintCaption c{"김하늘", "sky@example.kr", "", "ab", "우리 집", "벽돌 집"};
  std::vector<PrintElement> page = pageElements(l, c);
  ASSERT_EQ(page.size(), 9u);
  EXPECT_EQ(page[0].kind, PrintElement::Kind::Picture);
  EXPECT_EQ(page[0].rect, l.picture);
  EXPECT_EQ(page[1].kind, PrintElement::Kind::Frame);
  EXPECT_EQ(page[1].rect, l.headerFrame);
  EXPECT_EQ(page[2].text.size(), 52u);
  EXPECT_EQ(page[2].at, l.headerText);
  EXPECT_EQ(page[3].rect, l.captionFrame);
  EXPECT_EQ(texts(page), (std::vector<std::string>{page[2].text, "Creator : 김하늘", "e-mail : sky@example.kr",
                                                   "Title : 우리 집", "<Description>", "벽돌 집"}));
  const int top = l.pictureHeight;
  EXPECT_EQ(page[4].at, (Point{926, top + 280}));
  EXPECT_EQ(page[5].at.y, top + 380);
  EXPECT_EQ(page[6].at.y, top + 680);
  EXPECT_EQ(page[7].at.y, top + 880);
  EXPECT_EQ(page[8].at.y, top + 980);

  // "Date : 7" is 8 bytes and still left out; a Korean character counts two and is printed; a file name
  // of three bytes is printed.
  c.date = "7";
  EXPECT_EQ(pageElements(l, c).size(), 9u);
  c.date = "가";
  c.fileName = "a.l";
  page = pageElements(l, c);
  ASSERT_EQ(page.size(), 11u);
  EXPECT_EQ(page[6].text, "Date : 가");
  EXPECT_EQ(page[6].at.y, top + 480);
  EXPECT_EQ(page[7].text, "File name : a.l");
  EXPECT_EQ(page[7].at.y, top + 580);
  // Texts with "%" are printed as they stand; bytes that are not UTF-8 become a replacement character.
  c.title = "100% %s%d";
  c.author = "a\xFF";
  page = pageElements(l, c);
  EXPECT_EQ(page[4].text, "Creator : a\xEF\xBF\xBD");
  EXPECT_EQ(page[8].text, "Title : 100% %s%d");
}

TEST(DescriptionLines, ShortTextsTakeOneLineAndLongOnesAtMostTheirShare) {
  const std::string short58 = "a short line of words that is exactly fifty-eight bytes .";
  ASSERT_EQ(short58.size(), 57u);
  EXPECT_EQ(descriptionLines(short58 + "x"), std::vector<std::string>{short58 + "x"});
  EXPECT_EQ(descriptionLines("100% %s"), std::vector<std::string>{"100% %s"});
  // 100 bytes: two lines, although the blanks would need three; the rest is not printed.
  const std::string hundred = std::string(30, 'a') + " " + std::string(30, 'b') + " " + std::string(38, 'c');
  ASSERT_EQ(hundred.size(), 100u);
  EXPECT_EQ(descriptionLines(hundred), (std::vector<std::string>{std::string(30, 'a'), std::string(30, 'b')}));
  // A blank in the line's first two bytes is no place to break.
  EXPECT_EQ(descriptionLines("a " + std::string(65, 'x')),
            (std::vector<std::string>{"a " + std::string(58, 'x'), std::string(7, 'x')}));
  // A text of exactly 59 bytes has the ending blank on the next line: it still fits.
  EXPECT_EQ(descriptionLines(std::string(59, 'y')), std::vector<std::string>{std::string(59, 'y')});
}

TEST(DescriptionLines, KoreanIsNeverSplitAndALongRunGoesOnWithoutLosingAByte) {
  std::string syllables;
  for (int i = 0; i < 31; ++i) syllables += "가";
  EXPECT_EQ(legacyByteLength(syllables), 62);
  std::vector<std::string> lines = descriptionLines(syllables);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(legacyByteLength(lines[0]), 60);
  EXPECT_EQ(joined(lines), syllables);
  // An odd start: 59 bytes fit, the next syllable would straddle the line's end.
  lines = descriptionLines("a" + syllables.substr(0, 30 * 3));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(legacyByteLength(lines[0]), 59);
  EXPECT_EQ(lines[1], "가");
  // A run of 70 letters: 60 on the first line, the following 10 on the next.
  EXPECT_EQ(descriptionLines(std::string(70, 'x')),
            (std::vector<std::string>{std::string(60, 'x'), std::string(10, 'x')}));
  // Korean words break at blanks, counted two bytes a syllable.
  const std::string words = "우리 동네에 새로 지은 빨간 벽돌 집은 지붕이 파랗고 창문이 아주 많습니다";
  lines = descriptionLines(words);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "우리 동네에 새로 지은 빨간 벽돌 집은 지붕이 파랗고 창문이");
  EXPECT_EQ(lines[1], "아주 많습니다");
}

TEST(DescriptionLines, LengthsCountTwoBytesForEveryCharacterBeyondAscii) {
  EXPECT_EQ(legacyByteLength("가a"), 3);
  EXPECT_EQ(legacyByteLength("é€"), 4);
  EXPECT_EQ(legacyByteLength("\xF0\x9F\x98\x80"), 2);
  EXPECT_EQ(legacyByteLength("\xE0\x80"), 4);  // two stray bytes, each a replacement character
  EXPECT_EQ(wellFormedUtf8("\xED\xA0\x80z"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDz");
}

}  // namespace
