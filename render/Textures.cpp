// The TextureTable: registering pictures, loading them onto the device, the background picture change,
// and the folders pictures are searched in.
#include "render/Textures.h"

#include "platform/paths.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace {

TextureTable& table(RenderDevice& d) { return d.textures; }
bool deviceDoesTextures(RenderDevice& d) { return d.device != nullptr; }

void splitFolders(const std::string& value, std::vector<std::string>& folders) {
  size_t start = 0;
  while (start <= value.size() && folders.size() < 25) {
    size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    if (end > start) folders.push_back(value.substr(start, end - start));
    start = end + 1;
  }
}

void buildSearchPath(RenderDevice& d) {
  TextureTable& t = table(d);
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

bool fetchHandle(RenderDevice& d, int index) {
  TextureEntry& entry = table(d).entries[index];
  HResult result = createTexture(*d.device, *entry.surface, entry.handle);
  if (failed(result)) {
    entry.handle = 0;
    setRenderError(d, result, "Could not get a handle to loaded texture %i.\n%s", index, resultText(result));
    return false;
  }
  return true;
}

}  // namespace

FILE* openOnSearchPath(RenderDevice& d, const std::string& name, const char* mode) {
  if (FILE* file = openFile(name, mode)) return file;
  buildSearchPath(d);
  for (const std::string& folder : table(d).searchPath)
    if (FILE* file = openFile(folder + "\\" + name, mode)) return file;
  return nullptr;
}

void releaseTexture(RenderDevice& d, int index) {
  if (index < 0 || index >= kMaxTextures) return;
  TextureEntry& entry = table(d).entries[index];
  if (entry.handle && d.device) ::releaseTexture(*d.device, entry.handle);
  entry.handle = 0;
  entry.surface.reset();
}

void releaseAllTextures(RenderDevice& d) {
  for (int i = 0; i < kMaxTextures; ++i) releaseTexture(d, i);
}

bool loadTexture(RenderDevice& d, int index) {
  if (index < 0 || index >= kMaxTextures || !d.device) return false;
  releaseTexture(d, index);
  TextureEntry& entry = table(d).entries[index];
  std::unique_ptr<DisplaySurface> source = loadPictureSurface(d, entry.fileName);
  if (!source) return false;
  std::unique_ptr<DisplaySurface> destination;
  HResult result = createSurface(kSurfaceTexture, source->width(), source->height(), destination);
  if (failed(result)) {
    setRenderError(d, result, "Could not create the destination texture surface.\n%s", resultText(result));
    return false;
  }
  result = surfaceBltFast(*destination, 0, 0, *source, nullptr, kCopyPlain);
  if (failed(result)) {
    setRenderError(d, result, "Could not load a source texture into a destination texture.\n%s", resultText(result));
    return false;
  }
  entry.surface = std::move(destination);
  return true;
}

bool registerTexture(RenderDevice& d, const std::string& name) {
  TextureTable& t = table(d);
  if (t.count >= kMaxTextures) {
    setRenderError(d, kErrorGeneric, "Can only load %i textures.", kMaxTextures);
    return false;
  }
  const int index = t.count;
  t.entries[index].fileName = name;
  if (!deviceDoesTextures(d)) {
    ++t.count;
    return true;
  }
  if (loadTexture(d, index) && fetchHandle(d, index)) {
    ++t.count;
    return true;
  }
  releaseTexture(d, index);
  t.entries[index].fileName.clear();
  return false;
}

bool loadAllTextures(RenderDevice& d) {
  if (!deviceDoesTextures(d)) return true;
  for (int i = 0; i < table(d).count; ++i) {
    if (!loadTexture(d, i) || !fetchHandle(d, i)) {
      releaseAllTextures(d);
      return false;
    }
  }
  return true;
}

bool changeBackgroundPicture(RenderDevice& d, const std::string& name) {
  TextureTable& t = table(d);
  t.entries[0].fileName = name;
  if (t.count == 0) t.count = 1;
  if (deviceDoesTextures(d)) {
    releaseTexture(d, 0);
    if (!loadTexture(d, 0) || !fetchHandle(d, 0)) {
      releaseTexture(d, 0);
      t.entries[0].fileName.clear();
      return false;
    }
  }
  if (!d.renderingOk) return true;
  return setDirtyRects(d, 0, nullptr, FrameArea::WholeWindow) && showBackBuffer(d, FrameArea::WholeWindow);
}

std::vector<TextureHandle> textureHandles(RenderDevice& d) {
  std::vector<TextureHandle> handles;
  for (int i = 0; i < table(d).count; ++i) handles.push_back(table(d).entries[i].handle);
  return handles;
}
