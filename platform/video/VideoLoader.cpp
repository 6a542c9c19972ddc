// Opening a video through the decoder library: found beside the program (a build) or in the installed
// library folder, loaded for each open video and let go with it, so that nothing of FFmpeg stays in memory
// once the title videos have played. Without the library every video is refused, and start-up goes on.
#include <dlfcn.h>

#include "platform/paths.h"
#include "platform/process.h"
#include "platform/video/VideoDecoder.h"

struct VideoReader {
  void* library = nullptr;
  const VideoDecoderEntry* entry = nullptr;
  VideoDecoder* decoder = nullptr;

  ~VideoReader() {
    if (decoder) entry->close(decoder);
    if (library) ::dlclose(library);
  }
};

void VideoReaderClose::operator()(VideoReader* reader) const { delete reader; }

static void* loadDecoderLibrary() {
  const std::string besideProgram = executableFolder();
  for (const std::string& folder :
       {besideProgram, besideProgram + "../" TOLVANE_MODULE_SUBDIR "/", std::string(TOLVANE_MODULE_DIR "/")}) {
    if (void* library = ::dlopen((folder + kVideoDecoderLibrary).c_str(), RTLD_NOW | RTLD_LOCAL)) return library;
  }
  return nullptr;
}

VideoHandle openVideoBytes(std::string bytes) {
  if (bytes.empty() || bytes.size() > kMaxVideoBytes) return nullptr;
  VideoHandle reader(new VideoReader);
  reader->library = loadDecoderLibrary();
  if (!reader->library) return nullptr;
  using EntryPoint = const VideoDecoderEntry* (*)();
  auto entryPoint = reinterpret_cast<EntryPoint>(::dlsym(reader->library, "tolvaneVideoDecoder"));
  reader->entry = entryPoint ? entryPoint() : nullptr;
  if (!reader->entry || reader->entry->version != kVideoDecoderVersion) return nullptr;
  reader->decoder = reader->entry->open(bytes.data(), bytes.size());
  if (!reader->decoder) return nullptr;
  return reader;
}

VideoHandle openVideoFile(const std::string& path) {
  std::string bytes;
  if (!readWholeFile(path, bytes, kMaxVideoBytes)) return nullptr;
  return openVideoBytes(std::move(bytes));
}

VideoRead readVideoFrame(VideoReader& reader, int width, int height, Surface& frame, uint32_t& timeMs) {
  return reader.entry->decode(*reader.decoder, width, height, frame, timeMs);
}
