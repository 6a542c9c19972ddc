// A file in memory that FFmpeg reads from or writes into through a custom I/O context: reads, writes
// and seeks on a byte string, so no video ever needs a temporary file.
#pragma once

#include <cstdint>
#include <string>

extern "C" {
#include <libavformat/avio.h>
}

struct MemoryFile {
  std::string bytes;
  size_t position = 0;
};

enum class MemoryAccess { Read, Write };

// An I/O context over the file (which must outlive it); null when it cannot be made.
AVIOContext* openMemoryIo(MemoryFile& file, MemoryAccess access);
// Frees the context and its buffer; the pointer is cleared.
void closeMemoryIo(AVIOContext*& io);
