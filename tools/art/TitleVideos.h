// The two title videos the program plays at start: the name spelt in bricks that drop into place one by
// one, then the start scene's cottage and garden built block by block while the camera swings round.
#pragma once

#include "tools/art/Output.h"
#include "tools/art/Picture.h"

// Writes scene/title0.avi and scene/title1.avi (the catalogue must be loaded); sky is the background.
void makeTitleVideos(OutputList& out, const Picture& sky);
