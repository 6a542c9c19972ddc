// Help pages in Korean with pictures cut from the panels, a gallery of the shapes and a drawing of a
// game course.
#include "tools/art/Help.h"

#include "tools/art/Paint.h"
#include "tools/art/Preview.h"

#include <cmath>
#include <cstdio>

namespace {
const Colour ink = rgbColour(24, 28, 44);

// A part of a generated BMP panel, doubled in size for readability, as PNG bytes.
std::string panelCrop(const OutputList& out, const std::string& file, int x, int y, int w, int h) {
  const OutputFile* f = findOutput(out, file);
  Picture panel;
  if (!f || !decodeBmp(f->bytes, panel)) return {};
  Picture part = cropPicture(panel, x, y, w, h);
  Canvas c(w * 2, h * 2);
  Picture big(w * 2, h * 2);
  for (int row = 0; row < h * 2; ++row)
    for (int col = 0; col < w * 2; ++col) big.set(col, row, part.at(col / 2, row / 2));
  c.drawPicture(big, 0, 0);
  return c.pngBytes();
}

std::string shapeGallery(const std::vector<ShapeDesign>& shapes) {
  const int columns = 8, cell = 92, rows = (int(shapes.size()) + columns - 1) / columns;
  Canvas c(columns * cell, rows * (cell + 16));
  cairo_t* cr = c.cr();
  setColour(cr, palette::white);
  cairo_paint(cr);
  const Colour colours[] = {palette::red, palette::blue, palette::yellow, palette::green, palette::orange};
  for (size_t i = 0; i < shapes.size(); ++i) {
    double x = double(i % columns) * cell, y = double(i / columns) * (cell + 16);
    roundedRect(cr, x + 3, y + 3, cell - 6, cell + 10, 8);
    setColour(cr, rgbColour(238, 244, 255));
    cairo_fill(cr);
    drawMeshPreview(cr, shapes[i].mesh, x + 10, y + 8, cell - 20, cell - 22, colours[i % 5]);
    drawText(cr, shapes[i].name, x + cell / 2.0, y + cell - 2, 11, Weight::Bold, ink);
  }
  return c.pngBytes();
}

// A course seen from above: walls, white blocks that steer, the yellow target and the flight path.
std::string courseDrawing() {
  Canvas c(420, 300);
  cairo_t* cr = c.cr();
  fillGradient(cr, 0, 0, 420, 300, rgbColour(60, 170, 70), rgbColour(40, 140, 55));
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 21; ++x) drawStud(cr, 10 + x * 20, 10 + y * 20, 4, rgbColour(60, 170, 70));
  auto block = [&](int gx, int gy, int w, int h, Colour col) {
    roundedRect(cr, gx * 20 + 1, gy * 20 + 1, w * 20 - 2, h * 20 - 2, 3);
    setColour(cr, col);
    cairo_fill_preserve(cr);
    setColour(cr, shade(col, 0.5));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  };
  const Colour wall = rgbColour(200, 60, 50);
  block(0, 0, 21, 1, wall);
  block(0, 14, 21, 1, wall);
  block(0, 1, 1, 13, wall);
  block(20, 1, 1, 13, wall);
  block(13, 11, 1, 2, palette::white);
  block(12, 3, 2, 1, palette::white);
  block(4, 3, 2, 2, palette::yellow);
  // Path: starts at the lower left flying right, turns at each white block, ends at the target.
  cairo_move_to(cr, 50, 230);
  cairo_line_to(cr, 250, 230);
  cairo_line_to(cr, 250, 90);
  cairo_line_to(cr, 122, 90);
  const double dashes[2] = {8, 6};
  cairo_set_dash(cr, dashes, 2, 0);
  setColour(cr, palette::white);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
  cairo_save(cr);
  cairo_translate(cr, 44, 230);
  cairo_move_to(cr, 14, 0);
  cairo_line_to(cr, -8, -11);
  cairo_line_to(cr, -4, 0);
  cairo_line_to(cr, -8, 11);
  cairo_close_path(cr);
  setColour(cr, palette::red);
  cairo_fill_preserve(cr);
  setColour(cr, ink);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_restore(cr);
  drawOutlinedText(cr, "비행기", 48, 206, 13, Weight::Bold, palette::white, ink, 1.5);
  drawOutlinedText(cr, "흰 블록", 318, 216, 13, Weight::Bold, palette::white, ink, 1.5);
  drawOutlinedText(cr, "도착!", 100, 124, 14, Weight::Bold, palette::yellow, ink, 1.6);
  return c.pngBytes();
}

