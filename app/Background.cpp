// The picture behind the 3D view: the background setter, which the picture chooser and every scene read
// go through, and the path it keeps for the scene files written afterwards.
#include "app/Shell.h"
#include "platform/paths.h"

bool setBackground(Program& p, const std::string& path) {
  // Paths are kept the way scene files hold them, "./image/bimg001.ppm": relative to the data folder
  // behind their first two characters. Anything shorter names no file.
  if (path.size() <= 2) return false;
  const std::string file = joinPath(p.folders.dataRoot, path.substr(2));
  if (!fileExists(file)) return false;
  p.sceneFile.backgroundPath = path;
  // A picture that exists but does not read leaves the view without a picture; the path is still the
  // scene's, so the next start tries it again.
  changeViewBackground(p.renderer, file);
  p.shell.frameRequested = 1;
  return true;
}

void showNamedBackground(Program& p, const std::optional<std::string>& named) {
  if (named && *named != p.sceneFile.backgroundPath) setBackground(p, *named);
}
