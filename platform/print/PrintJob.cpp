// One printed page drawn with cairo into a PDF: written through an atomic file for a PDF target, kept in
// memory and handed to the print system for a printer.
#include "platform/print.h"

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <optional>

#include "platform/paths.h"
#include "platform/print/PrintSystem.h"
#include "platform/text.h"

namespace {

// A4 in device units.
constexpr int kA4Width = 4960, kA4Height = 7015;
// The printed text's height: ten points.
constexpr double kTextSize = 10.0 * kPrintDotsPerInch / 72;
constexpr double kFrameWidth = 2;

// The FreeType face behind a cairo font face lives as long as cairo keeps the font face, library and all.
struct OwnedFace {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};
const cairo_user_data_key_t kOwnedFaceKey{};

void releaseOwnedFace(void* data) {
  auto* owned = static_cast<OwnedFace*>(data);
  FT_Done_Face(owned->face);
  FT_Done_FreeType(owned->library);
  delete owned;
}

// The program's own font, or nullptr when its file does not open (cairo then picks a face by name).
cairo_font_face_t* programFont() {
  auto* owned = new OwnedFace;
  if (FT_Init_FreeType(&owned->library) != 0) {
    delete owned;
    return nullptr;
  }
  if (FT_New_Face(owned->library, fontFilePath().c_str(), 0, &owned->face) != 0) {
    FT_Done_FreeType(owned->library);
    delete owned;
    return nullptr;
  }
  cairo_font_face_t* font = cairo_ft_font_face_create_for_ft_face(owned->face, 0);
  if (cairo_font_face_set_user_data(font, &kOwnedFaceKey, owned, releaseOwnedFace) != CAIRO_STATUS_SUCCESS) {
    cairo_font_face_destroy(font);
    releaseOwnedFace(owned);
    return nullptr;
  }
  return font;
}

}  // namespace

struct PrintJobState {
  PrintTarget target;
  int width = 0, height = 0;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  // The PDF's bytes go to the temporary file of the target (PDF file) or into memory (printer).
  std::optional<AtomicFile> file;
  FILE* out = nullptr;
  std::string memory;
  bool discarding = false;  // abandoned: cairo's last words go nowhere
  bool writeFailed = false;

  ~PrintJobState() { close(); }
  void close() {
    if (cr) cairo_destroy(cr);
    if (surface) cairo_surface_destroy(surface);
    cr = nullptr;
    surface = nullptr;
  }
};

namespace {

cairo_status_t writePdf(void* closure, const unsigned char* data, unsigned int length) {
  auto* s = static_cast<PrintJobState*>(closure);
  if (s->discarding) return CAIRO_STATUS_WRITE_ERROR;
  if (s->out) {
    if (std::fwrite(data, 1, length, s->out) != length) s->writeFailed = true;
  } else {
    s->memory.append(reinterpret_cast<const char*>(data), length);
  }
  return s->writeFailed ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
}

}  // namespace

PrintJob::PrintJob() = default;
PrintJob::~PrintJob() { abandon(); }

PrintResult PrintJob::open(const PrintTarget& target) {
  abandon();
  auto s = std::make_unique<PrintJobState>();
  s->target = target;
  s->width = kA4Width;
  s->height = kA4Height;
  if (target.kind == PrintTarget::Kind::PdfFile) {
    s->file.emplace(target.path);
    s->out = s->file->open();
    if (!s->out) return PrintResult::FileNotWritable;
  } else {
    const std::optional<PaperSize> paper = printerPaper(target.printer);
    if (!paper) return PrintResult::PrinterRefused;
    s->width = paper->width;
    s->height = paper->height;
  }
  const double toPoints = 72.0 / kPrintDotsPerInch;
  s->surface = cairo_pdf_surface_create_for_stream(writePdf, s.get(), s->width * toPoints, s->height * toPoints);
  s->cr = cairo_create(s->surface);
  if (cairo_status(s->cr) != CAIRO_STATUS_SUCCESS) return PrintResult::DrawingFailed;
  cairo_scale(s->cr, toPoints, toPoints);
  if (cairo_font_face_t* font = programFont()) {
    cairo_set_font_face(s->cr, font);
    cairo_font_face_destroy(font);
  } else {
    cairo_select_font_face(s->cr, "NanumGothic", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  }
  cairo_set_font_size(s->cr, kTextSize);
  state = std::move(s);
  return PrintResult::Ok;
}

int PrintJob::pageWidth() const { return state ? state->width : 0; }
int PrintJob::pageHeight() const { return state ? state->height : 0; }

bool PrintJob::drawPicture(const PrintPicture& picture, const Rect& where) {
  if (!state) return false;
  if (picture.width <= 0 || picture.height <= 0 || where.empty()) return true;  // nothing to show
  if (!picture.bits || picture.rowBytes < picture.width * 3) return false;
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return false;
  }
  cairo_surface_flush(image);
  unsigned char* pixels = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* from = picture.bits + static_cast<size_t>(picture.height - 1 - y) * picture.rowBytes;
    auto* to = reinterpret_cast<uint32_t*>(pixels + static_cast<size_t>(y) * stride);
    for (int x = 0; x < picture.width; ++x, from += 3) to[x] = 0xFF000000u | from[2] << 16 | from[1] << 8 | from[0];
  }
  cairo_surface_mark_dirty(image);

  cairo_t* cr = state->cr;
  cairo_save(cr);
  cairo_rectangle(cr, where.left, where.top, where.width(), where.height());
  cairo_clip(cr);
  cairo_translate(cr, where.left, where.top);
  cairo_scale(cr, static_cast<double>(where.width()) / picture.width, static_cast<double>(where.height()) / picture.height);
  cairo_set_source_surface(cr, image, 0, 0);
  // Each screen pixel becomes a block of dots, as the screen showed it.
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
  cairo_surface_destroy(image);
  return cairo_status(cr) == CAIRO_STATUS_SUCCESS;
}

void PrintJob::drawFrame(const Rect& rect) {
  if (!state) return;
  cairo_t* cr = state->cr;
  cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_set_line_width(cr, kFrameWidth);
  cairo_stroke(cr);
}

void PrintJob::drawText(int x, int y, const std::string& utf8) {
  if (!state || utf8.empty()) return;
  cairo_t* cr = state->cr;
  cairo_font_extents_t extents;
  cairo_font_extents(cr, &extents);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, x, y + extents.ascent);
  cairo_show_text(cr, utf8.c_str());
}

PrintResult PrintJob::finish() {
  if (!state) return PrintResult::NotOpen;
  std::unique_ptr<PrintJobState> s = std::move(state);
  cairo_show_page(s->cr);
  const bool drawn = cairo_status(s->cr) == CAIRO_STATUS_SUCCESS;
  cairo_surface_finish(s->surface);
  const bool written = drawn && cairo_surface_status(s->surface) == CAIRO_STATUS_SUCCESS && !s->writeFailed;
  s->close();
  if (!written) {
    s->discarding = true;
    return s->file && s->writeFailed ? PrintResult::FileNotWritable : PrintResult::DrawingFailed;
  }
  if (s->file) return s->file->commit() ? PrintResult::Ok : PrintResult::FileNotWritable;
  return submitToPrinter(s->target.printer, s->target.jobTitle, s->memory) ? PrintResult::Ok
                                                                          : PrintResult::PrinterRefused;
}

void PrintJob::abandon() {
  if (!state) return;
  state->discarding = true;
  state.reset();  // the atomic file, never committed, takes its temporary file with it
}
