// Playing a title video against the clock: one frame decoded ahead of the one on the screen.
#include "output/TitleVideo.h"

#include <algorithm>

namespace {
// How long the last frame stays when the stream does not say: one frame at the usual 25 a second.
constexpr uint32_t kLastFrameMs = 40;

// Reads the frame after the one just taken; at the end the video's end time becomes known.
void readAhead(TitleVideo& video) {
  const uint32_t previous = video.nextTime;
  video.nextReady = readVideoFrame(*video.reader, kTitleVideoWidth, kTitleVideoHeight, video.next, video.nextTime) ==
                    VideoRead::Frame;
  if (!video.nextReady) video.endTime = previous + kLastFrameMs;
}
}  // namespace

bool openTitleVideo(TitleVideo& video, const std::string& path) {
  closeTitleVideo(video);
  video.reader = openVideoFile(path);
  return video.reader != nullptr;
}

bool playTitleVideo(TitleVideo& video, uint32_t now) {
  if (!video.reader) return false;
  video.startTick = now;
  video.nextTime = 0;
  video.nextReady = false;
  video.endTime = 0;
  video.nextReady = readVideoFrame(*video.reader, kTitleVideoWidth, kTitleVideoHeight, video.next, video.nextTime) ==
                    VideoRead::Frame;
  if (!video.nextReady) closeTitleVideo(video);
  return video.nextReady;
}

bool titleVideoOpen(const TitleVideo& video) { return video.reader != nullptr; }

void closeTitleVideo(TitleVideo& video) {
  video.reader.reset();
  video.nextReady = false;
}

TitleVideoTick stepTitleVideo(TitleVideo& video, uint32_t now, Surface& screen) {
  if (!video.reader) return {TitleVideoStep::Ended, 0};
  const uint32_t elapsed = now - video.startTick;
  if (!video.nextReady) {
    if (elapsed >= video.endTime) return {TitleVideoStep::Ended, 0};
    return {TitleVideoStep::Wait, video.endTime - elapsed};
  }
  if (elapsed < video.nextTime) return {TitleVideoStep::Wait, video.nextTime - elapsed};
  // A slow pass may find several frames due: only the latest of them is shown.
  Surface due;
  do {
    std::swap(due, video.next);
    readAhead(video);
  } while (video.nextReady && video.nextTime <= elapsed);
  screen = std::move(due);
  const uint32_t until = video.nextReady ? video.nextTime : video.endTime;
  return {TitleVideoStep::Frame, until > elapsed ? until - elapsed : 0};
}