const char* pageStyle =
    "<style>\n"
    "body{font-family:'NanumGothic','Nanum Gothic',sans-serif;background:#f4f8ff;color:#1c2030;margin:0}\n"
    "header{background:linear-gradient(#ffd428,#ffa014);padding:18px 28px;border-bottom:4px solid #964600}\n"
    "header h1{margin:0;font-size:30px;color:#fff;text-shadow:0 2px 0 #964600}\n"
    "main{max-width:860px;margin:0 auto;padding:10px 24px 40px}\n"
    "h2{color:#1e64d2;border-bottom:3px solid #ffcc00;padding-bottom:4px;margin-top:32px}\n"
    "table{border-collapse:collapse;width:100%}td{padding:6px 10px;border-bottom:1px solid #d6def0;vertical-align:middle}\n"
    "td.k{font-weight:bold;white-space:nowrap;color:#c02020}\n"
    "img{image-rendering:pixelated;max-width:100%;border-radius:6px;box-shadow:0 2px 6px #0003}\n"
    ".tip{background:#fff6dc;border-left:6px solid #ffb400;padding:8px 14px;border-radius:4px}\n"
    "kbd{background:#fff;border:1px solid #99a;border-bottom-width:3px;border-radius:4px;padding:1px 6px}\n"
    "</style>\n";

std::string page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"ko\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + title + "</title>\n" +
         pageStyle + "</head>\n<body>\n<header><h1>" + title + "</h1></header>\n<main>\n" + body + "</main>\n</body>\n</html>\n";
}

