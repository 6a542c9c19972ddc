// The TextureTable: registering pictures, loading them onto the device, the background picture change,
// and the folders pictures are searched in.
#include "render/Textures.h"

#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace {

TextureTable& table() { return renderDevice.textures; }
bool deviceDoesTextures() { return renderDevice.device != nullptr; }

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
    setRenderError(result, "Could not get a handle to loaded texture %i.\n%s", index, resultText(result));
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
  if (index < 0 || index >= kMaxTextures) return;
  TextureEntry& entry = table().entries[index];
  if (entry.handle && renderDevice.device) ::releaseTexture(*renderDevice.device, entry.handle);
  entry.handle = 0;
  entry.surface.reset();
}

void releaseAllTextures() {
  for (int i = 0; i < kMaxTextures; ++i) releaseTexture(i);
}

bool loadTexture(int index) {
  if (index < 0 || index >= kMaxTextures || !renderDevice.device) return false;
  releaseTexture(index);
  TextureEntry& entry = table().entries[index];
  std::unique_ptr<DisplaySurface> source = loadPictureSurface(entry.fileName);
  if (!source) return false;
  std::unique_ptr<DisplaySurface> destination;
  HResult result = createSurface(kSurfaceTexture, source->width(), source->height(), destination);
  if (failed(result)) {
    setRenderError(result, "Could not create the destination texture surface.\n%s", resultText(result));
    return false;
  }
  result = surfaceBltFast(*destination, 0, 0, *source, nullptr, kCopyPlain);
  if (failed(result)) {
    setRenderError(result, "Could not load a source texture into a destination texture.\n%s", resultText(result));
    return false;
  }
  entry.surface = std::move(destination);
  return true;
}

bool registerTexture(const std::string& name) {
  TextureTable& t = table();
  if (t.count >= kMaxTextures) {
    setRenderError(kErrorGeneric, "Can only load %i textures.", kMaxTextures);
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
  if (!renderDevice.renderingOk) return true;
  return setDirtyRects(0, nullptr, FrameArea::WholeWindow) && showBackBuffer(FrameArea::WholeWindow);
}

std::vector<TextureHandle> textureHandles() {
  std::vector<TextureHandle> handles;
  for (int i = 0; i < table().count; ++i) handles.push_back(table().entries[i].handle);
  return handles;
}
