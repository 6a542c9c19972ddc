// The order in which the generator builds the data folder.
#include "tools/art/DataFolder.h"

#include "tools/art/Panels.h"

OutputList generateDataFolder() {
  OutputList out;
  makePanels(out);
  return out;
}