std::string editorPage() {
  return page("톨바네 도움말 — 블록 쌓기",
R"(<p>톨바네는 판 위에 벽돌과 여러 가지 모양 블록을 쌓아 나만의 작품을 만드는 놀이입니다.
왼쪽에서 블록을 고르고, 가운데 화면에 놓고, 아래 단추로 돌리고 칠하고 부숴 보세요.</p>

<h2>블록 고르기</h2>
<p>왼쪽 상자에는 세 줄의 블록 그림이 있습니다: <b>벽돌</b>(벽돌과 비탈 벽돌), <b>모양 1</b>, <b>모양 2</b>.
화살표 단추로 다음 블록과 앞 블록을 넘겨 보고, 그림을 누른 다음 화면 위로 가져가면 블록이 나타납니다.</p>
<p><img src="help/side-arrows.png" alt="블록 상자의 화살표"></p>

<h2>블록 놓기와 옮기기</h2>
<table>
<tr><td class="k">왼쪽 단추 누른 채 끌기</td><td>블록을 집어 옮깁니다. 위에 쌓인 블록도 함께 따라옵니다.</td></tr>
<tr><td class="k">단추 놓기</td><td>블록을 그 자리에 내려놓습니다. 블록은 돌기 위에 딱 맞게 앉습니다.</td></tr>
<tr><td class="k"><kbd>Delete</kbd></td><td>집고 있는 블록을 없앱니다.</td></tr>
<tr><td class="k"><kbd>Page Up</kbd> / <kbd>Page Down</kbd></td><td>집은 벽돌을 한 칸 높게 / 낮게 만듭니다. 모양 블록은 크게 / 작게 바뀝니다(세 가지 크기).</td></tr>
<tr><td class="k">화살표 키</td><td>블록을 집고 있을 때는 벽돌의 가로와 세로 크기를 바꾸고, 고른 블록만 있을 때는 한 칸씩 옮깁니다.</td></tr>
<tr><td class="k"><kbd>Space</kbd></td><td>옮기는 방법을 바꿉니다(넘기 / 밀기).</td></tr>
<tr><td class="k"><kbd>1</kbd> ~ <kbd>8</kbd></td><td>도, 레, 미, 파, 솔, 라, 시, 높은 도 소리를 냅니다.</td></tr>
</table>

<h2>아래 단추</h2>
<p><img src="help/edit-panel.png" alt="편집 단추"></p>
<table>
<tr><td class="k">취소</td><td>방금 한 일을 되돌립니다.</td></tr>
<tr><td class="k">＋ / －</td><td>화면을 가까이 / 멀리 봅니다.</td></tr>
<tr><td class="k">초록 화살표</td><td>작품 둘레를 왼쪽 / 오른쪽으로 돌아 봅니다.</td></tr>
<tr><td class="k">회전</td><td>고른 블록을 90도 돌립니다.</td></tr>
<tr><td class="k">넘기 / 밀기</td><td>넘기: 옮기는 블록이 다른 블록을 넘어 벽돌 한 칸씩 내려앉습니다. 밀기(눌린 모양): 다른 블록을 따라 미끄러집니다.</td></tr>
<tr><td class="k">색깔 여섯 칸</td><td>흰색, 노랑, 빨강, 초록, 파랑, 검정 중 하나를 고른 뒤 블록을 누르면 그 색으로 칠해집니다.</td></tr>
<tr><td class="k">망치</td><td>망치를 켜고 블록을 누르면 펑! 하고 부서집니다.</td></tr>
<tr><td class="k">시점 1 ~ 4</td><td>1: 처음 보기, 2: 위에서 내려다보기, 3·4: 옆에서 나란히 보기.</td></tr>
</table>

<h2>위쪽 탭</h2>
<p><img src="help/tabs.png" alt="탭"></p>
<table>
<tr><td class="k">저장</td><td>작품을 번호 칸에 그림과 함께 저장하고 다시 불러옵니다.</td></tr>
<tr><td class="k">편집</td><td>블록 쌓기 화면으로 돌아옵니다.</td></tr>
<tr><td class="k">게임</td><td>비행기 게임을 고릅니다.</td></tr>
<tr><td class="k">옵션</td><td>도움말, 음악, 배경 그림, 인쇄, 설정 단추가 있는 화면입니다.</td></tr>
<tr><td class="k">_ / X</td><td>창을 작게 내리기 / 끝내기.</td></tr>
</table>

<h2>옵션 화면</h2>
<p><img src="help/option-panel.png" alt="옵션 단추"></p>
<table>
<tr><td class="k">도움말</td><td>지금 보고 있는 이 안내를 엽니다.</td></tr>
<tr><td class="k">음악</td><td>배경 음악을 켜고 끕니다.</td></tr>
<tr><td class="k">배경</td><td>하늘, 노을, 밤, 바다, 우주 등 배경 그림을 고릅니다.</td></tr>
<tr><td class="k">인쇄</td><td>작품을 만든 사람과 제목과 함께 종이에 인쇄합니다.</td></tr>
<tr><td class="k">설정</td><td>이름과 나이 같은 내 정보를 적습니다.</td></tr>
</table>

<h2>모양 블록</h2>
<p>모양 블록은 76가지이고 저마다 세 가지 크기가 있습니다. 집은 채로 <kbd>Page Up</kbd>을 누르면 커집니다.</p>
<p><img src="help/shapes.png" alt="모양 블록 모음"></p>
<p class="tip">배경 그림을 바꾸고 싶으면 데이터 폴더의 <b>image</b> 폴더에 그림을 더하세요:
<b>bimg021.ppm</b>(그림)과 <b>bimg021.bmp</b>(98×69 작은 그림)처럼 다음 번호로 넣으면 고르는 목록에 나타납니다.</p>
)");
}

// The shipped levels in order, each with its list picture.
std::string levelList(const std::vector<std::string>& titles) {
  if (titles.empty()) return {};
  std::string html = "\n<h2>게임 판</h2>\n<p>모두 " + std::to_string(titles.size()) +
                     "판입니다. 뒤로 갈수록 어려워집니다.</p>\n<table>\n";
  for (size_t i = 0; i < titles.size(); ++i) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", int(i + 1));
    html += "<tr><td class=\"k\">" + std::to_string(i + 1) + ". " + titles[i] + "</td><td><img src=\"save/gimg" + number +
            ".bmp\" alt=\"" + titles[i] + "\" width=\"98\" height=\"69\"></td></tr>\n";
  }
  return html + "</table>\n";
}

