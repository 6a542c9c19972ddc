// The title videos at start-up: each plays in the video window, paced by the clock, while the window's
// messages keep flowing so that Escape reaches it.
#include <algorithm>
#include <iterator>

#include "app/Shell.h"

namespace {

// Pumps messages and shows the video's frames until the video window says the video is over.
void runTitleVideo(Program& p) {
  HWindow window = p.shell.VideoWindow;
  Message m;
  // A close asked for meanwhile ends the video too: start-up hurries on to where it can close.
  while (!p.shell.videoFinished && !p.shell.closeRequested) {
    // One message at a time: the one that ends this video leaves the rest for the next.
    if (peekMessage(m)) {
      if (m.msg == Msg::Quit) {
        postQuitMessage(m.code);  // left for the main loop, which ends the program
        closeTitleVideo(p.titleVideo);
        p.shell.videoFinished = 1;
      } else {
        dispatchMessage(m);
      }
      continue;
    }
    if (!isWindow(window)) {
      closeTitleVideo(p.titleVideo);
      p.shell.videoFinished = 1;
      break;
    }
    const TitleVideoTick tick = stepTitleVideo(p.titleVideo, tickCount(), windowSurface(window));
    if (tick.step == TitleVideoStep::Ended) {
      closeTitleVideo(p.titleVideo);
      p.shell.videoFinished = 1;
      break;
    }
    if (tick.step == TitleVideoStep::Frame) windowPixelsChanged(window);
    idleWait(std::max<uint32_t>(1, tick.waitMs));
  }
}

}  // namespace

void playTitleVideos(Program& p) {
  const char* const paths[] = {"./scene/title0.avi", "./scene/title1.avi"};
  for (const char* path : paths) {
    showCursor(false);
    if (openTitleVideo(p.titleVideo, path) && playTitleVideo(p.titleVideo, tickCount())) runTitleVideo(p);
    closeTitleVideo(p.titleVideo);
    // The second video starts afresh; after it the flag stays set, so a late Escape finds nothing to skip.
    if (path == paths[0]) p.shell.videoFinished = 0;
  }
  // The pointer comes back for the rest of start-up: hidden once per video, shown as often again.
  for (size_t shown = 0; shown < std::size(paths); ++shown) showCursor(true);
}
