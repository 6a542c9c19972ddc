// The print system behind the printers: CUPS for real use, the scripted printers of the headless back end
// for tests.
#pragma once

#include <optional>
#include <string>

struct PaperSize {
  int width = 0, height = 0;  // device units
};

// The printer's default paper (A4 when it names none we know); none when there is no such printer.
std::optional<PaperSize> printerPaper(const std::string& printer);
// Hand a finished PDF to the printer as one job; false when the print system refused it (a job that was
// begun is cancelled again).
bool submitToPrinter(const std::string& printer, const std::string& title, const std::string& pdf);
