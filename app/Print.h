// The controls of the print dialog ("PRINTDLG": where the page goes) and of the dialog shown while the
// page is printed ("ABORTDLG"), for whoever answers them.
#pragma once

namespace printing {
constexpr const char* kChooseTemplate = "PRINTDLG";
constexpr const char* kProgressTemplate = "ABORTDLG";
// The print dialog: the target shown, the buttons that step through the targets, the PDF file's name.
constexpr int kTarget = 1301, kPrevious = 1302, kNext = 1303, kFileNameLabel = 1304, kFileName = 1305;
// The first target is always a PDF file in the install folder's "Port" folder; the printers follow.
constexpr const char* kPdfTarget = "PDF 파일";
}  // namespace printing