std::string gamePage(const std::vector<std::string>& levelTitles) {
  return page("톨바네 도움말 — 비행기 게임",
R"(<p>빨간 비행기가 스스로 날아갑니다. 흰 블록을 옮기고 돌려서 비행기가 <b>노란 블록</b>에 닿게 길을 만들어 주세요!</p>
<p><img src="help/course.png" alt="게임 판"></p>

<h2>놀이 방법</h2>
<table>
<tr><td class="k">1. 준비</td><td>흰 블록만 움직이거나 돌릴 수 있습니다. 다른 색 블록은 벽입니다.</td></tr>
<tr><td class="k">2. 출발</td><td>출발 단추를 누르면 비행기가 앞으로 날아갑니다.</td></tr>
<tr><td class="k">3. 방향 바꾸기</td><td>비행기가 블록에 부딪히면 방향을 90도 바꿉니다. 비탈 벽돌을 만나면 한 칸 올라갑니다.</td></tr>
<tr><td class="k">4. 도착</td><td>노란 블록에 닿으면 성공! 빵빠레가 울리고 다음 판으로 넘어갑니다.</td></tr>
</table>

<h2>게임 단추</h2>
<p><img src="help/game-panel.png" alt="게임 단추"></p>
<table>
<tr><td class="k">다시</td><td>이 판을 처음부터 다시 합니다.</td></tr>
<tr><td class="k">출발</td><td>비행기를 날립니다.</td></tr>
<tr><td class="k">멈춤</td><td>비행을 멈춥니다. <kbd>Space</kbd> 키로도 멈출 수 있습니다.</td></tr>
<tr><td class="k">나가기</td><td>게임을 마치고 만들던 작품으로 돌아갑니다.</td></tr>
<tr><td class="k">도움말</td><td>이 안내를 엽니다.</td></tr>
<tr><td class="k">음악</td><td>게임 음악을 켜고 끕니다. <kbd>M</kbd> 키도 같습니다.</td></tr>
<tr><td class="k">빨리</td><td>비행기가 네 배 빠르게 날아갑니다.</td></tr>
</table>
)" + levelList(levelTitles) + R"(
<h2>비행기</h2>
<p><img src="help/plane.png" alt="비행기 블록"></p>
<p class="tip">작품 화면에서 비행기 블록(모양 2의 세 번째 그림)과 노란 블록, 흰 블록으로 나만의 게임 판을 만들어
게임 칸에 저장할 수도 있습니다. 비행기가 밖으로 날아가지 않도록 벽으로 둘러싸 주세요.</p>
)");
}

std::string planePicture(const std::vector<ShapeDesign>& shapes) {
  Canvas c(240, 170);
  cairo_t* cr = c.cr();
  fillGradient(cr, 0, 0, 240, 170, rgbColour(120, 190, 250), rgbColour(220, 240, 255));
  if (shapes.size() > size_t(aeroplaneEntry))
    drawMeshPreview(cr, shapes[size_t(aeroplaneEntry)].mesh, 20, 15, 200, 140, palette::red);
  return c.pngBytes();
}
}  // namespace

void makeHelp(OutputList& out, const std::vector<ShapeDesign>& shapes, const std::vector<std::string>& levelTitles) {
  OutputList pictures = {
      {"help/edit-panel.png", panelCrop(out, "bmp/hedit.bmp", 0, 0, 540, 76)},
      {"help/option-panel.png", panelCrop(out, "bmp/hoption.bmp", 0, 0, 340, 76)},
      {"help/game-panel.png", panelCrop(out, "bmp/hgame.bmp", 0, 0, 540, 76)},
      {"help/tabs.png", panelCrop(out, "bmp/mselect.bmp", 220, 0, 320, 24)},
      {"help/side-arrows.png", panelCrop(out, "bmp/vedit.bmp", 0, 90, 100, 120)},
      {"help/shapes.png", shapeGallery(shapes)},
      {"help/course.png", courseDrawing()},
      {"help/plane.png", planePicture(shapes)},
  };
  for (OutputFile& f : pictures) out.push_back(std::move(f));
  out.push_back({"help.html", editorPage()});
  out.push_back({"GameHelp.html", gamePage(levelTitles)});
}
