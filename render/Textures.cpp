// The TextureTable: registering pictures, loading them onto the device, reloading after a loss, the
// background picture change, and the folders pictures are searched in.
#include "render/Textures.h"

#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace {

TextureTable& table() { return renderDevice.textures; }
bool deviceDoesTextures() { return renderDevice.driverChosen && renderDevice.driver.textures && renderDevice.device; }

void splitFolders(const std::string& value, std::vector<std::string>& folders) {
  size_t start = 0;
  while (start <= value.size() && folders.size() < 25) {
    size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    if (end > start) folders.push_back(value.substr(start, end - start));
    start = end + 1;
  }
}

void buildSearchPath() {
  TextureTable& t = table();
  if (t.searchPathBuilt) return;
  t.searchPath.clear();
  t.searchPath.push_back(".");
  const std::string environment = environmentValue("D3DPATH");
  if (!environment.empty()) {
    splitFolders(environment, t.searchPath);
  } else {
    RegKey key = regOpenKey(RegRoot::LocalMachine, "Software\\Microsoft\\Direct3D");
    if (key != kNoKey) {
      char value[1024];
      if (regQueryValue(key, "D3D Path", value, sizeof value)) splitFolders(value, t.searchPath);
      regCloseKey(key);
    }
  }
  t.searchPathBuilt = true;
}

bool fetchHandle(int index) {
  TextureEntry& entry = table().entries[index];
  HResult result = createTexture(*renderDevice.device, *entry.surface, entry.handle);
  if (failed(result)) {
    entry.handle = 0;
    setRenderError(result, "Could not get a handle to loaded texture %i.\n%s", index, D3DAppErrorText(result));
    return false;
  }
  return true;
}

}  // namespace

FILE* openOnSearchPath(const std::string& name, const char* mode) {
  if (FILE* file = openFile(name, mode)) return file;
  buildSearchPath();
  for (const std::string& folder : table().searchPath)
    if (FILE* file = openFile(folder + "\\" + name, mode)) return file;
  return nullptr;
}

void releaseTexture(int index) {
  if (index < 0 || index >= D3DAPP_MAXTEXTURES) return;
  TextureEntry& entry = table().entries[index];
  if (entry.handle && renderDevice.device) ::releaseTexture(*renderDevice.device, entry.handle);
  entry.handle = 0;
  entry.surface.reset();
}

void releaseAllTextures() {
  for (int i = 0; i < D3DAPP_MAXTEXTURES; ++i) releaseTexture(i);
}

bool loadTexture(int index) {
  if (index < 0 || index >= D3DAPP_MAXTEXTURES || !renderDevice.device) return false;
  releaseTexture(index);
  TextureEntry& entry = table().entries[index];
  std::unique_ptr<DisplaySurface> source = loadtex(entry.fileName, renderDevice.currentTextureFormat, DDSCAPS_SYSTEMMEMORY);
  if (!source) return false;
  std::unique_ptr<DisplaySurface> destination;
  const uint32_t caps = DDSCAPS_TEXTURE | DDSCAPS_ALLOCONLOAD | (renderDevice.onlySystemMemory ? static_cast<uint32_t>(DDSCAPS_SYSTEMMEMORY) : 0u);
  HResult result = createSurface(caps, source->width(), source->height(), destination);
  if (failed(result)) {
    setRenderError(result, "Could not create the destination texture surface.\n%s", D3DAppErrorText(result));
    return false;
  }
  result = surfaceBltFast(*destination, 0, 0, *source, nullptr, DDBLTFAST_WAIT);
  if (failed(result)) {
    setRenderError(result, "Could not load a source texture into a destination texture.\n%s", D3DAppErrorText(result));
    return false;
  }
  entry.surface = std::move(destination);
  return true;
}

bool reloadTexture(int index) {
  if (index < 0 || index >= D3DAPP_MAXTEXTURES || !renderDevice.device) return false;
  TextureEntry& entry = table().entries[index];
  if (!entry.surface) return loadTexture(index) && fetchHandle(index);
  std::unique_ptr<DisplaySurface> source = loadtex(entry.fileName, renderDevice.currentTextureFormat, DDSCAPS_SYSTEMMEMORY);
  if (!source) return false;
  if (source->width() != entry.surface->width() || source->height() != entry.surface->height()) {
    // The file changed size since it was loaded: load it afresh.
    return loadTexture(index) && fetchHandle(index);
  }
  HResult result = surfaceBltFast(*entry.surface, 0, 0, *source, nullptr, DDBLTFAST_WAIT);
  if (succeeded(result) && entry.handle) result = textureLoad(*renderDevice.device, entry.handle, *entry.surface);
  if (failed(result)) {
    setRenderError(result, "Could not load a source texture into a destination texture.\n%s", D3DAppErrorText(result));
    return false;
  }
  return true;
}

bool registerTexture(const std::string& name) {
  TextureTable& t = table();
  if (t.count >= D3DAPP_MAXTEXTURES) {
    setRenderError(DDERR_GENERIC, "Can only load %i textures.", D3DAPP_MAXTEXTURES);
    return false;
  }
  const int index = t.count;
  t.entries[index].fileName = name;
  if (!deviceDoesTextures()) {
    ++t.count;
    return true;
  }
  if (loadTexture(index) && fetchHandle(index)) {
    ++t.count;
    return true;
  }
  releaseTexture(index);
  t.entries[index].fileName.clear();
  return false;
}

bool loadAllTextures() {
  if (!deviceDoesTextures()) return true;
  for (int i = 0; i < table().count; ++i) {
    if (!loadTexture(i) || !fetchHandle(i)) {
      releaseAllTextures();
      return false;
    }
  }
  return true;
}

bool changeBackgroundPicture(const std::string& name) {
  TextureTable& t = table();
  t.entries[0].fileName = name;
  if (t.count == 0) t.count = 1;
  if (deviceDoesTextures()) {
    releaseTexture(0);
    if (!loadTexture(0) || !fetchHandle(0)) {
      releaseTexture(0);
      t.entries[0].fileName.clear();
      return false;
    }
  }
  if (!renderDevice.bRenderingIsOK) return true;
  return D3DAppSetDirtyRects(0, nullptr, D3DAPP_WHOLEWINDOW) && D3DAppShowBackBuffer(D3DAPP_WHOLEWINDOW);
}

std::vector<TextureHandle> textureHandles() {
  std::vector<TextureHandle> handles;
  for (int i = 0; i < table().count; ++i) handles.push_back(table().entries[i].handle);
  return handles;
}
