// The order in which the generator builds the data folder.
#include "tools/art/DataFolder.h"

#include "tools/art/BlockScene.h"
#include "tools/art/BlockStrips.h"
#include "tools/art/Catalogue.h"
#include "tools/art/Help.h"
#include "tools/art/Levels.h"
#include "tools/art/Paint.h"
#include "tools/art/Panels.h"
#include "tools/art/Pictures.h"
#include "tools/art/StartScene.h"
#include "tools/art/TitleVideos.h"

OutputList generateDataFolder() {
  OutputList out;
  makePanels(out);
  const std::vector<ShapeDesign> shapes = designShapes();
  makeCatalogue(out, shapes);
  makePictures(out, shapes);
  makeBackgrounds(out);
  // Scenes, levels and block pictures are made of real blocks: the catalogue comes from the meshes above.
  loadGeneratedCatalogue(shapes);
  makeStartScene(out);
  Picture sky;
  if (const OutputFile* file = findOutput(out, "scene/sky.ppm")) decodePpm(file->bytes, sky);
  makeLevels(out, sky);
  makeBlockStrips(out);
  makeTitleVideos(out, sky);
  resetBlockScene();
  std::vector<std::string> levelTitles;
  for (const LevelDesign& level : designLevels()) levelTitles.push_back(level.title);
  makeHelp(out, shapes, levelTitles);
  return out;
}

int runGenerator(const std::vector<std::string>& arguments, std::string& message) {
  if (arguments.size() != 3) {
    message = "usage: make_art <data folder> <regular font> <bold font>";
    return 2;
  }
  // Without the Korean faces every label would come out in a fallback font: refuse instead.
  if (!loadFonts(arguments[1], arguments[2])) {
    message = "make_art: cannot read the fonts " + arguments[1] + " and " + arguments[2];
    return 1;
  }
  OutputList files = generateDataFolder();
  releaseFonts();
  std::string failed;
  if (!writeOutputs(arguments[0], files, failed)) {
    message = "make_art: cannot write " + failed;
    return 1;
  }
  return 0;
}
