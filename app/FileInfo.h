// The file information of exchanged scenes: the form the user confirms before a scene is sent (the author
// from the user's profile, the work's title and description) and the display of what a received file says.
#pragma once

#include <string>

#include "platform/window.h"

struct Program;

// "FILEINFO2": the author, date, title and description the latest read took from its file's header, with
// the file's path in the title bar. The author shown is the file's, never the user's profile.
void showFileInfo(Program& p, HWindow owner, const std::string& path);

// The controls of the form ("FILEINFO") and of the display ("FILEINFO2").
namespace fileinfo {
constexpr const char* kFormTemplate = "FILEINFO";
constexpr const char* kDisplayTemplate = "FILEINFO2";
constexpr int kAuthorGroup = 1200, kWorkGroup = 1201;
// The form's fields.
constexpr int kName = 1210, kAge = 1211, kAddress = 1212, kEmail = 1213, kTitle = 1214, kDescription = 1215;
// The display's values.
constexpr int kShownName = 1230, kShownAge = 1231, kShownEmail = 1232, kShownAddress = 1233, kShownDate = 1234,
              kShownTitle = 1235, kShownDescription = 1236;
}  // namespace fileinfo
