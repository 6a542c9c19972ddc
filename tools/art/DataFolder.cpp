// The order in which the generator builds the data folder.
#include "tools/art/DataFolder.h"

#include "tools/art/Catalogue.h"
#include "tools/art/Panels.h"
#include "tools/art/Pictures.h"

OutputList generateDataFolder() {
  OutputList out;
  makePanels(out);
  makeCatalogue(out, designShapes());
  makePictures(out);
  makeBackgrounds(out);
  return out;
}
