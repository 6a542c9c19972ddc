// Printing one page: into a PDF file or to a printer the print system (CUPS) knows. The page is drawn
// element by element in device units of 600 to the inch, so the caller can look at its Cancel button
// between two elements; nothing here waits for the user.
//
//   PrintJob job;
//   if (job.open(PrintTarget{PrintTarget::Kind::PdfFile, "", path}) != PrintResult::Ok) ...
//   job.drawFrame(Rect{...});
//   job.drawText(x, y, "Title : 집");
//   if (cancelled) job.abandon(); else job.finish();
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

constexpr int kPrintDotsPerInch = 600;

// The printers the print system offers, the default one first; none when there is no print system.
// Headless: the printers a test scripted (headlessSetPrinters).
std::vector<std::string> listPrinters();

struct PrintTarget {
  enum class Kind { PdfFile, Printer };
  Kind kind = Kind::PdfFile;
  std::string printer;  // Printer: its name as listPrinters gives it
  std::string path;     // PdfFile: the file written (atomically, when the job finishes)
  std::string jobTitle = "Tolvane";
};

enum class PrintResult {
  Ok,
  FileNotWritable,   // the PDF file's folder cannot be written
  PrinterRefused,    // the print system refused the job (or there is no such printer)
  DrawingFailed,     // the page could not be made (no memory, a picture too large)
  NotOpen,           // nothing was opened
};

// A 24-bit picture as a packed bitmap keeps it: blue, green, red bytes, the bottom row first, each row
// padded to rowBytes.
struct PrintPicture {
  const uint8_t* bits = nullptr;
  int width = 0, height = 0;
  int rowBytes = 0;
};

struct PrintJobState;

class PrintJob {
public:
  PrintJob();
  ~PrintJob();  // abandons a job that was not finished
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  // Start a page on the target: A4 for a PDF file, the printer's default paper for a printer.
  PrintResult open(const PrintTarget& target);
  // The page in device units (portrait: width < height).
  int pageWidth() const;
  int pageHeight() const;

  // False when the picture cannot be put on the page (the job should then be abandoned).
  bool drawPicture(const PrintPicture& picture, const Rect& where);
  // A thin black frame around a white rectangle.
  void drawFrame(const Rect& rect);
  // A line of UTF-8 text in the program's font, its top-left corner at (x, y).
  void drawText(int x, int y, const std::string& utf8);

  // End the page: the PDF file replaces any file of that name, or the printer gets the job.
  PrintResult finish();
  // Throw the job away: no file (not even a temporary one) and no print job is left.
  void abandon();

private:
  std::unique_ptr<PrintJobState> state;
};
