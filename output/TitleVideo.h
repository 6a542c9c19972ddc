// A title video in the program's own terms: opened from the data folder, played against the clock into a
// picture the size of the video window, and closed when it ends or is skipped. The caller runs the loop;
// this only says which frame is due and when the video has ended.
#pragma once

#include <cstdint>
#include <string>

#include "platform/surface.h"
#include "platform/video.h"

constexpr int kTitleVideoWidth = 640;
constexpr int kTitleVideoHeight = 480;

struct TitleVideo {
  VideoHandle reader;      // null while closed
  uint32_t startTick = 0;  // the clock when the first frame was due
  Surface next;            // the next frame, decoded ahead, shown when its time comes
  uint32_t nextTime = 0;   // its time from the start
  bool nextReady = false;
  uint32_t endTime = 0;    // known once the last frame has been read: when that frame's showing is over
};

// Opens the video (a data-folder path as written, with either separator). False when the file is missing
// or not a video the program can play.
bool openTitleVideo(TitleVideo& video, const std::string& path);
// Starts the clock at now with the first frame. False (the video is closed) when not even one frame decodes.
bool playTitleVideo(TitleVideo& video, uint32_t now);
bool titleVideoOpen(const TitleVideo& video);
void closeTitleVideo(TitleVideo& video);

enum class TitleVideoStep { Wait, Frame, Ended };

struct TitleVideoTick {
  TitleVideoStep step = TitleVideoStep::Ended;
  uint32_t waitMs = 0;  // how long until something is due again
};

// At clock time now: Frame when a new frame is due (it is copied into screen; frames whose time has
// already passed are skipped), Wait when nothing is due yet, Ended when the last frame has had its time
// or the video is closed.
TitleVideoTick stepTitleVideo(TitleVideo& video, uint32_t now, Surface& screen);
