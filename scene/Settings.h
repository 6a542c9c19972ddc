// The user's display settings, kept between runs in the settings store (the shell reads and writes them;
// the renderer and the editor read them).
#pragma once

struct DisplaySettings {
  bool autoView = false;         // adjust the view after placing blocks
  bool basicBlocksOnly = false;  // while a button is held in the working windows, draw only basic blocks
  bool hideStuds = false;        // draw no studs
};
