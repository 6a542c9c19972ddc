// The order in which the generator builds the data folder.
#include "tools/art/DataFolder.h"

#include "tools/art/Catalogue.h"
#include "tools/art/Help.h"
#include "tools/art/Panels.h"
#include "tools/art/Pictures.h"

OutputList generateDataFolder() {
  OutputList out;
  makePanels(out);
  const std::vector<ShapeDesign> shapes = designShapes();
  makeCatalogue(out, shapes);
  makePictures(out, shapes);
  makeBackgrounds(out);
  makeHelp(out, shapes);
  return out;
}
