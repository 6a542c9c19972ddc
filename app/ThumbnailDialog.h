// The 640 x 480 dialog of twenty picture buttons a page that the scene slots, the game slots and the
// picture chooser share: its controls, their identifiers and places, and the page arithmetic.
#pragma once

#include <string>

#include "platform/dialog.h"

namespace thumbnail {

constexpr int kSlotsPerPage = 20;
constexpr int kMaxPages = 3;
// The twenty slot buttons, in reading order.
constexpr int kSlotIds[kSlotsPerPage] = {1005, 1006, 1007, 1009, 1010, 1011, 1012, 1013, 1014, 1015,
                                         1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025};
constexpr int kTitle = 1000, kSlotFrame = 1001, kPreview = 1026, kLoad = 1030, kDelete = 1031, kNew = 1032,
              kCurrentView = 1033, kSave = 1034, kClose = 1035, kPrevious = 1036, kNext = 1037, kReceive = 1038,
              kSend = 1039, kMessageFrame = 1040, kMessage = 1041;

// The dialog's controls at their pixel places; name is the template name the headless back end reports.
DialogTemplate layout(const std::string& name);
// The position on the page (1-20) of a slot button, or 0 for any other control.
int positionOf(int controlId);
// A thumbnail file's picture, or the placeholder "./save/save000.bmp" when it cannot be read (an empty
// picture when neither can).
Surface loadThumbnail(const std::string& path);
// The title picture "./BMP/filemenu.bmp" on the dialog.
void showTitle(Dialog& dialog);
// The shared message line: a string-table text (a blank line for 7).
void showMessage(Dialog& dialog, int stringId);

}  // namespace thumbnail
