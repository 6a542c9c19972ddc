// The printers CUPS knows, their paper, and handing a job to one; the headless back end's scripted
// printers, which keep what they are sent.
#include <cups/cups.h>

#include <algorithm>

#include "platform/core/WindowState.h"
#include "platform/headless.h"
#include "platform/print.h"
#include "platform/print/PrintSystem.h"

namespace {

bool headlessPrinting() { return windowSystem().kind == Backend::Headless; }

// "name/instance" as listPrinters gives it.
std::string destinationName(const cups_dest_t& dest) {
  std::string name = dest.name;
  if (dest.instance) name += std::string("/") + dest.instance;
  return name;
}

// The queue's name: an instance only changes the options.
std::string queueName(const std::string& printer) { return printer.substr(0, printer.find('/')); }

constexpr PaperSize kA4{4960, 7015};

PaperSize paperFromMedia(const char* media) {
  if (!media) return kA4;
  const pwg_media_t* size = pwgMediaForPWG(media);
  if (!size) size = pwgMediaForLegacy(media);
  if (!size || size->width <= 0 || size->length <= 0) return kA4;
  // PWG sizes are in hundredths of a millimetre.
  return PaperSize{static_cast<int>(static_cast<long long>(size->width) * kPrintDotsPerInch / 2540),
                   static_cast<int>(static_cast<long long>(size->length) * kPrintDotsPerInch / 2540)};
}

}  // namespace

std::vector<std::string> listPrinters() {
  if (headlessPrinting()) return windowSystem().printers;
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests(&dests);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    const std::string name = destinationName(dests[i]);
    if (dests[i].is_default)
      names.insert(names.begin(), name);
    else
      names.push_back(name);
  }
  cupsFreeDests(count, dests);
  return names;
}

std::optional<PaperSize> printerPaper(const std::string& printer) {
  if (headlessPrinting()) {
    const auto& printers = windowSystem().printers;
    if (std::find(printers.begin(), printers.end(), printer) == printers.end()) return std::nullopt;
    return kA4;
  }
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests(&dests);
  std::optional<PaperSize> paper;
  for (int i = 0; i < count && !paper; ++i)
    if (destinationName(dests[i]) == printer)
      paper = paperFromMedia(cupsGetOption("media", dests[i].num_options, dests[i].options));
  cupsFreeDests(count, dests);
  return paper;
}

bool submitToPrinter(const std::string& printer, const std::string& title, const std::string& pdf) {
  if (headlessPrinting()) {
    if (!printerPaper(printer)) return false;
    windowSystem().printJobs.push_back(HeadlessPrintJob{printer, pdf});
    return true;
  }
  const std::string queue = queueName(printer);
  const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), 0, nullptr);
  if (job <= 0) return false;
  const bool sent =
      cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE &&
      cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.data(), pdf.size()) == HTTP_STATUS_CONTINUE &&
      cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) == IPP_STATUS_OK;
  if (!sent) cupsCancelJob(queue.c_str(), job);
  return sent;
}

void headlessSetPrinters(std::vector<std::string> printers) { windowSystem().printers = std::move(printers); }
const std::vector<HeadlessPrintJob>& headlessPrintJobs() { return windowSystem().printJobs; }
void headlessClearPrintJobs() { windowSystem().printJobs.clear(); }
